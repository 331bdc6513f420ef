#pragma once
// Which physical key gives which of the game's key commands. Keys are named
// by position (USB usage ids, the numbers SDL calls scancodes), so the
// default movement cluster sits under the left hand on AZERTY and QWERTZ
// boards as on QWERTY; what comes out is always the key code the rules know
// (W = 87, Shift = 16, ...), so rules, replays and every playthrough see the
// same numbers whatever the player bound.

#include <array>
#include <cstdint>
#include <string>

#include "data/settings_file.hpp"

namespace nj {

using KeyPositions = std::array<int, kBoundActionCount>;
using PadAssignment = std::array<int, kPadRoleCount>;

// USB usage ids the shell and the bindings share.
namespace scan {
inline constexpr int kA = 4, kO = 18, kZ = 29, k1 = 30, k0 = 39;
inline constexpr int kReturn = 40, kEscape = 41, kTab = 43, kSpace = 44;
inline constexpr int kF1 = 58, kF10 = 67, kF11 = 68, kF12 = 69;
inline constexpr int kRight = 79, kLeft = 80, kDown = 81, kUp = 82;
inline constexpr int kKeypadEnter = 88;
inline constexpr int kLeftCtrl = 224, kLeftShift = 225, kLeftAlt = 226, kLeftGui = 227;
inline constexpr int kRightCtrl = 228, kRightShift = 229, kRightAlt = 230, kRightGui = 231;
}  // namespace scan

// The key code the rules know the action by.
std::uint32_t actionKeyCode(BoundAction action);
// True when `code` is one of those: a key whose label is an action's default
// letter gives nothing unless it is bound, so a moved action is never doubled.
bool isActionKeyCode(std::uint32_t code);

// A right-hand modifier is its left twin: a bound Shift works from both sides.
int sharedPosition(int scancode);
// Keys the game keeps for itself: Esc (back), Enter (confirm), the arrows
// (the fixed way to move and to walk the menus), O (the options screen, so it
// can always be found again), F10, F11 (full screen), Alt and the system keys.
bool isReservedKey(int scancode);

// The key code a press at `scancode` gives. `layoutCode` is the code the key's
// label has on the player's layout (what the game used before bindings); it
// is used for keys no action is bound to, and for a key of no known position
// (scancode 0: an event made up by a script, say).
std::uint32_t boundKeyCode(const KeyPositions& keys, int scancode, std::uint32_t layoutCode);

// The key at a position as a US board prints it ("W", "LEFT SHIFT", "F1").
std::string keyPositionName(int scancode);

struct RebindOutcome {
    enum class Kind { Bound, Swapped, Unchanged, Refused };
    Kind kind = Kind::Unchanged;
    std::string message;  // what the options screen tells the player
};

// Puts `action` on `scancode`. A key another action holds is swapped with it
// (that action takes this one's old key); a reserved key is refused. Keys are
// named through `name` in the message.
RebindOutcome rebindKey(KeyPositions& keys, BoundAction action, int scancode,
                        std::string (*name)(int) = keyPositionName);
// Puts the pad role on `button` (0..5), swapping with the role that had it.
RebindOutcome rebindPadButton(PadAssignment& pad, PadRole role, int button);

// Upper-case names the options screen shows for actions and pad roles.
const char* actionLabel(BoundAction action);
const char* padRoleLabel(PadRole role);

}  // namespace nj
