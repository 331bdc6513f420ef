#pragma once
// Watching a recorded run again in the game. The run plays in a game of its
// own (the watched game), built like the live one (the same campaign and
// custom operations) and fed the recorded updates at the wall clock's pace
// times the chosen speed. The live game is left exactly where it was: its
// progress, save and records never see the watched run.
//
// While watching, keys come here before the page and the game: Space or P
// pauses, 1 / 2 / 4 (or Left / Right) set the speed, R restarts, Up / Down
// pause too (the pad's d-pad), and any other key leaves for where the player
// was. At the end of the run the last frame is held, paused.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/gamepad_mapping.hpp"
#include "app/input_router.hpp"
#include "core/links.hpp"
#include "data/records_file.hpp"
#include "data/run_record.hpp"
#include "game/replay.hpp"
#include "ui/page_command_table.hpp"
#include "ui/page_state.hpp"

namespace nj {

class Game;

inline constexpr int kReplaySpeeds[] = {1, 2, 4};
// A frame plays at most this many recorded updates, so a record of many tiny
// steps costs a frame no more than a few milliseconds.
inline constexpr int kMostReplayStepsAFrame = 64;

// Recorded seconds a frame of `realSeconds` earns at `speed`: none while
// paused, and a stall earns no more than the frame clock lets a live frame
// advance (kMaxStep), times the speed.
double replaySecondsEarned(float realSeconds, int speed, bool paused);

// The watched game's sound: its cues reach the real engine while both are
// on; its own switch (a recorded "audio off", say) never touches the player's.
class ReplayAudio final : public AudioSink {
  public:
    explicit ReplayAudio(AudioSink* real) : real_(real) {}
    void playCue(int cue) override;
    bool enabled() const override { return enabled_; }
    void setEnabled(bool on) override { enabled_ = on; }

  private:
    AudioSink* real_;  // not owned; may be null
    bool enabled_ = true;
};

class ReplayViewer final : public KeyTaker {
  public:
    // `live` is the player's game: where the watched one takes its missions
    // from, and what the player returns to. `audio` (may be null) plays the
    // watched game's cues.
    ReplayViewer(Game& live, AudioSink* audio);
    ~ReplayViewer() override;

    // The run that ended last, offered on the end screens.
    void keepLastRun(const RunRecord& run) { lastRun_ = run; }
    bool hasLastRun() const { return lastRun_.has_value(); }

    // Starts watching from the start; false, with the reason kept as the
    // notice the page shows, when the run cannot be played here.
    // `news` is what the run's win improved in the player's records, as its
    // win screen said; the watched game keeps no records of its own.
    bool watch(const RunRecord& run, const RecordNews& news = {});
    bool watchLastRun();
    // A replay file: refused files (damaged, hostile, another version, a
    // mission that is not here) leave a notice and are never played.
    bool watchFile(const std::string& path);

    bool watching() const { return watching_; }
    bool paused() const { return paused_; }
    bool ended() const { return ended_; }
    int speed() const { return speed_; }
    const std::string& notice() const { return notice_; }
    // Recorded updates played since the start (or the last restart).
    std::uint64_t stepsPlayed() const { return cursor_ ? cursor_->stepsDone() : 0; }
    // Null unless watching.
    Game* watchedGame() { return watching_ ? watched_.get() : nullptr; }

    // Plays the recorded updates a frame of `realSeconds` has earned.
    void tick(float realSeconds);
    void togglePause();
    void setSpeed(int speed);  // one of kReplaySpeeds; anything else is ignored
    void restart();
    void leave();
    void request(ReplayRequest request, double argument);

    // KeyTaker: while watching every key-down is taken; otherwise only the
    // end screens' WATCH REPLAY key, and any key clears a notice.
    bool takeKeyDown(std::uint32_t key) override;

    // What the page shows: null when there is neither a replay nor a notice.
    std::optional<ReplayPageState> pageState() const;

  private:
    bool startWatched();
    bool endShownLive(const RunRecord& run) const;
    void refuse(const std::string& why);
    void stepSpeed(int direction);

    Game& live_;
    ReplayAudio audio_;
    std::optional<RunRecord> lastRun_;
    RunRecord watchedRun_;  // the cursor reads it in place
    RecordNews watchedNews_;
    std::unique_ptr<Game> watched_;
    std::unique_ptr<ReplayCursor> cursor_;
    bool watching_ = false;
    bool paused_ = false;
    bool ended_ = false;
    int speed_ = 1;
    double banked_ = 0.0;  // recorded seconds earned but not yet played
    std::string notice_;
};

}  // namespace nj
