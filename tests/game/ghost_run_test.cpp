// The best run's ghost: on the live clock, fading after its run, only from a whole kept run of it.
#include "game/ghost_run.hpp"

#include "data/replay_file.hpp"
#include "game/replay_keeper.hpp"
#include "game_test_support.hpp"

namespace nj::testing {
namespace {

struct Spot {
    float clock, x, y;
};

class GhostRunTest : public RecordedRunTest {
  protected:
    void SetUp() override {
        RecordedRunTest::SetUp();
        recorder.onRunBegun = [this](const RunStart& start) { begun.push_back(start); };
    }

    // A recorded walk at a wavering frame rate; where it stood after each update.
    std::vector<Spot> recordWalk(std::uint64_t mission) {
        game.missionIndex = mission;
        game.loadMission(true);
        std::vector<Spot> trail;
        hold(vk::kD);
        for (int i = 0; i < 90; ++i) {
            if (i == 45) game.heldKeys = {vk::kS};
            game.update(kDt + (i % 3) * 0.002f);
            trail.push_back({game.missionClock, game.playerPos.x, game.playerPos.y});
        }
        game.loadMission(false);  // ends the run
        return trail;
    }

    // A recorded walk on `mission`, then the live run there, its operative left standing, with
    // the walk's ghost.
    std::vector<Spot> ghostOfAWalk(std::uint64_t mission) {
        const std::vector<Spot> trail = recordWalk(mission);
        live.missionIndex = mission;
        live.loadMission(true);
        EXPECT_TRUE(ghost.start(live, runs.at(0)));
        return trail;
    }

    // Where the recorded operative stood once its clock had reached `clock`.
    static const Spot& spotAt(const std::vector<Spot>& trail, float clock) {
        for (const Spot& s : trail)
            if (s.clock >= clock) return s;
        return trail.back();
    }

    Game& live = twin;  // the run a ghost is drawn over
    GhostRun ghost;
    std::vector<RunStart> begun;
};

TEST_F(GhostRunTest, TheGhostStandsWhereTheRecordedOperativeStoodAtTheSameClock) {
    const std::vector<Spot> trail = ghostOfAWalk(0);
    ASSERT_EQ(begun.size(), 1u);  // the recorder said the run began, and which
    EXPECT_EQ(begun[0].missionHash, runs.at(0).start.missionHash);
    const Vec2 standing = live.playerPos;
    // Longer frames, and slower for a while: the clock counts, not the updates.
    for (int i = 0; i < 40; ++i) {
        live.assists.speedPercent = i < 20 ? 100 : 70;
        live.update(1.0f / 30.0f);
        const GhostView view = ghost.follow(live);
        const Spot& want = spotAt(trail, live.missionClock);
        ASSERT_TRUE(view.visible) << i;
        EXPECT_EQ(view.x, want.x) << "at clock " << live.missionClock;
        EXPECT_EQ(view.y, want.y) << "at clock " << live.missionClock;
        EXPECT_EQ(view.strength, 1.0f);
    }
    live.gameState = GameState::MissionFailed;  // not drawn on the end screens
    EXPECT_FALSE(ghost.follow(live).visible);
    EXPECT_EQ(live.playerPos, standing);  // the ghost never moved the live operative
}

TEST_F(GhostRunTest, WhenItsRunIsOverItStandsThenFadesAndIsGone) {
    const std::vector<Spot> trail = ghostOfAWalk(1);
    float goneAt = -1.0f;
    for (int i = 0; i < 400 && goneAt < 0.0f; ++i) {
        live.update(kDt);
        const GhostView view = ghost.follow(live);
        const float since = live.missionClock - trail.back().clock;
        if (!ghost.active()) {
            EXPECT_FALSE(view.visible);
            goneAt = since;
        } else if (since > 0.0f) {
            EXPECT_EQ(view.x, trail.back().x);
            EXPECT_EQ(view.y, trail.back().y);
            EXPECT_TRUE(since < GhostRun::kStandSeconds + 0.05f || view.strength < 1.0f) << since;
        }
    }
    EXPECT_NEAR(goneAt, GhostRun::kStandSeconds + GhostRun::kFadeSeconds, 0.05f);
}

// The best, else the fastest; a damaged file or another operation's run is no
// ghost (hostile files are the data tests'), nor a mission the game lacks.
TEST_F(GhostRunTest, OnlyAWholeKeptRunOfThisOperationStartsAGhost) {
    recordWalk(0);
    recordWalk(1);
    ASSERT_EQ(runs.size(), 2u);
    std::filesystem::create_directories("replays");
    const ReplayKeeper keeper("replays");
    const RunStart& start = runs[0].start;
    const std::string best = keeper.bestPath(start), fastest = keeper.fastestPath(start);
    const std::string whole = encodeReplay(runs[0]), cut = whole.substr(0, whole.size() - 7);
    live.loadMission(true);
    const struct {
        const char* what;
        std::string best, fastest;  // the files kept there, "" for none
        bool ghost;
    } cases[] = {{"nothing kept", "", "", false},
                 {"the best", whole, "", true},
                 {"only the fastest", "", whole, true},
                 {"a damaged best, a whole fastest", cut, whole, true},
                 {"another operation's run", encodeReplay(runs[1]), "", false}};
    for (const auto& c : cases) {
        for (const std::string& path : {best, fastest}) std::filesystem::remove_all(path);
        if (!c.best.empty()) std::ofstream(best, std::ios::binary) << c.best;
        if (!c.fastest.empty()) std::ofstream(fastest, std::ios::binary) << c.fastest;
        GhostRun kept;
        EXPECT_EQ(kept.startFromKept(live, keeper, start), c.ghost) << c.what;
        EXPECT_EQ(kept.active(), c.ghost) << c.what;
        live.update(kDt);
        EXPECT_EQ(kept.follow(live).visible, c.ghost) << c.what;
    }
    live.setCampaignMaps({tokens[1]});
    EXPECT_FALSE(ghost.start(live, runs[0]));
    EXPECT_FALSE(ghost.active());
}

}  // namespace
}  // namespace nj::testing
