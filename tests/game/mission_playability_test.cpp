#include "game/mission_playability.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "data/map_token.hpp"
#include "data/package.hpp"
#include "game/game.hpp"
#include "game/mission_file.hpp"
#include "tests/support/scratch_dir.hpp"

namespace {

// An open floor with every goal placed and the four spawns at the left; each
// case adds its walls and doors.
std::string mission(const std::string& extra,
                    const std::string& gate = "{\"x\":600,\"y\":40,\"w\":10,\"h\":10}") {
    return "{\"card\":{\"x\":300,\"y\":300},\"gate\":" + gate +
           ","
           "\"terminal\":{\"x\":500,\"y\":300},\"exit\":{\"x\":850,\"y\":400,\"w\":50,\"h\":50},"
           "\"optionalIntel\":{\"x\":400,\"y\":400},"
           "\"dynamicObjective\":{\"type\":\"sabotage_node\",\"x\":450,\"y\":200},"
           "\"player\":{\"x\":60,\"y\":300},\"serviceSpawn\":{\"x\":60,\"y\":300},"
           "\"backstageSpawn\":{\"x\":60,\"y\":300}" +
           extra + "}";
}

std::string box(int x, int y, int w, int h) {
    return "{\"x\":" + std::to_string(x) + ",\"y\":" + std::to_string(y) +
           ",\"w\":" + std::to_string(w) + ",\"h\":" + std::to_string(h) + "}";
}

// A closed room around (cx, cy): four walls, with a door of `color` in its
// left wall when a color is given, or an open gap for "gap".
std::string room(int cx, int cy, const std::string& doorColor) {
    const int x0 = cx - 60, y0 = cy - 60;
    const std::string walls = ",\"walls\":[" + box(x0, y0, 120, 10) + "," +
                              box(x0, y0 + 110, 120, 10) + "," + box(x0 + 110, y0, 10, 120) + ",";
    if (doorColor.empty()) return walls + box(x0, y0, 10, 120) + "]";
    const std::string gap = walls + box(x0, y0, 10, 30) + "," + box(x0, y0 + 90, 10, 30) + "]";
    if (doorColor == "gap") return gap;
    const std::string door = box(x0, y0 + 30, 10, 60);
    return gap + ",\"doors\":[" + door.substr(0, door.size() - 1) + ",\"color\":\"" + doorColor +
           "\"}]";
}

std::string keycard(int x, int y, const std::string& color) {
    return ",\"keycards\":[{\"x\":" + std::to_string(x) + ",\"y\":" + std::to_string(y) +
           ",\"color\":\"" + color + "\"}]";
}

std::vector<std::string> problems(const std::string& json) {
    std::vector<std::string> out;
    for (const nj::PlayabilityProblem& p : nj::checkReachability(json, 0))
        out.push_back(p.path + ": " + p.message);
    return out;
}

TEST(Reachability, OpenFloorReachesEverything) {
    EXPECT_EQ(problems(mission("")), std::vector<std::string>{});
}

TEST(Reachability, FindsWhatCannotBeReachedForEveryApproach) {
    struct Case {
        std::string extra;
        std::string path;
        std::string what;
    };
    const Case cases[] = {
        // the terminal walled in
        {room(500, 300, ""), "terminal", "the safe terminal cannot be reached"},
        // the card walled in: nothing after it is judged
        {room(300, 300, ""), "card", "the cipher card cannot be reached"},
        // behind an emerald door whose only keycard lies inside the room
        {room(500, 300, "emerald") + keycard(520, 300, "emerald"), "terminal",
         "the safe terminal cannot be reached"},
    };
    for (const Case& c : cases) {
        const auto found = problems(mission(c.extra));
        for (int approach = 0; approach < 4; ++approach) {
            const std::string prefix = c.path + ": approach " + std::to_string(approach);
            bool seen = false;
            for (const std::string& p : found)
                seen = seen || (p.rfind(prefix, 0) == 0 && p.find(c.what) != std::string::npos);
            EXPECT_TRUE(seen) << prefix << " " << c.what;
        }
    }
}

TEST(Reachability, DoorsOpenWithKeycardsOnTheWayOrHeldByTheApproach) {
    // The emerald keycard lies outside the room: every approach gets in.
    EXPECT_EQ(problems(mission(room(500, 300, "emerald") + keycard(200, 450, "emerald"))),
              std::vector<std::string>{});
    // A ruby door with no ruby keycard: only the VIP approach, which holds
    // ruby, reaches the terminal.
    const auto ruby = problems(mission(room(500, 300, "ruby")));
    ASSERT_EQ(ruby.size(), 3u);
    for (const std::string& p : ruby) EXPECT_EQ(p.find("VIP"), std::string::npos) << p;
    // The area the editor shades says the same, spot by spot.
    const nj::ReachableArea service = nj::reachableArea(mission(room(500, 300, "ruby")), 0);
    const nj::ReachableArea vip = nj::reachableArea(mission(room(500, 300, "ruby")), 3);
    EXPECT_TRUE(service.at(60, 300) && vip.at(60, 300));  // the spawn
    EXPECT_FALSE(service.at(500, 300));                   // behind the ruby door
    EXPECT_TRUE(vip.at(500, 300));                        // VIP holds ruby
    EXPECT_FALSE(vip.at(445, 250) || vip.at(-8, 300) ||
                 vip.at(2000, 300));  // a wall; off the field
}

TEST(Reachability, TheGateOpensOnceTheCardIsTaken) {
    // The terminal's room is closed by the gate; the card lies outside.
    const std::string doorway = "{\"x\":440,\"y\":270,\"w\":10,\"h\":60}";
    EXPECT_EQ(problems(mission(room(500, 300, "gap"), doorway)), std::vector<std::string>{});
    // With the card inside too, the gate never opens.
    std::string cardInside = mission(room(500, 300, "gap"), doorway);
    cardInside.replace(cardInside.find("\"x\":300,\"y\":300"), 15, "\"x\":520,\"y\":300");
    EXPECT_EQ(problems(cardInside).size(), 4u);
}

TEST(Reachability, ASpawnInsideAWallIsReported) {
    const auto found = problems(mission(",\"walls\":[{\"x\":40,\"y\":280,\"w\":40,\"h\":40}]"));
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0],
              "serviceSpawn: approach 0 (SERVICE CORRIDOR): the operative starts inside an "
              "obstacle or off the field");
}

