// nightjar-sim's script language through its runner, for what the
// playthroughs (which win every mission with scripts) never write: keys by
// code, numbered page commands, bad lines and a safe that cannot turn.
#include <sstream>

#include "tests/game/game_test_support.hpp"
#include "tools/nightjar-sim/script.hpp"

namespace nj::testing {
namespace {

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
    playAt(760.0f, 205.0f);
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
