// Controller input turned into the keyboard's key commands.
#include "app/gamepad_mapping.hpp"

#include <algorithm>
#include <cmath>

#include "game/game.hpp"

namespace nj {
namespace {

// sin(22.5°): a tilt within 22.5° of an axis moves along that axis only;
// between two axes it moves diagonally.
constexpr float kEightWaySlice = 0.38268343f;
// The page's keys for a custom operation's mission code.
constexpr std::uint32_t kPasteCodeKey = 'V', kCopyCodeKey = 'C';

// F1..F4 for the approach one step up (-1) or down (+1) the dossier's list, wrapping.
std::uint32_t approachKey(std::uint32_t approach, int step) {
    const int current = static_cast<int>(approach % kApproachCount);
    const int count = static_cast<int>(kApproachCount);
    return vk::kF1 + static_cast<std::uint32_t>((current + step + count) % count);
}

// The dossier's requisition list: the d-pad chooses, A buys, B or X closes it.
std::uint32_t requisitionKey(PadButton button) {
    switch (button) {
        case PadButton::A:
        case PadButton::Start:
            return vk::kEnter;
        case PadButton::B:
        case PadButton::X:
            return vk::kQ;
        case PadButton::DpadUp:
            return vk::kUp;
        case PadButton::DpadDown:
            return vk::kDown;
        case PadButton::Back:
            return vk::kTab;
        default:
            return 0;
    }
}

}  // namespace

StickKeys stickKeys(float x, float y, float deadZone) {
    StickKeys keys;
    if (!std::isfinite(x) || !std::isfinite(y)) return keys;
    const float tilt = std::hypot(x, y);
    if (tilt < deadZone) return keys;
    const float nx = x / tilt, ny = y / tilt;
    keys.right = nx > kEightWaySlice;
    keys.left = nx < -kEightWaySlice;
    keys.down = ny > kEightWaySlice;
    keys.up = ny < -kEightWaySlice;
    keys.sneak = tilt < kStickSneakLimit;
    return keys;
}

PadButton roleButton(PadButton physical, const std::array<int, 6>& assignment) {
    const auto index = static_cast<int>(physical);
    if (index >= static_cast<int>(assignment.size())) return physical;
    for (std::size_t role = 0; role < assignment.size(); ++role) {
        if (assignment[role] == index) return static_cast<PadButton>(role);
    }
    return physical;
}

namespace {

std::uint32_t optionsKeyFor(PadButton button) {
    switch (button) {
        case PadButton::A:
            return vk::kEnter;
        case PadButton::B:
        case PadButton::Start:
            return vk::kEsc;
        case PadButton::DpadUp:
            return vk::kUp;
        case PadButton::DpadDown:
            return vk::kDown;
        case PadButton::DpadLeft:
            return vk::kLeft;
        case PadButton::DpadRight:
            return vk::kRight;
        default:
            return 0;
    }
}

}  // namespace

std::uint32_t GamepadMapper::keyFor(PadButton button, const PadContext& context) const {
    const PadScreen screen = context.screen;
    if (screen == PadScreen::Options) return optionsKeyFor(button);
    if (screen == PadScreen::Requisition) return requisitionKey(button);
    const bool dossier = screen == PadScreen::Dossier;
    const bool inPlay = screen == PadScreen::Playing || screen == PadScreen::Safe;
    switch (button) {
        case PadButton::A:
            if (inPlay) return vk::kE;  // in the safe, E taps
            return screen == PadScreen::Paused ? vk::kP : vk::kEnter;
        // On the dossier X opens the requisition list (Q); with a custom
        // operation chosen it pastes a mission code instead, as V does. On
        // the pause screen it opens the options (O).
        case PadButton::X:
            if (dossier) return context.customOperation ? kPasteCodeKey : vk::kQ;
            if (inPlay) return vk::kSpace;
            if (screen == PadScreen::Ended) return kWatchReplayKey;
            return screen == PadScreen::Paused ? vk::kO : 0;
        // Esc on the dossier would quit the game: B does nothing there.
        case PadButton::B:
            return dossier || screen == PadScreen::Ended ? 0 : vk::kEsc;
        // On the dossier, Start (Menu) opens the options screen; A begins.
        case PadButton::Start:
            if (dossier) return vk::kO;
            if (screen == PadScreen::Ended) return vk::kEnter;
            return screen == PadScreen::Safe ? 0 : vk::kP;
        // On the failure screen, back to the operation's file (Tab).
        case PadButton::Back:
            return screen == PadScreen::Safe ? 0 : vk::kTab;
        case PadButton::LeftShoulder:
            return dossier ? vk::kLeft : 0;
        case PadButton::RightShoulder:
            return dossier ? vk::kRight : 0;
        case PadButton::DpadUp:
            return dossier ? approachKey(context.approach, -1) : vk::kUp;
        case PadButton::DpadDown:
            return dossier ? approachKey(context.approach, +1) : vk::kDown;
        case PadButton::DpadLeft:
            return vk::kLeft;
        case PadButton::DpadRight:
            return vk::kRight;
        // Retry, from the pause menu or an end screen only: in play a stray
        // press would throw the mission away.
        // On the dossier, NEW CAMPAIGN (N): it asks first, and Y again starts
        // it; with a custom operation chosen, Y copies its code (C).
        case PadButton::Y:
            if (dossier) return context.customOperation ? kCopyCodeKey : vk::kN;
            return screen == PadScreen::Paused || screen == PadScreen::Ended ? vk::kR : 0;
        case PadButton::Count:
            break;
    }
    return 0;
}

void GamepadMapper::button(PadButton button, bool down, const PadContext& context) {
    const auto index = static_cast<std::size_t>(button);
    if (index >= pressedKey_.size()) return;
    if (down) {
        if (pressedKey_[index] != 0) return;  // already down
        const std::uint32_t key = keyFor(button, context);
        if (key == 0) return;
        pressedKey_[index] = key;
        hold(key, buttonSource(button), true);
    } else {
        // The key this press gave, even if the screen has changed since
        // (A begins a mission: its release is Enter's, not E's).
        const std::uint32_t key = pressedKey_[index];
        pressedKey_[index] = 0;
        if (key != 0) hold(key, buttonSource(button), false);
    }
}

void GamepadMapper::axis(PadAxis axis, float value) {
    const auto index = static_cast<std::size_t>(axis);
    if (index >= axes_.size()) return;
    axes_[index] = std::isfinite(value) ? std::clamp(value, -1.0f, 1.0f) : 0.0f;
    if (axis == PadAxis::LeftX || axis == PadAxis::LeftY) {
        updateStick();
    } else {
        const float pulled = std::max(axes_[static_cast<std::size_t>(PadAxis::LeftTrigger)],
                                      axes_[static_cast<std::size_t>(PadAxis::RightTrigger)]);
        hold(vk::kShift, kTrigger, pulled > kTriggerPressed);
    }
}

void GamepadMapper::setDeadZone(float deadZone) {
    deadZone_ = std::isfinite(deadZone) ? std::clamp(deadZone, 0.0f, 1.0f) : kStickDeadZone;
    updateStick();
}

void GamepadMapper::setStickSneaks(bool on) {
    stickSneaks_ = on;
    updateStick();
}

void GamepadMapper::updateStick() {
    const StickKeys keys = stickKeys(axes_[static_cast<std::size_t>(PadAxis::LeftX)],
                                     axes_[static_cast<std::size_t>(PadAxis::LeftY)], deadZone_);
    hold(vk::kW, kStick, keys.up);
    hold(vk::kS, kStick, keys.down);
    hold(vk::kA, kStick, keys.left);
    hold(vk::kD, kStick, keys.right);
    hold(vk::kShift, kStickSneak, stickSneaks_ && keys.sneak && keys.any());
}

void GamepadMapper::releaseAll() {
    axes_.fill(0.0f);
    pressedKey_.fill(0);
    for (std::uint32_t key = 0; key < kKeyCount; ++key) {
        if (holders_[key] == 0) continue;
        holders_[key] = 0;
        if (sink_) sink_(key, false);
    }
}

bool GamepadMapper::holds(std::uint32_t key) const {
    return key < kKeyCount && holders_[key] != 0;
}

void GamepadMapper::hold(std::uint32_t key, std::uint32_t source, bool on) {
    if (key >= kKeyCount) return;
    std::uint32_t& sources = holders_[key];
    const bool wasHeld = sources != 0;
    sources = on ? (sources | source) : (sources & ~source);
    const bool isHeld = sources != 0;
    if (wasHeld != isHeld && sink_) sink_(key, isHeld);
}

}  // namespace nj
