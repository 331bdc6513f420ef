// Watching a run again: keys, pace, a restart playing the same run, progress and sound untouched.
#include "app/replay_viewer.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <tuple>

#include "app/frame_clock.hpp"
#include "data/replay_file.hpp"
#include "game/game.hpp"
#include "game/mission_file.hpp"
#include "game/run_recorder.hpp"
#include "game/state_line.hpp"
#include "tests/support/scratch_dir.hpp"
#include "tools/nightjar-sim/script.hpp"

namespace {

using nj::Game;
using nj::ReplayViewer;
using ::testing::AllOf;
using ::testing::Ge;
using ::testing::Le;

struct CountingAudio final : nj::AudioSink {
    void playCue(int) override { ++cues; }
    bool enabled() const override { return on; }
    void setEnabled(bool enable) override { on = enable; }
    int cues = 0;
    bool on = true;
};

// The player's game on the shipped campaign; every ended run goes to the viewer as in the shell.
class ReplayViewerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(nj::loadCampaignFromDisk(live, NJ_BUILD_DIR "/campaign_maps.json"));
        live.savePath = "save.dat";
        live.recordsPath = "records.json";
        recorder.onRunEnded = [this](nj::RunRecord&& run) {
            viewer.keepLastRun(run);
            lastRun = run;
        };
        live.recorder = &recorder;
    }

    // Operation 1 won by its playthrough, left on the win screen. With `stayAt`, the player
    // spends a second on the dossier after that many lines of it.
    void winFirstOperation(int stayAt = -1) {
        std::ifstream script(std::string(NJ_PLAYTHROUGHS) + "/mission1.sim");
        std::ostringstream printed;
        nj::ScriptRunner runner(live, printed);
        int number = 0;
        for (std::string line; std::getline(script, line) && !runner.quitRequested();) {
            runner.runLine(line);
            if (++number == stayAt) {
                live.onKeyDown(nj::vk::kTab);
                for (int i = 0; i < 60; ++i) live.update(1.0f / 60.0f);
                live.onKeyDown(nj::vk::kTab);
            }
            if (live.gameState == nj::GameState::MissionComplete) break;
        }
        ASSERT_EQ(live.gameState, nj::GameState::MissionComplete);
        ASSERT_TRUE(viewer.hasLastRun());
    }

    void playToTheEnd() {
        for (int frame = 0; frame < 100000 && !viewer.ended(); ++frame) viewer.tick(1.0f / 60.0f);
        ASSERT_TRUE(viewer.ended());
    }

    nj::test::ScratchDir scratch;
    CountingAudio speaker;
    Game live{&speaker};
    nj::RunRecorder recorder;
    ReplayViewer viewer{live, &speaker};
    nj::RunRecord lastRun;
};

// 1x, 4x, a pause and a stall at 4x are the watched won run's; here, the odd cases.
TEST(ReplayPace, SpeedsAndAStallThatEarnsNoMoreThanALiveFrame) {
    const std::tuple<float, int, double> cases[] = {
        {0.01f, 2, 0.02}, {10.0f, 1, nj::kMaxStep},  // a stall of ten seconds
        {0.01f, 3, 0.01},                            // not a speed the viewer offers: as recorded
        {-1.0f, 1, 0.0},  {NAN, 2, 0.0},
    };
    for (const auto& [real, speed, earned] : cases) {
        EXPECT_NEAR(nj::replaySecondsEarned(real, speed, false), earned, 1e-6)
            << real << " s at " << speed << "x";
    }
}

