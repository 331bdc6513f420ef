// Missions as the checker, game and editor take them (the build checks every shipped mission).
#include "game/mission_playability.hpp"

#include "data/mission_text.hpp"
#include "data/package.hpp"
#include "game/mission_editing.hpp"
#include "game/mission_file.hpp"
#include "tests/game/game_test_support.hpp"

namespace nj::testing {
namespace {

std::string box(int x, int y, int w, int h) {
    return "{\"x\":" + std::to_string(x) + ",\"y\":" + std::to_string(y) +
           ",\"w\":" + std::to_string(w) + ",\"h\":" + std::to_string(h) + "}";
}

// An open floor with every goal placed and the spawns at the left.
std::string mission(const std::string& extra, const std::string& gate = box(600, 40, 10, 10),
                    const std::string& card = R"({"x":300,"y":300})") {
    return R"({"terminal":{"x":500,"y":300},"exit":{"x":850,"y":400,"w":50,"h":50},)"
           R"("optionalIntel":{"x":400,"y":400},"player":{"x":60,"y":300},)"
           R"("dynamicObjective":{"type":"sabotage_node","x":450,"y":200},)"
           R"("serviceSpawn":{"x":60,"y":300},"backstageSpawn":{"x":60,"y":300},"card":)" +
           card + R"(,"gate":)" + gate + extra + "}";
}

// A closed room around (cx, cy); a door of `doorColor`, or a "gap", in its left wall.
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

const char* const kEmeraldCardInside = R"(,"keycards":[{"x":520,"y":300,"color":"emerald"}])";
const char* const kEmeraldCardOutside = R"(,"keycards":[{"x":200,"y":450,"color":"emerald"}])";

std::vector<std::string> problems(const std::string& json) {
    std::vector<std::string> out;
    for (const PlayabilityProblem& p : checkReachability(json, 0))
        out.push_back(p.path + ": " + p.message);
    return out;
}

TEST(Reachability, FindsWhatCannotBeReachedForEveryApproach) {
    const struct {
        std::string mission, path, what;
    } cases[] = {
        {mission(room(500, 300, "")), "terminal", "the safe terminal cannot be reached"},
        // the card walled in: nothing after it is judged
        {mission(room(300, 300, "")), "card", "the cipher card cannot be reached"},
        {mission(room(500, 300, "emerald") + kEmeraldCardInside), "terminal",
         "the safe terminal cannot be reached"},
        // behind the gate that only it opens
        {mission(room(500, 300, "gap"), box(440, 270, 10, 60), R"({"x":520,"y":300})"), "card",
         "the cipher card cannot be reached"},
    };
    for (const auto& c : cases) {
        const auto found = problems(c.mission);
        for (int approach = 0; approach < 4; ++approach) {
            const std::string prefix = c.path + ": approach " + std::to_string(approach);
            bool seen = false;
            for (const std::string& p : found)
                seen = seen || (p.rfind(prefix, 0) == 0 && p.find(c.what) != std::string::npos);
            EXPECT_TRUE(seen) << prefix << " " << c.what;
        }
    }
}

TEST(Reachability, DoorsAndTheGateOpenWithWhatIsFoundOnTheWayOrHeldByTheApproach) {
    EXPECT_EQ(problems(mission("")), std::vector<std::string>{});
    // The terminal's room closed by the gate, the card outside.
    EXPECT_EQ(problems(mission(room(500, 300, "gap"), box(440, 270, 10, 60))),
              std::vector<std::string>{});
    // The emerald keycard lies outside the room: every approach gets in.
    EXPECT_EQ(problems(mission(room(500, 300, "emerald") + kEmeraldCardOutside)),
              std::vector<std::string>{});
    // Behind a ruby door only the VIP approach, which holds ruby, gets in.
    const auto ruby = problems(mission(room(500, 300, "ruby")));
    ASSERT_EQ(ruby.size(), 3u);
    for (const std::string& p : ruby) EXPECT_EQ(p.find("VIP"), std::string::npos) << p;
    // The area the editor shades says the same, spot by spot.
    const ReachableArea service = reachableArea(mission(room(500, 300, "ruby")), 0);
    const ReachableArea vip = reachableArea(mission(room(500, 300, "ruby")), 3);
    EXPECT_TRUE(service.at(60, 300) && vip.at(60, 300));  // the spawn
    EXPECT_FALSE(service.at(500, 300));                   // behind the ruby door
    EXPECT_TRUE(vip.at(500, 300));
    EXPECT_FALSE(vip.at(445, 250) || vip.at(-8, 300) || vip.at(2000, 300));  // wall; off field
}

TEST(Reachability, ASpawnInsideAWallIsReported) {
    const auto found = problems(mission(",\"walls\":[{\"x\":40,\"y\":280,\"w\":40,\"h\":40}]"));
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0],
              "serviceSpawn: approach 0 (SERVICE CORRIDOR): the operative starts inside an "
              "obstacle or off the field");
}

