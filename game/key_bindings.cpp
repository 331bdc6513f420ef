// Physical key positions to the game's key codes, rebinding and key names.
#include "game/key_bindings.hpp"

#include <algorithm>

#include "game/game.hpp"

namespace nj {
namespace {

constexpr std::array<std::uint32_t, kBoundActionCount> kActionCodes{
    vk::kW, vk::kS,   vk::kA, vk::kD,  vk::kShift, vk::kE,  vk::kSpace,
    vk::kP, vk::kTab, vk::kR, vk::kF1, vk::kF2,    vk::kF3, vk::kF4};

constexpr std::array<const char*, kBoundActionCount> kActionLabels{
    "MOVE UP", "MOVE DOWN", "MOVE LEFT", "MOVE RIGHT", "SNEAK",      "INTERACT",   "TAKEDOWN",
    "PAUSE",   "DOSSIER",   "RETRY",     "APPROACH 1", "APPROACH 2", "APPROACH 3", "APPROACH 4"};

constexpr std::array<const char*, kPadRoleCount> kPadRoleLabels{
    "INTERACT / CONFIRM", "BACK OUT", "TAKEDOWN / OPTIONS", "RETRY", "DOSSIER", "PAUSE"};

struct NamedKey {
    int position;
    const char* name;
};
// Keys past the letters, digits and function keys, as a US board prints them.
constexpr NamedKey kNamedKeys[] = {
    {40, "ENTER"},
    {41, "ESC"},
    {42, "BACKSPACE"},
    {43, "TAB"},
    {44, "SPACE"},
    {45, "-"},
    {46, "="},
    {47, "["},
    {48, "]"},
    {49, "\\"},
    {50, "#"},
    {51, ";"},
    {52, "'"},
    {53, "`"},
    {54, ","},
    {55, "."},
    {56, "/"},
    {57, "CAPS LOCK"},
    {70, "PRINT SCREEN"},
    {71, "SCROLL LOCK"},
    {72, "PAUSE"},
    {73, "INSERT"},
    {74, "HOME"},
    {75, "PAGE UP"},
    {76, "DELETE"},
    {77, "END"},
    {78, "PAGE DOWN"},
    {79, "RIGHT"},
    {80, "LEFT"},
    {81, "DOWN"},
    {82, "UP"},
    {83, "NUM LOCK"},
    {84, "KEYPAD /"},
    {85, "KEYPAD *"},
    {86, "KEYPAD -"},
    {87, "KEYPAD +"},
    {88, "KEYPAD ENTER"},
    {98, "KEYPAD 0"},
    {99, "KEYPAD ."},
    {100, "\\"},
    {101, "MENU"},
    // Either side's modifier plays the same part: they share a name.
    {224, "CTRL"},
    {225, "SHIFT"},
    {226, "ALT"},
    {227, "GUI"},
    {228, "CTRL"},
    {229, "SHIFT"},
    {230, "ALT"},
    {231, "GUI"},
};

std::size_t indexOf(BoundAction action) {
    return static_cast<std::size_t>(action);
}

}  // namespace

std::uint32_t actionKeyCode(BoundAction action) {
    return indexOf(action) < kBoundActionCount ? kActionCodes[indexOf(action)] : 0;
}

bool isActionKeyCode(std::uint32_t code) {
    return std::find(kActionCodes.begin(), kActionCodes.end(), code) != kActionCodes.end();
}

int sharedPosition(int scancode) {
    switch (scancode) {
        case scan::kRightCtrl:
            return scan::kLeftCtrl;
        case scan::kRightShift:
            return scan::kLeftShift;
        case scan::kRightAlt:
            return scan::kLeftAlt;
        case scan::kRightGui:
            return scan::kLeftGui;
        default:
            return scancode;
    }
}

bool isReservedKey(int scancode) {
    switch (sharedPosition(scancode)) {
        case scan::kReturn:
        case scan::kKeypadEnter:
        case scan::kEscape:
        case scan::kO:
        case scan::kF10:
        case scan::kF11:
        case scan::kLeft:
        case scan::kRight:
        case scan::kUp:
        case scan::kDown:
        case scan::kLeftAlt:
        case scan::kLeftGui:
            return true;
        default:
            return scancode < 4 || scancode > kMaxScancode;
    }
}

std::uint32_t boundKeyCode(const KeyPositions& keys, int scancode, std::uint32_t layoutCode) {
    // A key whose position nobody knows (a made-up event) is taken at its label.
    if (scancode <= 0) return layoutCode;
    const int position = sharedPosition(scancode);
    for (std::size_t i = 0; i < kBoundActionCount; ++i) {
        if (keys[i] == position) return kActionCodes[i];
    }
    return isActionKeyCode(layoutCode) ? 0 : layoutCode;
}

std::string keyPositionName(int scancode) {
    if (scancode >= scan::kA && scancode <= scan::kZ)
        return std::string(1, static_cast<char>('A' + (scancode - scan::kA)));
    if (scancode >= scan::k1 && scancode < scan::k0)
        return std::string(1, static_cast<char>('1' + (scancode - scan::k1)));
    if (scancode == scan::k0) return "0";
    if (scancode >= scan::kF1 && scancode <= scan::kF12)
        return "F" + std::to_string(scancode - scan::kF1 + 1);
    if (scancode >= 89 && scancode <= 97) return "KEYPAD " + std::to_string(scancode - 88);
    for (const NamedKey& k : kNamedKeys) {
        if (k.position == scancode) return k.name;
    }
    return "KEY " + std::to_string(scancode);
}

RebindOutcome rebindKey(KeyPositions& keys, BoundAction action, int scancode,
                        std::string (*name)(int)) {
    using Kind = RebindOutcome::Kind;
    const std::size_t i = indexOf(action);
    if (i >= kBoundActionCount) return {Kind::Refused, "NO SUCH ACTION"};
    const int position = sharedPosition(scancode);
    if (isReservedKey(position)) {
        return {Kind::Refused, name(scancode) + " IS KEPT FOR THE GAME: CHOOSE ANOTHER KEY"};
    }
    if (keys[i] == position) return {Kind::Unchanged, kActionLabels[i] + std::string(" UNCHANGED")};
    const auto holder = std::find(keys.begin(), keys.end(), position);
    if (holder == keys.end()) {
        keys[i] = position;
        return {Kind::Bound, std::string(kActionLabels[i]) + " ON " + name(position)};
    }
    const auto other = static_cast<std::size_t>(holder - keys.begin());
    *holder = keys[i];
    keys[i] = position;
    return {Kind::Swapped, std::string(kActionLabels[i]) + " ON " + name(position) + ", " +
                               kActionLabels[other] + " MOVED TO " + name(keys[other])};
}

RebindOutcome rebindPadButton(PadAssignment& pad, PadRole role, int button) {
    using Kind = RebindOutcome::Kind;
    const auto i = static_cast<std::size_t>(role);
    if (i >= kPadRoleCount || button < 0 || button >= static_cast<int>(kPadRoleCount)) {
        return {Kind::Refused, "THAT BUTTON CANNOT BE BOUND"};
    }
    if (pad[i] == button) return {Kind::Unchanged, kPadRoleLabels[i] + std::string(" UNCHANGED")};
    const auto holder = std::find(pad.begin(), pad.end(), button);
    if (holder == pad.end()) {
        pad[i] = button;
        return {Kind::Bound, std::string(kPadRoleLabels[i]) + " ON " + padButtonLabel(button)};
    }
    const auto other = static_cast<std::size_t>(holder - pad.begin());
    *holder = pad[i];
    pad[i] = button;
    return {Kind::Swapped, std::string(kPadRoleLabels[i]) + " ON " + padButtonLabel(button) + ", " +
                               kPadRoleLabels[other] + " MOVED TO " + padButtonLabel(pad[other])};
}

const char* actionLabel(BoundAction action) {
    return indexOf(action) < kBoundActionCount ? kActionLabels[indexOf(action)] : "";
}

const char* padRoleLabel(PadRole role) {
    const auto i = static_cast<std::size_t>(role);
    return i < kPadRoleCount ? kPadRoleLabels[i] : "";
}

}  // namespace nj