TEST_F(ReplayViewerTest, AWonRunIsWatchedAtTheChosenPaceToItsEndLeavingProgressAlone) {
    winFirstOperation();
    const std::string liveBefore = nj::formatRunStateLine(live, 0);
    const std::uint32_t intel = live.intelBudget;
    const std::string save = nj::test::fileText("save.dat");
    const std::string records = nj::test::fileText("records.json");
    ASSERT_FALSE(save.empty()) << "the win was saved";
    // V on the win screen starts watching; the live game never sees it.
    ASSERT_TRUE(viewer.takeKeyDown(nj::kWatchReplayKey));
    ASSERT_TRUE(viewer.watching());
    // Space, 4, the keypad's 1, Left, R and Shift alone (a shortcut's start) stay.
    const std::pair<std::uint32_t, bool> presses[] = {
        {nj::vk::kSpace, true},  {'4', true},         {0x61, true},
        {nj::vk::kLeft, true},   {nj::vk::kR, true},  {16, true},
        {nj::vk::kEnter, false}, {nj::vk::kW, false}, {nj::kWatchReplayKey, false}};
    for (const auto& [key, stays] : presses) {
        ASSERT_TRUE(viewer.watching() || viewer.watchLastRun());
        viewer.tick(0.02f);
        EXPECT_TRUE(viewer.takeKeyDown(key)) << "key " << key << " went on";
        EXPECT_EQ(viewer.watching(), stays) << "key " << key;
    }
    EXPECT_EQ(nj::formatRunStateLine(live, 0), liveBefore);
    EXPECT_EQ(live.gameState, nj::GameState::MissionComplete);
    // Not watching, keys go on to the page and the game.
    EXPECT_FALSE(viewer.takeKeyDown(nj::vk::kEnter));

    speaker.setEnabled(false);  // the player muted the game
    const int cuesBefore = speaker.cues;
    // As if this win only bettered the time: the watched win screen says so, not its own records.
    live.lastRecordNews = {false, false, false, true};
    // The speed keys took and stay: 4, the keypad's 1, then a step down from 1x stays at 1x.
    ASSERT_TRUE(viewer.watchLastRun());
    EXPECT_EQ(viewer.speed(), 1);
    // Steps of 1/60 s: 0.04 s covers two at 1x (0.0067 s kept for the next frame), nine at 4x.
    viewer.tick(0.04f);
    EXPECT_EQ(viewer.stepsPlayed(), 2u);
    viewer.tick(0.04f);
    EXPECT_EQ(viewer.stepsPlayed(), 4u);
    viewer.togglePause();
    viewer.tick(0.04f);
    EXPECT_EQ(viewer.stepsPlayed(), 4u) << "paused";
    viewer.togglePause();
    viewer.setSpeed(4);
    viewer.tick(0.04f);
    EXPECT_THAT(viewer.stepsPlayed() - 4, AllOf(Ge(9u), Le(10u)));
    // A stall of a minute plays what 4 x kMaxStep covers (12 steps), not 14,400.
    const std::uint64_t before = viewer.stepsPlayed();
    viewer.tick(60.0f);
    EXPECT_THAT(viewer.stepsPlayed() - before, AllOf(Ge(11u), Le(13u)));
    playToTheEnd();
    Game& watched = *viewer.watchedGame();
    EXPECT_EQ(watched.gameState, nj::GameState::MissionComplete);
    EXPECT_FALSE(watched.lastRecordNews.firstWin);
    EXPECT_TRUE(watched.lastRecordNews.bestTime);
    EXPECT_GT(watched.intelBudget, lastRun.start.intelBudget)
        << "the watched win is awarded in its own game";
    const std::string firstPlay = nj::formatRunStateLine(watched, viewer.stepsPlayed());
    EXPECT_EQ(firstPlay, lastRun.finalState) << "what was watched is what was played";
    EXPECT_TRUE(viewer.paused()) << "the last frame is held";

    viewer.restart();
    EXPECT_FALSE(viewer.ended());
    EXPECT_EQ(viewer.stepsPlayed(), 0u);
    viewer.setSpeed(4);
    playToTheEnd();
    EXPECT_EQ(nj::formatRunStateLine(*viewer.watchedGame(), viewer.stepsPlayed()), firstPlay);

    EXPECT_EQ(live.intelBudget, intel);
    EXPECT_EQ(nj::test::fileText("save.dat"), save);
    EXPECT_EQ(nj::test::fileText("records.json"), records);
    EXPECT_FALSE(speaker.enabled()) << "watching never unmutes the player";
    EXPECT_EQ(speaker.cues, cuesBefore) << "a muted player hears no replay";
}

