// Recorded runs replay exactly, in a fresh game and through the file; recording changes nothing.
#include <memory>
#include <random>

#include "data/digest.hpp"
#include "data/replay_file.hpp"
#include "game/replay.hpp"
#include "game/replay_keeper.hpp"
#include "game/state_line.hpp"
#include "game_test_support.hpp"

namespace nj::testing {
namespace {

constexpr std::uint32_t kHeldKeys[] = {vk::kW, vk::kA, vk::kS, vk::kD, vk::kShift};
constexpr std::uint32_t kPressedKeys[] = {vk::kE, vk::kSpace, vk::kP, vk::kEsc};

class ReplayTest : public RecordedRunTest {
  protected:
    std::unique_ptr<Game> freshGame(const std::vector<std::string>& campaign) {
        auto fresh = std::make_unique<Game>(&quiet);
        fresh->setCampaignMaps(campaign);
        fresh->missionsFolder = game.missionsFolder;
        fresh->refreshCustomMissions();
        return fresh;
    }

    // The same random inputs to the recorded game and to its twin, which records nothing.
    void playRandomly(std::uint32_t seed, int updates) {
        std::mt19937 random(seed);
        std::uniform_real_distribution<float> chance(0.0f, 1.0f);
        for (int i = 0; i < updates; ++i) {
            const float roll = chance(random);
            const std::uint32_t held = kHeldKeys[random() % std::size(kHeldKeys)];
            const std::uint32_t pressed = kPressedKeys[random() % std::size(kPressedKeys)];
            const float dt = 1.0f / 60.0f + chance(random) * 0.002f;
            for (Game* g : {&game, &twin}) {
                if (roll < 0.06f) g->onKeyDown(held);
                if (roll > 0.94f) g->onKeyUp(held);
                if (roll > 0.3f && roll < 0.32f) g->onKeyDown(pressed);
                if (roll > 0.5f && roll < 0.505f) g->act(RunAction::TriggerSafe);
                if (roll > 0.6f && roll < 0.61f) g->act(RunAction::TumblerTap);
                if (roll > 0.7f && roll < 0.701f) g->assists.speedPercent = 85;
                if (roll > 0.8f && roll < 0.801f) g->assists.speedPercent = 100;
                g->update(dt);
            }
            if (game.gameState == GameState::MissionComplete ||
                game.gameState == GameState::MissionFailed)
                return;
        }
    }

