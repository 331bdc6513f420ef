// nightjar-sim's script lines the playthroughs never write (bad lines, a safe that cannot turn),
// and the game's enums as files and the harness spell them, unknown ones kept as read.
#include <sstream>

#include "tests/game/game_test_support.hpp"
#include "tools/nightjar-sim/script.hpp"

namespace nj::testing {
namespace {

class SimScriptTest : public GameTest {
  protected:
    std::string run(const std::string& script) {
        std::ostringstream out;
        ScriptRunner runner(game, out);
        std::istringstream in(script);
        for (std::string line; std::getline(in, line);) runner.runLine(line);
        return out.str();
    }
};

TEST_F(SimScriptTest, BadLinesAreRefused) {
    for (const char* bad : {"step -1", "step x", "step", "dt abc", "dt -0.1", "dt inf", "down ZZ",
                            "press 4294967296", "call nope", "call selectMission",
                            "call togglePause 3", "print extra", "frobnicate", "crack now"})
        EXPECT_THROW(run(bad), ScriptError) << bad;
}

TEST_F(SimScriptTest, CrackGivesUpWhenNothingCanTurn) {
    playAt(760.0f, 205.0f);
    game.cipherAcquired = 1;
    game.openSafe();
    const std::string printed = run("dt 0\ncrack\ndt 0.5\ncall togglePause\ncrack\nprint\n");
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
    EXPECT_NE(printed.find(R"("step":0,)"), std::string::npos);
    EXPECT_NE(printed.find(R"("safeActive":true)"), std::string::npos);
}

// Fixed here, not derived from the table under test, in declaration order.
TEST(EnumNames, EveryValueRoundTripsThroughItsSpellingAndNoOtherSpellingNamesOne) {
    const char* const themes[] = {"casino", "embassy", "laboratory", "archive"};
    for (std::uint8_t i = 0; i < std::size(themes); ++i) {
        EXPECT_EQ(themeText(Theme(i), "unused"), themes[i]);
        EXPECT_EQ(themeNamed(themes[i]), Theme(i)) << themes[i];
    }
    const char* const types[] = {
        "", "courier", "informant", "sabotage_node", "evidence_burn", "optional_intel"};
    for (std::uint8_t i = 0; i < std::size(types); ++i) {
        EXPECT_EQ(objectiveTypeText(ObjectiveType(i), "unused"), types[i]);
        EXPECT_EQ(objectiveTypeNamed(types[i]), ObjectiveType(i)) << types[i];
    }
    for (const char* text : {"vault", "Casino", "", " embassy"})
        EXPECT_EQ(themeNamed(text), Theme::Other) << text;
    for (const char* text : {"hostage", "Courier", "sabotage-node"})
        EXPECT_EQ(objectiveTypeNamed(text), ObjectiveType::Other) << text;
}

TEST_F(SimScriptTest, UnknownThemeAndTypeActAsBeforeAndPrintAsRead) {
    useCampaign({"{}", R"({"theme": "vault", "dynamicObjective":
                            {"type": "hostage", "x": 500, "y": 300, "timer": 5,
                             "waypoints": [{"x": 100, "y": 100}]}})"});
    game.selectMission(1);
    EXPECT_EQ(game.theme, Theme::Other);
    EXPECT_EQ(game.faction, "VORON DIRECTORATE");       // the index decides
    EXPECT_EQ(game.altExitLabel, "TUNNEL RAIL EXFIL");  // any other theme's exit

    // An unknown directive neither walks its route nor runs against its timer.
    game.gameState = GameState::Playing;
    game.cipherDecrypted = 1;
    game.dynamicObjective.active = 1;
    game.detection = 0.9f;  // would set an informant running
    game.playerPos = {60.0f, 500.0f};
    steps(400);
    EXPECT_EQ(game.gameState, GameState::Playing);
    EXPECT_FLOAT_EQ(game.dynamicObjective.x, 500.0f);
    EXPECT_FLOAT_EQ(game.dynamicObjective.timeLeft, 5.0f);
    const std::string printed = run("print\n");
    EXPECT_NE(printed.find(R"("theme":"vault")"), std::string::npos);
    EXPECT_NE(printed.find(R"("dynamicObjective":{"type":"hostage",)"), std::string::npos);

    // A known spelling afterwards forgets the unknown one.
    useCampaign({R"({"theme": "embassy", "dynamicObjective": {"type": "courier"}})"});
    const std::string again = run("print\n");
    EXPECT_NE(again.find(R"("theme":"embassy")"), std::string::npos);
    EXPECT_NE(again.find(R"("dynamicObjective":{"type":"courier",)"), std::string::npos);
}

}  // namespace
}  // namespace nj::testing
