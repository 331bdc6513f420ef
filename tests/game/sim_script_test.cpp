// nightjar-sim: the script language through the runner, and the program
// itself run on a campaign file in a scratch directory.
#include <cstdio>
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
    std::vector<std::string> run(const std::string& script) { return runOn(game, script); }
    static std::vector<std::string> runOn(Game& target, const std::string& script) {
        std::ostringstream out;
        ScriptRunner runner(target, out);
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
    EXPECT_TRUE(has(lines[0], R"("missionName":"SHORT WALK")"));
    EXPECT_TRUE(has(lines[1], R"("cipherDecrypted":true)"));
    EXPECT_TRUE(has(lines[1], R"("safeActive":false)"));
    EXPECT_TRUE(has(
        lines[1],
        R"("type":"courier","label":"INTERCEPT SYNDICATE COURIER","x":200,"y":300,"active":true,"done":false)"));
    EXPECT_TRUE(has(lines[2], R"("gameState":3)"));
    EXPECT_TRUE(
        has(lines[2], R"("stealthGrade":"S SHADOW","lastIntelAward":270,"intelBudget":470)"));
    EXPECT_TRUE(has(lines[2], R"("missionCompleted":[true,false,false,false])"));
    EXPECT_TRUE(std::ifstream("save.dat").good());
}

TEST_F(SimScriptTest, SameInputsGiveTheSameStateLines) {
    const std::string script =
        "call startOrAdvance\nstep 1\ndown D\ndown S\nstep 45\nprint\nup S\n"
        "dt 0.05\nstep 9\nprint\n";
    useCampaign({kShortMission});
    const std::vector<std::string> first = run(script);
    Game second(nullptr, &audio);
    second.campaignMaps = game.campaignMaps;
    second.loadMission(false);
    EXPECT_EQ(runOn(second, script), first);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_TRUE(has(first[1], R"("step":55,)"));
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

// The program itself, run from a scratch directory as the game would be.
std::string runSim(const std::string& arguments, int& exitCode) {
    const std::string command = std::string(NJ_SIM_PATH) + " " + arguments + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int status = ::pclose(pipe);
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

TEST_F(SimScriptTest, TheProgramRunsAScriptOnACampaignFile) {
    std::ofstream("mine.json") << R"({"mission1": ")" << tokenFor(kShortMission) << "\"}";
    std::ofstream("win.txt") << kWinScript;
    int code = -1;
    const std::string first = runSim("--campaign mine.json win.txt", code);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(has(first, R"("gameState":3)")) << first;
    std::remove("save.dat");
    EXPECT_EQ(runSim("--campaign mine.json win.txt", code), first);

    std::ofstream("campaign_maps.json") << R"({"mission1": ")" << tokenFor(kShortMission) << "\"}";
    std::ofstream("name.txt") << "print\n";
    EXPECT_TRUE(has(runSim("name.txt", code), "SHORT WALK"));

    std::ofstream("bad.txt") << "step 1\n# fine\nstep two\nprint\n";
    const std::string bad = runSim("bad.txt", code);
    EXPECT_EQ(code, 2);
    EXPECT_TRUE(has(bad, "bad.txt:3:")) << bad;
    EXPECT_FALSE(has(bad, "\"step\""));  // stopped before the print

    runSim("", code);
    EXPECT_EQ(code, 2);
}

}  // namespace
}  // namespace nj::testing