    void expectReplays(const RunRecord& recorded, const std::vector<std::string>& campaign) {
        RunRecord run;
        std::string why;
        ASSERT_TRUE(decodeReplay(encodeReplay(recorded), run, why)) << why;
        std::unique_ptr<Game> fresh = freshGame(campaign);
        ASSERT_TRUE(startReplay(*fresh, run, why)) << why;
        const ReplayCheck check = checkReplay(run, playReplay(*fresh, run));
        EXPECT_TRUE(check.verified) << run.start.missionName << ": " << check.difference;
    }
};

TEST_F(ReplayTest, RandomPlayOnEveryMissionReplaysToTheSameEnd) {
    std::uint32_t seed = 1;
    for (std::uint64_t mission = 0; mission < tokens.size(); ++mission) {
        for (std::uint32_t approach = 0; approach < kApproachCount; ++approach, ++seed) {
            for (Game* g : {&game, &twin}) {
                g->loadMission(false);  // the last run ends before anything of it changes
                g->missionIndex = mission;
                g->approach = static_cast<Approach>(approach);
                g->perkSafeAssist = approach == 2 ? 1 : 0;
                g->ghostBonus = approach == 1 ? 1 : 0;
                g->loadMission(true);
            }
            playRandomly(seed, 2400);
            EXPECT_EQ(formatStateLine(game, 0, false), formatStateLine(twin, 0, false))
                << "recording changed the run of mission " << mission;
        }
    }
    game.loadMission(false);  // ends the last run if the rules did not
    std::set<RunOutcome> outcomes;
    for (const RunRecord& run : runs) {
        outcomes.insert(run.outcome);
        expectReplays(run, tokens);
    }
    // The seeds are fixed: these runs fail, and others are cut off by a restart.
    EXPECT_TRUE(outcomes.count(RunOutcome::Failed));
    EXPECT_TRUE(outcomes.count(RunOutcome::Restarted));
    EXPECT_EQ(runs.size(), tokens.size() * kApproachCount);
}

// A run left on the dossier goes on, the stay (purchases, the quit question, an assist) part of it
// and replayed at once; one never taken up again ends as left, without the Tab that left it.
TEST_F(ReplayTest, ARunLeftOnTheDossierGoesOnWhenThePlayerComesBack) {
    game.intelBudget = 1000;
    game.missionIndex = 1;
    game.loadMission(true);
    game.onKeyDown(vk::kD);
    game.onKeyDown(vk::kShift);  // sneaking: what SOFT STEP, bought below, changes
    steps(30);
    game.onKeyDown(vk::kTab);
    steps(10);
    game.act(RunAction::ToggleRequisition);
    game.buyPerkFromPage(1);  // SOFT STEP
    game.onKeyDown(vk::kUp);
    game.onKeyDown(vk::kEnter);  // SAFE ASSIST, from the list's keys
    game.onKeyDown(vk::kQ);
    game.assists.speedPercent = 85;
    steps(5);
    game.onKeyDown(vk::kP);      // asks, a mission waiting
    game.onKeyDown(vk::kEnter);  // and goes back in
    ASSERT_EQ(game.gameState, GameState::Playing);
    EXPECT_EQ(game.intelBudget, 400u);
    steps(40);
    EXPECT_TRUE(runs.empty()) << "the stay ended the run";
    game.onKeyDown(vk::kF3);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].outcome, RunOutcome::Restarted);
    EXPECT_EQ(replaySteps(runs[0]), 85u);
    expectReplays(runs[0], tokens);

    std::unique_ptr<Game> watched = freshGame(tokens);
    std::string why;
    ASSERT_TRUE(startReplay(*watched, runs[0], why)) << why;
    ReplayCursor cursor(runs[0]);
    while (watched->gameState != GameState::Briefing) ASSERT_TRUE(cursor.advance(*watched));
    cursor.playThroughDossier(*watched);
    EXPECT_EQ(watched->gameState, GameState::Playing);
    EXPECT_EQ(cursor.stepsDone(), 46u) << "30, 15 on the dossier, and the first back in play";

    steps(20);  // the new approach's run
    game.act(RunAction::OpenDossier);
    steps(10);
    game.buyPerkFromPage(0);  // refused: too little intel left
    game.selectMissionFromPage(2);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].outcome, RunOutcome::LeftForDossier);
    EXPECT_EQ(replaySteps(runs[1]), 20u);
    EXPECT_EQ(runs[1].events.back().kind, RunEventKind::Step);
    expectReplays(runs[1], tokens);
}

TEST_F(ReplayTest, AReplayFindsItsMissionByHashOrIsRefused) {
    std::filesystem::create_directories("missions");
    std::ofstream("missions/heist.json") << shippedMission(2);
    game.missionsFolder = "missions";
    game.refreshCustomMissions();
    ASSERT_EQ(game.customMissions.size(), 1u);
    game.playCustomMissionFromPage(0);
    ASSERT_TRUE(recorder.recording());
    game.onKeyDown(vk::kW);
    steps(90);
    game.loadMission(false);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].start.source, RunSource::Custom);
    expectReplays(runs[0], tokens);

    // The campaign's second mission, where other campaigns lack it there.
    game.customIndex = -1;
    game.missionIndex = 1;
    game.loadMission(true);
    steps(10);
    game.loadMission(false);
    ASSERT_EQ(runs.size(), 2u);
    std::string why;
    for (const std::vector<std::string>& campaign :
         {std::vector<std::string>{}, std::vector<std::string>{tokens[0]},
          std::vector<std::string>{tokens[1], tokens[0]}}) {
        EXPECT_FALSE(startReplay(*freshGame(campaign), runs[1], why));
        EXPECT_NE(why.find("is not here"), std::string::npos) << why;
    }
    std::filesystem::remove("missions/heist.json");
    EXPECT_FALSE(startReplay(*freshGame(tokens), runs[0], why));
}

