// nightjar-sim's script language through its runner (the program itself is
// run by the script tests beside this file and by the playthroughs).
#include <fstream>
#include <sstream>

#include "tests/game/game_test_support.hpp"
#include "tools/nightjar-sim/script.hpp"

namespace nj::testing {
namespace {

// Card beside the start, terminal in reach, the directive and the exit a
// short walk to the right.
const char* const kShortMission = R"({
  "name": "SHORT WALK",
  "player": {"x": 100, "y": 300}, "serviceSpawn": {"x": 100, "y": 300},
  "card": {"x": 120, "y": 300}, "terminal": {"x": 150, "y": 300},
  "exit": {"x": 260, "y": 280, "w": 40, "h": 40},
  "dynamicObjective": {"x": 200, "y": 300, "waypoints": [{"x": 200, "y": 300}]}
})";

const char* const kWinScript = R"(# a whole mission
call startOrAdvance
step 1
print
press E       # the safe
crack
print
down D
step 60
print
)";

class SimScriptTest : public GameTest {
  protected:
    std::vector<std::string> run(const std::string& script) {
        std::ostringstream out;
        ScriptRunner runner(game, out);
        std::istringstream in(script);
        for (std::string line; std::getline(in, line);) runner.runLine(line);
        std::vector<std::string> lines;
        std::istringstream printed(out.str());
        for (std::string line; std::getline(printed, line);) lines.push_back(line);
        return lines;
    }
    static bool has(const std::string& line, const std::string& field) {
        return line.find(field) != std::string::npos;
    }
};

TEST_F(SimScriptTest, AScriptPlaysAMissionToTheEnd) {
    useCampaign({kShortMission});
    const std::vector<std::string> lines = run(kWinScript);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(has(lines[0], R"("step":1,"gameState":1,)"));
    EXPECT_TRUE(has(lines[0], R"("cardTaken":true)"));
    EXPECT_TRUE(has(lines[1], R"("cipherDecrypted":true)"));
    EXPECT_TRUE(has(lines[1], R"("safeActive":false)"));
    EXPECT_TRUE(has(lines[2], R"("gameState":3)"));
    EXPECT_TRUE(
        has(lines[2], R"("stealthGrade":"S SHADOW","lastIntelAward":270,"intelBudget":470)"));
    EXPECT_TRUE(has(lines[2], R"("missionCompleted":[true,false,false,false])"));
    EXPECT_TRUE(std::ifstream("save.dat").good());
}

TEST_F(SimScriptTest, KeysByNameOrCodeAndPageCommandsWithNumbers) {
    useCampaign({"{}", "{}"});
    game.highestUnlocked = 1;
    const std::vector<std::string> lines =
        run("call selectMission 1\ncall setApproach 2\npress 13   # Enter by code\n  \n"
            "call toggleAudio\ncall quitGame\nprint\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(has(lines[0], R"("gameState":1,"missionIndex":1,)"));
    EXPECT_TRUE(has(lines[0], R"("approach":2,)"));
    EXPECT_TRUE(has(lines[0], R"("audioEnabled":false,"quitRequested":true)"));
}

TEST_F(SimScriptTest, BadLinesAreRefused) {
    for (const char* bad : {"step -1", "step x", "step", "dt abc", "dt -0.1", "dt inf", "down ZZ",
                            "press 4294967296", "call nope", "call selectMission",
                            "call togglePause 3", "print extra", "frobnicate", "crack now"}) {
        std::ostringstream out;
        ScriptRunner runner(game, out);
        EXPECT_THROW(runner.runLine(bad), ScriptError) << bad;
    }
    EXPECT_EQ(parseKey("SPACE"), vk::kSpace);
    EXPECT_EQ(parseKey("87"), vk::kW);
    EXPECT_EQ(parseKey("F4"), vk::kF4);
}

TEST_F(SimScriptTest, CrackGivesUpWhenNothingCanTurn) {
    useCampaign({kShortMission});
    game.loadMission(true);
    game.cipherAcquired = 1;
    game.openSafe();
    const std::vector<std::string> lines =
        run("dt 0\ncrack\ndt 0.5\ncall togglePause\ncrack\nprint\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(has(lines[0], R"("step":0,)"));
    EXPECT_TRUE(has(lines[0], R"("safeActive":true)"));
}

}  // namespace
}  // namespace nj::testing
