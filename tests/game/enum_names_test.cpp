// The spellings of the game's enums, and what a mission file's unknown theme
// or directive type does: the rules treat it as before, and the harness
// writes it back exactly as the file had it.
#include <sstream>

#include "game/enum_names.hpp"
#include "tests/game/game_test_support.hpp"
#include "tools/nightjar-sim/script.hpp"

namespace nj::testing {
namespace {

// The spellings are the file format and the harness's output: fixed here, not
// derived from the table under test.
TEST(EnumNames, EveryValueRoundTripsThroughItsSpelling) {
    // In declaration order, so the value is the index.
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
    const char* const approaches[] = {"SERVICE CORRIDOR", "STAFF DISGUISE", "SECURITY UPLINK HACK",
                                      "VIP BACKSTAGE ENTRY"};
    ASSERT_EQ(std::size(approaches), kApproachCount);
    for (std::uint32_t i = 0; i < kApproachCount; ++i)
        EXPECT_EQ(approachName(static_cast<Approach>(i)), approaches[i]);
    // Past the last: no approach, announced as the first.
    EXPECT_EQ(approachName(static_cast<Approach>(kApproachCount)), "SERVICE CORRIDOR");
}

TEST(EnumNames, UnknownSpellingsAreOtherAndCaseMatters) {
    for (const char* text : {"vault", "Casino", "", " embassy"})
        EXPECT_EQ(themeNamed(text), Theme::Other) << text;
    for (const char* text : {"hostage", "Courier", "sabotage-node"})
        EXPECT_EQ(objectiveTypeNamed(text), ObjectiveType::Other) << text;
    EXPECT_EQ(themeText(Theme::Other, "vault"), "vault");
    EXPECT_EQ(objectiveTypeText(ObjectiveType::Other, "hostage"), "hostage");
}

class UnknownSpellingTest : public GameTest {};

TEST_F(UnknownSpellingTest, UnknownThemeAndTypeActAsBeforeAndPrintAsRead) {
    useCampaign({"{}", R"({"theme": "vault", "dynamicObjective":
                            {"type": "hostage", "x": 500, "y": 300, "timer": 5,
                             "waypoints": [{"x": 100, "y": 100}]}})"});
    game.selectMission(1);
    EXPECT_EQ(game.theme, Theme::Other);
    EXPECT_EQ(game.faction, "VORON DIRECTORATE");       // the index decides
    EXPECT_EQ(game.altExitLabel, "TUNNEL RAIL EXFIL");  // any other theme's exit
    EXPECT_EQ(game.dynamicObjective.type, ObjectiveType::Other);

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

    std::ostringstream out;
    ScriptRunner runner(game, out);
    runner.runLine("print");
    EXPECT_NE(out.str().find(R"("theme":"vault")"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find(R"("dynamicObjective":{"type":"hostage",)"), std::string::npos);

    // A known spelling afterwards forgets the unknown one.
    useCampaign({R"({"theme": "embassy", "dynamicObjective": {"type": "courier"}})"});
    std::ostringstream again;
    ScriptRunner second(game, again);
    second.runLine("print");
    EXPECT_NE(again.str().find(R"("theme":"embassy")"), std::string::npos);
    EXPECT_NE(again.str().find(R"("dynamicObjective":{"type":"courier",)"), std::string::npos);
}

}  // namespace
}  // namespace nj::testing