TEST(FairStart, CatchesTheOldOperationOneBackstageSpawn) {
    const auto found = checkFairStart(
        test::fileText(std::string(NJ_MISSION_FIXTURES) + "/mission1_f4_in_sight.json"), 0);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].path, "backstageSpawn");
    EXPECT_EQ(found[0].message,
              "approach 3 (VIP BACKSTAGE ENTRY): an operative standing still is spotted after "
              "1.5 s");
}

std::string campaignOf(const std::vector<std::string>& names) {
    std::string text = "{";
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i ? ",\"mission" : "\"mission") + std::to_string(i + 1) + "\": \"" +
                tokenFor("{\"name\": \"" + names[i] + "\"}") + "\"";
    return text + "}";
}

bool mountQuietly(const std::vector<PackageAsset>& assets) {
    std::ostringstream quiet;
    NJ3Package& package = NJ3Package::instance();
    package.setLogStreams(&quiet, &quiet);
    const std::string index = buildPackageIndex(assets);
    const bool mounted =
        package.mountBytes("test.nj3p", buildPackage(assets, packageSaltFor(index)));
    package.setLogStreams(nullptr, nullptr);
    return mounted;
}

// The package's campaign wins over a file of the same name, unless named with --campaign.
TEST(CampaignFromDisk, ANamedFileWinsOverThePackagesCampaign) {
    test::ScratchDir dir;
    ASSERT_TRUE(mountQuietly({{"campaign_maps.json", campaignOf({"PACKED ONE", "PACKED TWO"})}}));
    std::ofstream("mine.json") << campaignOf({"FROM DISK"});

    Game packaged(nullptr);
    ASSERT_TRUE(packaged.loadCampaign("mine.json"));
    EXPECT_EQ(packaged.missionSummaries.size(), 2u);

    Game fromDisk(nullptr);
    ASSERT_TRUE(loadCampaignFromDisk(fromDisk, "mine.json"));
    ASSERT_EQ(fromDisk.missionSummaries.size(), 1u);
    EXPECT_EQ(fromDisk.missionSummaries[0].name, "FROM DISK");
    // A named file that is not there is not replaced by the package's.
    Game missing(nullptr);
    EXPECT_FALSE(loadCampaignFromDisk(missing, "missing.json"));
    EXPECT_TRUE(missing.campaignMaps.empty());

    ASSERT_TRUE(mountQuietly({{"unrelated.txt", "x"}}));  // leaves no campaign behind
}

// A broken mission file is listed with its errors and never started.
TEST(MissionFile, ErrorsKeepItOnTheDossier) {
    test::ScratchDir dir;
    std::ofstream("broken.json") << "{\"theme\": \"casion\"}";
    Game broken(nullptr);
    const auto lines = loadMissionFile(broken, "broken.json");
    ASSERT_EQ(broken.missionErrors.size(), 1u);            // its words are the checker's table's
    EXPECT_GT(lines.size(), broken.missionErrors.size());  // the warnings too
    EXPECT_TRUE(broken.campaignMaps.empty());
    broken.startOrAdvance();
    EXPECT_EQ(broken.gameState, GameState::Briefing);
}

