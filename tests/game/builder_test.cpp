// The mission builder's "present versus absent" rules, its theme table and the campaign file.
#include <sys/stat.h>

#include "game/mission_world.hpp"
#include "tests/game/game_test_support.hpp"
#include "tests/support/deadline.hpp"

namespace nj::testing {
namespace {

class BuilderTest : public GameTest {
  protected:
    void SetUp() override { useApproach(1); }  // starts at "player", changes no device
};

// Every element makes a record; a laser's axis is its first letter, a guard's facing its angle.
TEST_F(BuilderTest, ElementsWithMissingOrOddKeysStillMakeRecords) {
    useCampaign({R"({
      "walls": [5],
      "furniture": [null, {"cover": false}],
      "lasers": [{"axis": ""}, {"axis": "xylophone"}, {}],
      "guards": [{}, {"axis": "y", "patrol": [{"x": 3}, {"y": "no"}]}, {"angle": 2}]
    })"});
    EXPECT_EQ(game.walls.size(), 1u);
    ASSERT_EQ(game.furniture.size(), 2u);
    EXPECT_TRUE(game.furniture[0].cover);
    EXPECT_FALSE(game.furniture[1].cover);
    ASSERT_EQ(game.lasers.size(), 3u);
    EXPECT_EQ((std::string{game.lasers[0].axis, game.lasers[1].axis, game.lasers[2].axis}), "yxy");
    ASSERT_EQ(game.guards.size(), 3u);
    EXPECT_EQ(game.guards[0].axis, 0);
    EXPECT_EQ(game.guards[1].axis, 'y');
    ASSERT_EQ(game.guards[1].patrol.size(), 2u);
    EXPECT_FLOAT_EQ(game.guards[1].patrol[0].x, 3.0f);
    EXPECT_FLOAT_EQ(game.guards[1].patrol[1].y, 0.0f);
    EXPECT_FLOAT_EQ(game.guards[2].drawFacing, 2.0f);
}

// Left-out pieces are the built-in mission's, not the previous mission's.
TEST_F(BuilderTest, AbsentKeysTakeTheBuiltInValuesNotThePreviousMissions) {
    useCampaign({R"({"gate": {"x": 1, "y": 2, "w": 3, "h": 4}, "exit": {"x": 9},
                     "card": {"r": 30}, "terminal": {"x": 10}, "player": {"y": 200},
                     "serviceSpawn": {"x": 7}, "walls": [{}]})",
                 R"({"gate": true, "card": {"x": 5}})", "{}"});
    const MissionWorld builtIn = builtInWorld();
    EXPECT_FLOAT_EQ(game.exit.x, 9.0f);
    EXPECT_FLOAT_EQ(game.exit.y, builtIn.exit.y);  // a present key's missing members
    EXPECT_FLOAT_EQ(game.playerPos.y, 200.0f);
    game.gateOpen = 0.5f;
    game.cardTaken = 1;
    game.playerPos = {333.0f, 222.0f};

    game.selectMission(1);  // "gate": true is present but not an object
    EXPECT_EQ(game.gate, builtIn.gate);
    EXPECT_FLOAT_EQ(game.card.x, 5.0f);
    EXPECT_FLOAT_EQ(game.card.r, builtIn.card.r);
    EXPECT_FLOAT_EQ(game.gateOpen, 0.0f);  // reset whatever the key
    EXPECT_FALSE(game.cardTaken);

    game.selectMission(2);
    EXPECT_EQ(game.card, builtIn.card);
    EXPECT_EQ(game.terminal, builtIn.terminal);
    EXPECT_EQ(game.exit, builtIn.exit);
    EXPECT_EQ(game.playerStart, builtIn.playerStart);
    EXPECT_EQ(game.playerPos, builtIn.playerStart);  // not where the operative stood
    EXPECT_EQ(game.serviceSpawn, builtIn.serviceSpawn);
    EXPECT_TRUE(game.walls.empty());
}

// The theme picks the row, else the index does (the playthroughs see each
// theme at its own index); its factors apply once however often it is rebuilt.
TEST_F(BuilderTest, ThemeTableMixesIndexAndTheme) {
    const std::string guardAndCamera = R"("guards": [{"speed": 100}], "cameras": [{"speed": 1}])";
    useCampaign({"{}", "{}", R"({"theme": "casino", )" + guardAndCamera + "}",
                 R"({"theme": "archive", )" + guardAndCamera + "}"});
    game.selectMission(2);
    EXPECT_EQ(game.faction, "THE CRIMSON SYNDICATE");  // the theme wins over index 2
    EXPECT_FLOAT_EQ(game.cameras[0].speed, 1.0f);

    game.selectMission(3);
    const float archiveSpeed = game.guards[0].speed;
    EXPECT_GT(archiveSpeed, 100.0f);
    game.selectMission(3);
    EXPECT_FLOAT_EQ(game.guards[0].speed, archiveSpeed);

    // Any other theme at index 2 is the laboratory, whose cameras sweep faster.
    useCampaign({"{}", "{}", R"({"theme": "other", "cameras": [{"speed": 1}]})"});
    game.selectMission(2);
    EXPECT_EQ(game.faction, "AEGIS BIO-CORP");
    EXPECT_GT(game.cameras[0].speed, 1.0f);
}

