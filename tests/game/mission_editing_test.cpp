// Mission files in the editor's hands: what opens (a mission with faults to
// mend, a mission code) and what is refused with the checker's words (not a
// file, too large, not JSON, not an object); a save that lands whole and in
// the editor's layout, and an autosave that lasts exactly until it.
#include "game/mission_editing.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "data/map_token.hpp"
#include "data/mission_text.hpp"
#include "game/mission_playability.hpp"
#include "tests/support/deadline.hpp"
#include "tests/support/scratch_dir.hpp"

namespace nj {
namespace {

TEST(MissionEditing, OpensMissionsAndCodesAndRefusesTheRestWithTheCheckersWords) {
    test::ScratchDir scratch;
    const test::Deadline deadline(20);
    // A wall out of the field is the editor's to mend, not a reason to refuse.
    const std::string faulty =
        R"({"name": "HEIST", "walls": [{"x": 900, "y": 10, "w": 200, "h": 10}]})";
    std::ofstream("faulty.json") << faulty;
    std::ofstream("code.nj3m") << encodeMapToken(faulty, mapSaltFor(faulty)) << "\n";
    JsonValue mission;
    std::string why;
    for (const char* path : {"faulty.json", "code.nj3m"}) {
        ASSERT_TRUE(openMissionForEditing(path, mission, why)) << path << ": " << why;
        EXPECT_EQ(mission.at("name").text, "HEIST");
    }

    std::filesystem::create_directory("folder.json");
    ASSERT_EQ(::mkfifo("pipe.json", 0600), 0);
    {
        std::ofstream huge("huge.json");
        huge.seekp(2 << 20);
        huge.put('}');
    }
    std::ofstream("broken.json") << "{\"name\": \"HEIST\",\n  \"walls\": [}";
    std::ofstream("list.json") << "[1, 2]";
    std::ofstream("empty.json");
    std::ofstream("words.json") << "not json";  // its first words are a warning, then the error
    std::ofstream("badcode.nj3m") << "NJ3M_V1 not a token";
    struct Case {
        const char* path;
        const char* why;
    };
    for (const Case& c :
         {Case{"folder.json", "regular file"}, Case{"pipe.json", "regular file"},
          Case{"huge.json", "at most 1 MiB"}, Case{"broken.json", "broken.json:2:"},
          Case{"list.json", "a JSON object"}, Case{"empty.json", "empty.json"},
          Case{"badcode.nj3m", "mission code is refused"}, Case{"missing.json", "regular file"},
          Case{"words.json", "words.json:1:1: a mission is a JSON object"}}) {
        mission = JsonValue{};
        EXPECT_FALSE(openMissionForEditing(c.path, mission, why)) << c.path;
        EXPECT_NE(why.find(c.why), std::string::npos) << c.path << ": " << why;
        EXPECT_EQ(mission.type, JsonType::Null) << c.path;
    }
}

TEST(MissionEditing, ASaveLandsWholeAndTheAutosaveLastsUntilIt) {
    test::ScratchDir scratch;
    const std::string path = "missions/heist.json";
    MissionEditor editor(parseJson(R"({"name": "HEIST"})"));
    MissionPiece placed;
    std::string why;
    ASSERT_TRUE(editor.apply(
        [&](JsonValue& m, std::string& w) { return placePiece(m, "walls", 100, 100, placed, w); },
        why));
    EXPECT_EQ(autosavePathFor(path), "missions/.heist.json.autosave");
    EXPECT_FALSE(autosaveWaiting(path));
    ASSERT_TRUE(writeAutosave(path, editor));
    EXPECT_TRUE(autosaveWaiting(path));
    EXPECT_TRUE(editor.unsaved());

    ASSERT_TRUE(saveEditedMission(path, editor));
    EXPECT_FALSE(editor.unsaved());
    EXPECT_FALSE(autosaveWaiting(path));
    // Saved, loaded and saved again: the same bytes.
    JsonValue reopened;
    ASSERT_TRUE(openMissionForEditing(path, reopened, why)) << why;
    EXPECT_EQ(test::fileText(path), editor.text());
    EXPECT_EQ(formatMissionText(reopened), editor.text());
}

// A new mission is one the checker has nothing to say about, so the player
// starts from a playable operation; and its file name never takes another's.
TEST(MissionEditing, ANewMissionPassesTheCheckerAndFindsAFreeName) {
    test::ScratchDir scratch;
    for (const MissionDiagnostic& d : checkMission(newMissionText(), 0))
        ADD_FAILURE() << d.path << ": " << d.message;
    std::filesystem::create_directory("m");
    EXPECT_EQ(freeMissionPath("m", "Operation: Gilded  Wheel!"), "m/operation-gilded-wheel.json");
    EXPECT_EQ(freeMissionPath("m", "***"), "m/operation.json");
    EXPECT_EQ(freeMissionPath("", "A"), "a.json");
    std::ofstream("m/heist.json") << "{}";
    std::ofstream("m/.heist-2.json.autosave") << "{}";  // unsaved work holds its name too
    EXPECT_EQ(freeMissionPath("m", "HEIST"), "m/heist-3.json");
    EXPECT_LE(freeMissionPath("m", std::string(300, 'a')).size(),
              std::string("m/").size() + 48 + 5);
}

}  // namespace
}  // namespace nj