// A stay on the dossier is part of the won run, played through at once, not watched. A win
// screen the last run did not end on (its recording had ended) has nothing to watch.
TEST_F(ReplayViewerTest, AStayOnTheDossierIsWatchedThroughAndOnlyTheShownEndIsOffered) {
    winFirstOperation(40);
    ASSERT_EQ(lastRun.outcome, nj::RunOutcome::Won);
    ASSERT_TRUE(viewer.watchLastRun());
    bool dossierWatched = false;
    for (int frame = 0; frame < 100000 && !viewer.ended(); ++frame) {
        viewer.tick(1.0f / 60.0f);
        dossierWatched |= viewer.watchedGame()->gameState == nj::GameState::Briefing;
    }
    EXPECT_FALSE(dossierWatched);
    EXPECT_EQ(nj::formatRunStateLine(*viewer.watchedGame(), viewer.stepsPlayed()),
              lastRun.finalState);

    viewer.leave();
    nj::RunRecord leftBefore = lastRun;
    leftBefore.outcome = nj::RunOutcome::LeftForDossier;
    viewer.keepLastRun(leftBefore);
    EXPECT_FALSE(viewer.watchLastRun());
    EXPECT_FALSE(viewer.takeKeyDown(nj::kWatchReplayKey));
    nj::RunRecord earlierWin = lastRun;
    earlierWin.missionClock += 1.0f;
    viewer.keepLastRun(earlierWin);
    EXPECT_FALSE(viewer.watchLastRun());
}

TEST_F(ReplayViewerTest, RefusedFilesAndMissingMissionsLeaveANoticeAndPlayNothing) {
    winFirstOperation();
    ASSERT_TRUE(nj::writeReplayFile("won.njr", lastRun));
    // How each damage is refused is the replay file's tests'; here, that it is shown and put away.
    const std::string bytes = nj::test::fileText("won.njr");
    std::ofstream("cut.njr", std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    const std::string liveBefore = nj::formatRunStateLine(live, 0);
    for (const char* path : {"cut.njr", "missing.njr"}) {
        EXPECT_FALSE(viewer.watchFile(path)) << path;
        EXPECT_FALSE(viewer.watching()) << path;
        const std::optional<nj::ReplayPageState> shown = viewer.pageState();
        ASSERT_TRUE(shown.has_value()) << path;
        EXPECT_FALSE(shown->watching);
        EXPECT_EQ(shown->notice.rfind("REPLAY REFUSED: ", 0), 0u) << shown->notice;
        EXPECT_GT(shown->notice.size(), 24u) << "a reason follows";
        viewer.takeKeyDown(nj::vk::kEnter);  // any key puts it away
        EXPECT_FALSE(viewer.pageState().has_value()) << path;
    }
    EXPECT_EQ(nj::formatRunStateLine(live, 0), liveBefore);

    // A game without the campaign the run was recorded on cannot play it.
    nj::SilentAudio quiet;
    Game elsewhere(&quiet);
    elsewhere.savePath.clear();
    ReplayViewer stranger(elsewhere, &quiet);
    EXPECT_FALSE(stranger.watchFile("won.njr"));
    EXPECT_NE(stranger.notice().find("not here"), std::string::npos) << stranger.notice();
    // The same file plays where the campaign is, heard while the sound is on.
    const int cuesBefore = speaker.cues;
    EXPECT_TRUE(viewer.watchFile("won.njr"));
    EXPECT_TRUE(viewer.notice().empty());
    playToTheEnd();
    EXPECT_GT(speaker.cues, cuesBefore);
}

}  // namespace
