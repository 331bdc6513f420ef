// The player's options: stepping, rebinding, applying and keeping them.
#include "game/player_options.hpp"

#include <algorithm>
#include <cstdio>

#include "data/player_files.hpp"
#include "game/game.hpp"

namespace nj {
namespace {

int stepInRange(int value, int direction, int step, int lowest, int highest) {
    return std::clamp(value + direction * step, lowest, highest);
}

// The next of three choices up or down, stopping at the ends.
int stepChoice(int value, int direction, const std::array<int, 3>& choices) {
    const auto at = std::find(choices.begin(), choices.end(), value);
    const int index = at == choices.end() ? 0 : static_cast<int>(at - choices.begin());
    return choices[static_cast<std::size_t>(std::clamp(index + direction, 0, 2))];
}

}  // namespace

PlayerOptions::PlayerOptions(std::string path) : path_(std::move(path)) {}

void PlayerOptions::load() {
    if (path_.empty()) return;
    const SettingsLoad load = readSettingsFile(path_);
    settings_ = load.settings;
    damaged_ = load.damaged;
    loadProblem_ = load.problem;
    if (!loadProblem_.empty()) std::fprintf(stderr, "nightjar: %s\n", loadProblem_.c_str());
}

void PlayerOptions::applyTo(Game& game) const {
    game.assists.slowDetection = settings_.assistSlowDetection;
    game.assists.softStep = settings_.assistSoftStep;
    game.assists.safe = settings_.assistSafe;
    game.assists.toggleSneak = settings_.toggleSneak;
    game.assists.speedPercent = static_cast<std::uint32_t>(settings_.gameSpeed);
}

void PlayerOptions::step(OptionRow row, int direction) {
    Settings& s = settings_;
    const int d = direction < 0 ? -1 : 1;
    switch (row) {
        case OptionRow::Volume:
            s.volume = stepInRange(s.volume, d, kVolumeStep, 0, 100);
            break;
        case OptionRow::FullScreen:
            s.fullScreen = !s.fullScreen;
            break;
        case OptionRow::PauseOnFocusLoss:
            s.pauseOnFocusLoss = !s.pauseOnFocusLoss;
            break;
        case OptionRow::Rumble:
            s.rumble = !s.rumble;
            break;
        case OptionRow::RumbleStrength:
            s.rumbleStrength = stepInRange(s.rumbleStrength, d, kRumbleStep, 0, 100);
            break;
        case OptionRow::StickDeadZone:
            s.stickDeadZone =
                stepInRange(s.stickDeadZone, d, kDeadZoneStep, kDeadZoneMin, kDeadZoneMax);
            break;
        case OptionRow::TextSize:
            s.textSize = stepChoice(s.textSize, d, kTextSizes);
            break;
        case OptionRow::SneakMode:
            s.toggleSneak = !s.toggleSneak;
            break;
        case OptionRow::AssistSlowDetection:
            s.assistSlowDetection = !s.assistSlowDetection;
            break;
        case OptionRow::AssistSoftStep:
            s.assistSoftStep = !s.assistSoftStep;
            break;
        case OptionRow::AssistSafe:
            s.assistSafe = !s.assistSafe;
            break;
        case OptionRow::GameSpeed:
            // Up the list is slower: the rows read 100, 85, 70.
            s.gameSpeed = stepChoice(s.gameSpeed, d, kGameSpeeds);
            break;
        case OptionRow::ColourGlyphs:
            s.colourGlyphs = !s.colourGlyphs;
            break;
        case OptionRow::HighContrastCones:
            s.highContrastCones = !s.highContrastCones;
            break;
        case OptionRow::ReducedFlashing:
            s.reducedFlashing = !s.reducedFlashing;
            break;
        case OptionRow::Ghost:
            s.ghost = !s.ghost;
            break;
        case OptionRow::Count:
            return;
    }
    changed();
}

void PlayerOptions::setVolume(double percent) {
    const int volume = clampVolume(percent);
    if (volume == settings_.volume) return;
    settings_.volume = volume;
    changed();
}

void PlayerOptions::setFullScreen(bool on) {
    if (on == settings_.fullScreen) return;
    settings_.fullScreen = on;
    changed();
}

void PlayerOptions::setMuted(bool on) {
    if (on == settings_.muted) return;
    settings_.muted = on;
    changed();
}

void PlayerOptions::setWindow(const WindowPlacement& placement) {
    if (!placement.known() || placement == settings_.window) return;
    settings_.window = placement;
    windowMoved_ = true;
}

void PlayerOptions::keepWindowPlacement() {
    if (!windowMoved_) return;
    windowMoved_ = false;
    save();
}

void PlayerOptions::resetBindings() {
    const Settings defaults;
    settings_.keys = defaults.keys;
    settings_.padButtons = defaults.padButtons;
    listening_ = kNotListening;
    message_ = "CONTROLS RESET TO DEFAULTS";
    changed();
}

bool PlayerOptions::offerKey(int scancode) {
    if (listening_ == kNotListening) return false;
    if (scancode == scan::kEscape) {
        listening_ = kNotListening;
        message_ = "NOTHING CHANGED";
        return true;
    }
    if (listening_ >= static_cast<int>(kBoundActionCount)) return false;
    const RebindOutcome outcome =
        rebindKey(settings_.keys, static_cast<BoundAction>(listening_), scancode, keyName);
    message_ = outcome.message;
    if (outcome.kind == RebindOutcome::Kind::Refused) return true;  // still listening
    listening_ = kNotListening;
    if (outcome.kind != RebindOutcome::Kind::Unchanged) changed();
    return true;
}

bool PlayerOptions::offerPadButton(int button) {
    const int role = listening_ - kListenPadBase;
    if (role < 0 || role >= static_cast<int>(kPadRoleCount)) return false;
    const RebindOutcome outcome =
        rebindPadButton(settings_.padButtons, static_cast<PadRole>(role), button);
    message_ = outcome.message;
    if (outcome.kind == RebindOutcome::Kind::Refused) return true;
    listening_ = kNotListening;
    if (outcome.kind != RebindOutcome::Kind::Unchanged) changed();
    return true;
}

void PlayerOptions::changed() {
    windowMoved_ = false;  // written with the rest
    save();
    if (onChange) onChange(settings_);
}

bool PlayerOptions::save() {
    if (path_.empty() || !writable_) return false;
    // The player's damaged file is kept for them, once, beside the new one.
    if (damaged_) {
        std::rename(path_.c_str(), (path_ + ".bad").c_str());
        damaged_ = false;
    }
    return writePlayerFile(path_, formatSettingsText(settings_));
}

}  // namespace nj