// A folder, pipe, huge file or words in a mission's place: the editor integration run's refusals.
TEST(MissionEditing, OpensMissionsAndCodesAndRefusesTheRestWithTheCheckersWords) {
    test::ScratchDir scratch;
    // A wall out of the field is the editor's to mend, not a reason to refuse.
    const std::string faulty =
        R"({"name": "HEIST", "walls": [{"x": 900, "y": 10, "w": 200, "h": 10}]})";
    std::ofstream("faulty.json") << faulty;
    std::ofstream("code.nj3m") << tokenFor(faulty) << "\n";
    JsonValue mission;
    std::string why;
    for (const char* path : {"faulty.json", "code.nj3m"}) {
        ASSERT_TRUE(openMissionForEditing(path, mission, why)) << path << ": " << why;
        EXPECT_EQ(mission.at("name").text, "HEIST");
    }

    const struct {
        const char *path, *text, *why;
    } refused[] = {{"broken.json", "{\"name\": \"HEIST\",\n  \"walls\": [}", "broken.json:2:"},
                   {"list.json", "[1, 2]", "a JSON object"},
                   {"empty.json", "", "empty.json"},
                   {"badcode.nj3m", "NJ3M_V1 not a token", "mission code is refused"},
                   {"missing.json", nullptr, "regular file"}};
    for (const auto& c : refused) {
        if (c.text) std::ofstream(c.path) << c.text;
        mission = JsonValue{};
        EXPECT_FALSE(openMissionForEditing(c.path, mission, why)) << c.path;
        EXPECT_NE(why.find(c.why), std::string::npos) << c.path << ": " << why;
        EXPECT_EQ(mission.type, JsonType::Null) << c.path;
    }
}

// When the autosave is written and taken away is the editor session tests'.
TEST(MissionEditing, ASaveReadsBackToTheSameBytes) {
    test::ScratchDir scratch;
    const std::string path = "missions/heist.json";
    MissionEditor editor(parseJson(R"({"name": "HEIST"})"));
    MissionPiece placed;
    std::string why;
    ASSERT_TRUE(editor.apply(
        [&](JsonValue& m, std::string& w) { return placePiece(m, "walls", 100, 100, placed, w); },
        why));
    ASSERT_TRUE(writeAutosave(path, editor));
    ASSERT_TRUE(saveEditedMission(path, editor));
    EXPECT_FALSE(editor.unsaved());
    EXPECT_FALSE(autosaveWaiting(path));
    JsonValue reopened;
    ASSERT_TRUE(openMissionForEditing(path, reopened, why)) << why;
    EXPECT_EQ(test::fileText(path), editor.text());
    EXPECT_EQ(formatMissionText(reopened), editor.text());
}

// A new mission passes the checker, and its file name never takes another's.
TEST(MissionEditing, ANewMissionPassesTheCheckerAndFindsAFreeName) {
    test::ScratchDir scratch;
    for (const MissionDiagnostic& d : checkMission(newMissionText(), 0))
        ADD_FAILURE() << d.path << ": " << d.message;
    std::filesystem::create_directory("m");
    EXPECT_EQ(freeMissionPath("m", "Operation: Gilded  Wheel!"), "m/operation-gilded-wheel.json");
    std::ofstream("m/heist.json") << "{}";
    std::ofstream("m/.heist-2.json.autosave") << "{}";  // unsaved work holds its name too
    EXPECT_EQ(freeMissionPath("m", "HEIST"), "m/heist-3.json");
    EXPECT_LE(freeMissionPath("m", std::string(300, 'a')).size(),
              std::string("m/").size() + 48 + 5);
}

}  // namespace
}  // namespace nj::testing