TEST(FairStart, CatchesTheOldOperationOneBackstageSpawn) {
    const auto found = nj::checkFairStart(
        nj::test::fileText(std::string(NJ_MISSION_FIXTURES) + "/mission1_f4_in_sight.json"), 0);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].path, "backstageSpawn");
    EXPECT_EQ(found[0].message,
              "approach 3 (VIP BACKSTAGE ENTRY): an operative standing still is spotted after "
              "1.5 s");
}

TEST(FairStart, NoShippedMissionFailsAnIdleOperative) {
    for (std::size_t i = 0; i < 4; ++i) {
        const std::string path =
            std::string(NJ_SHIPPED_MISSIONS) + "/mission" + std::to_string(i + 1) + ".json";
        const auto diagnostics = nj::checkMission(nj::test::fileText(path), i);
        for (const nj::MissionDiagnostic& d : diagnostics)
            ADD_FAILURE() << nj::formatDiagnostic(path, d);
    }
}

}  // namespace

namespace {

std::string campaignOf(const std::vector<std::string>& names) {
    std::string text = "{";
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string json = "{\"name\": \"" + names[i] + "\"}";
        text += (i ? ",\"mission" : "\"mission") + std::to_string(i + 1) + "\": \"" +
                nj::encodeMapToken(json, nj::mapSaltFor(json)) + "\"";
    }
    return text + "}";
}

bool mountQuietly(const std::vector<nj::PackageAsset>& assets) {
    std::ostringstream quiet;
    nj::NJ3Package& package = nj::NJ3Package::instance();
    package.setLogStreams(&quiet, &quiet);
    const std::string index = nj::buildPackageIndex(assets);
    const bool mounted =
        package.mountBytes("test.nj3p", nj::buildPackage(assets, nj::packageSaltFor(index)));
    package.setLogStreams(nullptr, nullptr);
    return mounted;
}

// The package's campaign wins over a file of the same name, except for the
// file a player names with --campaign.
TEST(CampaignFromDisk, ANamedFileWinsOverThePackagesCampaign) {
    nj::test::ScratchDir dir;
    ASSERT_TRUE(mountQuietly({{"campaign_maps.json", campaignOf({"PACKED ONE", "PACKED TWO"})}}));
    std::ofstream("mine.json") << campaignOf({"FROM DISK"});

    nj::Game packaged(nullptr);
    ASSERT_TRUE(packaged.loadCampaign("mine.json"));
    EXPECT_EQ(packaged.missionSummaries.size(), 2u);

    nj::Game fromDisk(nullptr);
    ASSERT_TRUE(nj::loadCampaignFromDisk(fromDisk, "mine.json"));
    ASSERT_EQ(fromDisk.missionSummaries.size(), 1u);
    EXPECT_EQ(fromDisk.missionSummaries[0].name, "FROM DISK");
    // A named file that is not there is not replaced by the package's.
    nj::Game missing(nullptr);
    EXPECT_FALSE(nj::loadCampaignFromDisk(missing, "missing.json"));
    EXPECT_TRUE(missing.campaignMaps.empty());

    ASSERT_TRUE(mountQuietly({{"unrelated.txt", "x"}}));  // leaves no campaign behind
}

// A broken mission file is listed with its errors and never started. (A sound
// one played on its own, saving nothing, is the tools.mission_cli run's.)
TEST(MissionFile, ErrorsKeepItOnTheDossier) {
    nj::test::ScratchDir dir;
    std::ofstream("broken.json") << "{\"theme\": \"casion\"}";
    nj::Game broken(nullptr);
    const auto lines = nj::loadMissionFile(broken, "broken.json");
    ASSERT_EQ(broken.missionErrors.size(), 1u);
    EXPECT_EQ(broken.missionErrors[0].rfind("broken.json:1:11: theme: ", 0), 0u)
        << broken.missionErrors[0];
    EXPECT_GT(lines.size(), broken.missionErrors.size());  // the warnings too
    EXPECT_TRUE(broken.campaignMaps.empty());
    broken.startOrAdvance();
    EXPECT_EQ(broken.gameState, nj::GameState::Briefing);
}

}  // namespace