TEST(RunRecorder, ARunLongerThanAReplayMayHoldIsNotHandedOn) {
    Game game(nullptr);
    RunRecorder recorder;
    std::vector<std::uint64_t> handed;
    recorder.onRunEnded = [&handed](RunRecord&& run) { handed.push_back(replaySteps(run)); };
    for (const std::uint64_t updates : {kMaxReplaySteps, kMaxReplaySteps + 1}) {
        recorder.begin(game);
        for (std::uint64_t i = 0; i < updates; ++i)
            recorder.step(0.016f, PlayerCommand{}, 100u << 8);
        recorder.end(game, RunOutcome::Unfinished);
    }
    EXPECT_EQ(handed, std::vector<std::uint64_t>{kMaxReplaySteps});
}

// A run of a campaign operation, the first unless named.
RunRecord campaignRun(std::int32_t score, float clock, RunOutcome outcome = RunOutcome::Won,
                      const char* operation = "operation one") {
    RunRecord run;
    run.start.source = RunSource::Campaign;
    run.start.missionHash = sha256Raw(operation);
    run.outcome = outcome;
    run.score = score;
    run.missionClock = clock;
    run.events = {{RunEventKind::Step, 0, 0.016f, 3}};
    return run;
}

RunRecord keptAt(const std::string& path) {
    RunRecord run;
    std::string why;
    EXPECT_TRUE(readReplayFile(path, run, why)) << why;
    return run;
}

TEST(ReplayKeeper, KeepsTheLastRunAndEachOperationsBestScoreAndFastestWin) {
    test::ScratchDir scratch;
    const ReplayKeeper keeper("replays");
    const unsigned last = static_cast<unsigned>(KeptAs::Last);
    const unsigned best = static_cast<unsigned>(KeptAs::Best);
    const unsigned fastest = static_cast<unsigned>(KeptAs::Fastest);
    const RunRecord first = campaignRun(110, 80.0f);
    const RunStart& op = first.start;
    EXPECT_EQ(keeper.keep(first), last | best | fastest);
    EXPECT_EQ(keeper.keep(campaignRun(100, 70.0f)), last | fastest);  // quicker, lower score
    EXPECT_EQ(keeper.keep(campaignRun(120, 90.0f)), last | best);
    EXPECT_EQ(keeper.keep(campaignRun(120, 85.0f)), last | best);  // a tie goes to the quicker
    EXPECT_EQ(keeper.keep(campaignRun(130, 10.0f, RunOutcome::Failed)), last);
    RunRecord assisted = campaignRun(130, 10.0f);
    assisted.events.insert(assisted.events.begin(), {RunEventKind::Assists, 85u << 8});
    EXPECT_EQ(keeper.keep(assisted), last);  // watched, never a best
    EXPECT_EQ(keptAt(keeper.bestPath(op)).missionClock, 85.0f);
    EXPECT_EQ(keptAt(keeper.fastestPath(op)).missionClock, 70.0f);
    EXPECT_EQ(keptAt(keeper.lastPath()), assisted);

    const RunRecord other = campaignRun(50, 200.0f, RunOutcome::Won, "operation two");
    EXPECT_EQ(keeper.keep(other), last | best | fastest);

    // A damaged best is put aside, and the next win takes its place.
    std::ofstream(keeper.bestPath(op)) << "damaged";
    EXPECT_EQ(keeper.keep(campaignRun(10, 300.0f)), last | best);
    EXPECT_TRUE(std::filesystem::exists(keeper.bestPath(op) + ".bad"));
    EXPECT_EQ(ReplayKeeper("").keep(first), 0u);
    EXPECT_EQ(ReplayKeeper("").bestPath(op), "");
}

}  // namespace
}  // namespace nj::testing