TEST_F(BuilderTest, MissionOverridesComeAfterTheTable) {
    useCampaign({R"({"faction": 7})",
                 R"({"faction": "HOUSE", "altExit": {"label": "BOAT", "w": 10},
                     "optionalIntel": {"active": false},
                     "dynamicObjective": {"label": "MEET", "timer": 12, "waypoints": []}})",
                 R"({"altExit": 3, "dynamicObjective": {"waypoints": [{"x": 7, "y": 8}]}})"});
    EXPECT_EQ(game.faction, "THE CRIMSON SYNDICATE");  // a number keeps the table's

    game.selectMission(1);
    EXPECT_EQ(game.faction, "HOUSE");
    EXPECT_EQ(game.altExitLabel, "BOAT");
    EXPECT_FLOAT_EQ(game.altExit.w, 10.0f);
    EXPECT_FALSE(game.optionalIntel.active);
    EXPECT_EQ(game.dynamicObjective.label, "MEET");
    EXPECT_EQ(game.dynamicObjective.type, ObjectiveType::Informant);  // the table's
    EXPECT_FLOAT_EQ(game.dynamicObjective.timeLimit, 12.0f);
    EXPECT_FALSE(game.dynamicObjective.waypoints.empty());  // an empty route keeps the table's

    game.selectMission(2);
    EXPECT_EQ(game.altExitLabel, "ROOF HELIPAD");  // not an object: defaults are the table's
    ASSERT_EQ(game.dynamicObjective.waypoints.size(), 1u);
    EXPECT_FLOAT_EQ(game.dynamicObjective.waypoints[0].y, 8.0f);
}

// A cut token, or a sound token of broken JSON, keeps the previous world.
TEST_F(BuilderTest, ABadTokenKeepsThePreviousWorld) {
    useCampaign({R"({"name": "FIRST", "walls": [{"w": 5}]})", "{}"});
    game.campaignMaps[1] = game.campaignMaps[1].substr(0, game.campaignMaps[1].size() - 2);
    game.campaignMaps.push_back(tokenFor("[1, 2"));
    for (const std::uint64_t bad : {1u, 2u}) {
        game.selectMission(bad);
        EXPECT_EQ(game.missionIndex, bad);
        EXPECT_EQ(game.missionName, "FIRST");
        EXPECT_EQ(game.walls.size(), 1u);
    }
}

// A campaign file's hostile cases: broken (the campaign stays), no mission
// keys, not an object, missing, a pipe and huge.
TEST_F(BuilderTest, CampaignKeysAreReadInOrderAndGapsCloseUpAndBadFilesAreRefused) {
    std::ofstream("c1.json") << R"({"mission3": ")" + tokenFor(R"({"name": "THIRD"})") +
                                    R"(", "mission5": "x", "mission1": ")" +
                                    tokenFor(R"({"name": "FIRST"})") + "\"}";
    ASSERT_TRUE(game.loadCampaign("c1.json"));
    ASSERT_EQ(game.campaignMaps.size(), 2u);
    EXPECT_EQ(game.missionName, "FIRST");
    EXPECT_EQ(game.gameState, GameState::Briefing);
    ASSERT_EQ(game.missionSummaries.size(), 2u);
    EXPECT_EQ(game.missionSummaries[1].name, "THIRD");
    EXPECT_EQ(game.missionSummaries[1].desc, "Infiltrate the perimeter and extract.");
    game.nextMission();
    EXPECT_EQ(game.missionName, "THIRD");

    std::ofstream("c2.json") << R"({"mission1": 5})";
    Game fresh(nullptr);
    ASSERT_TRUE(fresh.loadCampaign("c2.json"));
    ASSERT_EQ(fresh.campaignMaps.size(), 1u);
    EXPECT_EQ(fresh.campaignMaps[0], "");
    EXPECT_EQ(fresh.missionName, "OPERATION CASINO VAULT");  // the default world stays
    ASSERT_EQ(fresh.missionSummaries.size(), 1u);
    EXPECT_EQ(fresh.missionSummaries[0].name, "OPERATION 01");  // listed by its number

    std::ofstream("c3.json") << R"({"mission1": "a",)";
    EXPECT_FALSE(game.loadCampaign("c3.json"));
    EXPECT_EQ(game.campaignMaps.size(), 2u);  // untouched
    EXPECT_EQ(game.missionSummaries.size(), 2u);

    const test::Deadline deadline(10);
    std::ofstream("c4.json") << R"({"other": "a"})";
    std::ofstream("c5.json") << R"(["mission1"])";
    ASSERT_EQ(::mkfifo("pipe.json", 0600), 0);
    // Valid from its first byte, so only its size refuses it.
    std::ofstream("huge.json") << R"({"mission1": "a"})" + std::string(2 * 1024 * 1024, ' ');
    for (const char* name : {"c4.json", "c5.json", "missing.json", "pipe.json", "huge.json"})
        EXPECT_FALSE(game.loadCampaign(name)) << name;
}

}  // namespace
}  // namespace nj::testing
