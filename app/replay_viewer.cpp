// Watching a recorded run: the watched game, its pacing and its controls.
#include "app/replay_viewer.hpp"

#include <algorithm>
#include <cstdio>

#include "app/frame_clock.hpp"
#include "data/replay_file.hpp"
#include "game/game.hpp"

namespace nj {
namespace {

constexpr std::uint32_t kShift = 16, kControl = 17, kAlt = 18;
constexpr std::uint32_t kNumpadBase = 0x60;  // the keypad's 0

bool isModifier(std::uint32_t key) {
    return key == kShift || key == kControl || key == kAlt;
}

// The speed a digit key asks for (main row or keypad), 0 for none.
int speedForKey(std::uint32_t key) {
    for (const int speed : kReplaySpeeds) {
        const auto digit = static_cast<std::uint32_t>('0' + speed);
        if (key == digit || key == kNumpadBase + static_cast<std::uint32_t>(speed)) return speed;
    }
    return 0;
}

bool isShownSpeed(int speed) {
    return std::find(std::begin(kReplaySpeeds), std::end(kReplaySpeeds), speed) !=
           std::end(kReplaySpeeds);
}

}  // namespace

double replaySecondsEarned(float realSeconds, int speed, bool paused) {
    if (paused || !(realSeconds > 0.0f)) return 0.0;
    const float real = std::min(realSeconds, kMaxStep);
    return static_cast<double>(real) * (isShownSpeed(speed) ? speed : 1);
}

void ReplayAudio::playCue(int cue) {
    if (enabled_ && real_ && real_->enabled()) real_->playCue(cue);
}

ReplayViewer::ReplayViewer(Game& live, AudioSink* audio) : live_(live), audio_(audio) {}

ReplayViewer::~ReplayViewer() = default;

bool ReplayViewer::watch(const RunRecord& run, const RecordNews& news) {
    watchedRun_ = run;
    watchedNews_ = news;
    return startWatched();
}

bool ReplayViewer::watchLastRun() {
    // Only the run whose end the live game shows: one played on after its
    // recording ended (a code pasted while it waited) has nothing to watch.
    if (!lastRun_ || !endShownLive(*lastRun_)) return false;
    // The live game still shows the end of that run: its news is the run's.
    return watch(*lastRun_, live_.lastRecordNews);
}

bool ReplayViewer::endShownLive(const RunRecord& run) const {
    const RunOutcome shown = live_.gameState == GameState::MissionComplete ? RunOutcome::Won
                             : live_.gameState == GameState::MissionFailed ? RunOutcome::Failed
                                                                           : RunOutcome::Unfinished;
    return run.outcome == shown && run.missionClock == live_.missionClock;
}

bool ReplayViewer::watchFile(const std::string& path) {
    RunRecord run;
    std::string why;
    if (!readReplayFile(path, run, why)) {
        refuse(why);
        return false;
    }
    return watch(run);
}

void ReplayViewer::refuse(const std::string& why) {
    notice_ = "REPLAY REFUSED: " + why;
    std::fprintf(stderr, "nightjar: replay refused: %s\n", why.c_str());
}

// A fresh game at the run's start, holding what the live game holds.
bool ReplayViewer::startWatched() {
    std::string why;
    std::unique_ptr<Game> game = replayGameBeside(live_, &audio_, watchedRun_, why);
    if (!game) {
        refuse(why);
        watching_ = false;
        return false;
    }
    cursor_ = std::make_unique<ReplayCursor>(watchedRun_);
    watched_ = std::move(game);
    watching_ = true;
    paused_ = false;
    ended_ = false;
    banked_ = 0.0;
    notice_.clear();
    return true;
}

void ReplayViewer::tick(float realSeconds) {
    if (!watching_ || ended_ || paused_) return;
    banked_ += replaySecondsEarned(realSeconds, speed_, paused_);
    for (int played = 0; played < kMostReplayStepsAFrame; ++played) {
        const float next = cursor_->nextStep();
        if (!cursor_->finished() && banked_ < next) return;
        const bool advanced = cursor_->advance(*watched_);
        cursor_->playThroughDossier(*watched_);
        // The win screen says what the player's own win said, not what the
        // watched game's empty records would.
        watched_->lastRecordNews = watchedNews_;
        if (!advanced) {
            // The last frame stays up until the player leaves or restarts.
            ended_ = true;
            paused_ = true;
            banked_ = 0.0;
            return;
        }
        banked_ -= next;
    }
    // Earned time the cap left unplayed is dropped, so it never piles up.
    banked_ = std::min(banked_, static_cast<double>(cursor_->nextStep()));
}

void ReplayViewer::togglePause() {
    if (!watching_) return;
    if (ended_) {
        restart();  // unpausing the held last frame plays the run again
        return;
    }
    paused_ = !paused_;
}

void ReplayViewer::setSpeed(int speed) {
    if (isShownSpeed(speed)) speed_ = speed;
}

void ReplayViewer::stepSpeed(int direction) {
    const auto at = std::find(std::begin(kReplaySpeeds), std::end(kReplaySpeeds), speed_);
    const std::ptrdiff_t index = std::clamp<std::ptrdiff_t>(
        (at - std::begin(kReplaySpeeds)) + direction, 0, std::size(kReplaySpeeds) - 1);
    speed_ = kReplaySpeeds[index];
}

void ReplayViewer::restart() {
    if (watching_) startWatched();
}

void ReplayViewer::leave() {
    watching_ = false;
    paused_ = false;
    ended_ = false;
}

void ReplayViewer::request(ReplayRequest request, double argument) {
    switch (request) {
        case ReplayRequest::Watch:
            if (!watching_) watchLastRun();
            break;
        case ReplayRequest::TogglePause:
            togglePause();
            break;
        case ReplayRequest::Speed:
            setSpeed(argument >= 1.0 && argument <= 4.0 ? static_cast<int>(argument) : 0);
            break;
        case ReplayRequest::Restart:
            restart();
            break;
        case ReplayRequest::Leave:
            leave();
            break;
    }
}

bool ReplayViewer::takeKeyDown(std::uint32_t key) {
    if (!watching_) {
        // A notice is read by then: any key puts it away, and still acts.
        notice_.clear();
        const bool endScreen = live_.gameState == GameState::MissionComplete ||
                               live_.gameState == GameState::MissionFailed;
        return key == kWatchReplayKey && endScreen && watchLastRun();
    }
    if (const int speed = speedForKey(key)) {
        setSpeed(speed);
    } else if (key == vk::kSpace || key == vk::kP || key == vk::kUp || key == vk::kDown) {
        togglePause();
    } else if (key == vk::kLeft || key == vk::kRight) {
        stepSpeed(key == vk::kLeft ? -1 : 1);
    } else if (key == vk::kR) {
        restart();
    } else if (!isModifier(key)) {
        leave();  // held alone, a modifier is the start of a shortcut, not a press
    }
    return true;
}

std::optional<ReplayPageState> ReplayViewer::pageState() const {
    if (!watching_ && notice_.empty()) return std::nullopt;
    ReplayPageState state;
    state.watching = watching_;
    state.paused = paused_;
    state.ended = ended_;
    state.speed = speed_;
    state.clock = watching_ ? clockText(watched_->missionClock) : "";
    state.notice = notice_;
    state.playerOptions = live_.options;
    return state;
}

}  // namespace nj
