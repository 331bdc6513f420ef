#pragma once
// A game controller as the keyboard: every stick, pad and button becomes the
// key commands a keyboard player would give, so the rules never know which
// device was used and every replayed run stays exact. No SDL here: the shell
// feeds in buttons and normalised axis values, and gets key downs and ups.
//
// Conventions of the genre: left stick and d-pad move (a small tilt sneaks, a
// full one runs), A interacts, X takes down, B backs out, Start pauses,
// Back/View opens the dossier, a held trigger sneaks, Y retries from the pause
// menu or an end screen, X there watches the run again. On the dossier the
// shoulders browse operations, the d-pad's up/down chooses the approach, A
// begins and Start opens the options. Nothing on the pad quits the game.

#include <array>
#include <cstdint>
#include <functional>

namespace nj {

// On the win and failure screens this key watches the run that just ended
// (the shell's replay viewer takes it); X presses it there.
inline constexpr std::uint32_t kWatchReplayKey = 'V';

enum class PadButton : std::uint8_t {
    A,
    B,
    X,
    Y,
    Back,
    Start,
    LeftShoulder,
    RightShoulder,
    DpadUp,
    DpadDown,
    DpadLeft,
    DpadRight,
    Count
};

enum class PadAxis : std::uint8_t { LeftX, LeftY, LeftTrigger, RightTrigger, Count };

// What the pad's buttons mean depends on where the player is. On the options
// screen the d-pad walks and changes the rows (the arrow keys), A confirms,
// B or Start leaves; Start opens that screen from the dossier, X from the
// pause screen.
enum class PadScreen : std::uint8_t { Dossier, Playing, Paused, Safe, Ended, Requisition, Options };

struct PadContext {
    PadScreen screen = PadScreen::Dossier;
    std::uint32_t approach = 0;    // the approach chosen now, 0..3
    bool customOperation = false;  // the dossier shows one of the player's own missions
};

// A resting stick reads a little off centre: tilts inside this radius are none.
inline constexpr float kStickDeadZone = 0.24f;
// Tilts up to this radius sneak; beyond it the operative walks at full pace.
inline constexpr float kStickSneakLimit = 0.65f;
// A trigger pulled past this point holds sneak.
inline constexpr float kTriggerPressed = 0.5f;

// Which movement keys a stick position holds.
struct StickKeys {
    bool up = false, down = false, left = false, right = false, sneak = false;
    bool any() const { return up || down || left || right; }
};
// x, y in -1..1 (y grows downwards, as on the pad). Eight directions; tilts
// inside `deadZone` are none (a dead zone past the sneak limit walks at once).
StickKeys stickKeys(float x, float y, float deadZone = kStickDeadZone);

// The button a physical press stands for, with the player's pad bindings:
// `assignment[role]` is the physical button (A, B, X, Y, Back, Start as 0..5)
// that plays that role. Buttons past Start are never rebound.
PadButton roleButton(PadButton physical, const std::array<int, 6>& assignment);

class GamepadMapper {
  public:
    using KeySink = std::function<void(std::uint32_t key, bool down)>;
    explicit GamepadMapper(KeySink sink) : sink_(std::move(sink)) {}

    void button(PadButton button, bool down, const PadContext& context);
    // Sticks -1..1, triggers 0..1.
    void axis(PadAxis axis, float value);
    // Lets go of everything the pad holds (unplugged, or focus lost).
    void releaseAll();
    // The stick's dead zone, 0..1 of a full tilt.
    void setDeadZone(float deadZone);
    // Whether a small tilt sneaks. Off when the sneak key toggles: a tilt
    // is held and let go all the time, and would switch sneaking each time.
    void setStickSneaks(bool on);
    float deadZone() const { return deadZone_; }

    bool holds(std::uint32_t key) const;

  private:
    // Each key is held by a set of sources, so that the stick and the d-pad
    // (or a trigger and a small tilt) can hold the same key without one
    // letting go of the other's.
    enum Source : std::uint32_t {
        kStick = 1u << 0,
        kStickSneak = 1u << 1,
        kTrigger = 1u << 2,
        kButtonBase = 1u << 3,  // one bit per PadButton from here
    };
    static std::uint32_t buttonSource(PadButton button) {
        return kButtonBase << static_cast<unsigned>(button);
    }
    void hold(std::uint32_t key, std::uint32_t source, bool on);
    void updateStick();
    std::uint32_t keyFor(PadButton button, const PadContext& context) const;

    KeySink sink_;
    static constexpr std::size_t kKeyCount = 256;
    std::array<std::uint32_t, kKeyCount> holders_{};  // virtual-key code -> sources
    std::array<std::uint32_t, static_cast<std::size_t>(PadButton::Count)> pressedKey_{};
    std::array<float, static_cast<std::size_t>(PadAxis::Count)> axes_{};
    float deadZone_ = kStickDeadZone;
    bool stickSneaks_ = true;
};

}  // namespace nj
