// Custom operations: the missions folder, mission codes, and play the campaign and save never see.

#include <chrono>

#include "game/custom_operations.hpp"
#include "tests/game/game_test_support.hpp"

namespace nj::testing {
namespace {

namespace fs = std::filesystem;

std::string quickWin() {
    return test::fileText(std::string(NJ_MISSION_FIXTURES) + "/quick_win.json");
}

// `code` with the character at `at` changed to another digit.
std::string changedAt(std::string code, std::size_t at) {
    code[at] = code[at] == '1' ? '2' : '1';
    return code;
}

// The folder's hostile entries are listed as the tools.missions run pins; here, what is no
// mission is not listed at all, and an edited file is checked again.
TEST(MissionFolder, OnlyMissionFilesAreListedAndAnEditedOneIsCheckedAgain) {
    test::ScratchDir scratch;
    EXPECT_TRUE(scanMissionFolder("missions", {}).empty());
    EXPECT_TRUE(scanMissionFolder("", {}).empty());
    fs::create_directory("missions");
    std::ofstream("missions/e_quick.json") << "{";
    std::ofstream("missions/.hidden.json") << quickWin();
    std::ofstream("missions/f_quick.json.tmp") << quickWin();  // a write caught half way
    std::ofstream("missions/notes.txt") << "not a mission";
    const std::vector<CustomMission> first = scanMissionFolder("missions", {});
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].fileName, "e_quick.json");
    EXPECT_FALSE(first[0].playable());
    std::ofstream("missions/e_quick.json") << quickWin();
    const std::vector<CustomMission> second = scanMissionFolder("missions", first);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_TRUE(second[0].playable()) << second[0].error;
}

TEST(MissionFolder, AThousandFilesListTheFirstSixtyFourByName) {
    test::ScratchDir scratch;
    fs::create_directory("missions");
    for (int i = 0; i < 1000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "missions/m%04d.json", 999 - i);
        std::ofstream(name) << "{\"name\": 3}";
    }
    const std::vector<CustomMission> list = scanMissionFolder("missions/", {});
    ASSERT_EQ(list.size(), kMaxCustomMissions);
    EXPECT_EQ(list.front().fileName, "m0000.json");
    EXPECT_EQ(list.back().fileName, "m0063.json");
    EXPECT_NE(list.front().error, "");
}

TEST(MissionCode, AnyChangedCharacterOrACutIsRefused) {
    const std::string json = quickWin();
    const std::string code = encodeMapToken(json, mapSaltFor(json));
    std::string refusal;
    EXPECT_EQ(readMissionCode(code, refusal), json);
    EXPECT_EQ(refusal, "");
    EXPECT_EQ(readMissionCode("  " + code + "\r\n", refusal), json);  // as copied from a terminal

    const std::string damaged =
        "MISSION CODE REFUSED // IT WAS CHANGED OR CUT SHORT: COPY IT AGAIN";
    const std::size_t saltAt = code.find('.') + 1;
    const std::size_t tagAt = code.find('.', saltAt) + 1;
    const std::size_t payloadAt = code.find('.', tagAt) + 1;
    for (const std::size_t at : {saltAt, tagAt + 7, payloadAt, payloadAt + 101, code.size() - 1}) {
        SCOPED_TRACE(at);
        EXPECT_EQ(readMissionCode(changedAt(code, at), refusal), "");
        EXPECT_EQ(refusal, damaged);
    }
    EXPECT_EQ(readMissionCode(code.substr(0, code.size() - 2), refusal), "");
    EXPECT_EQ(refusal, damaged);

    EXPECT_EQ(readMissionCode("hello", refusal), "");
    EXPECT_EQ(refusal, "NO MISSION CODE ON THE CLIPBOARD // A CODE STARTS WITH NJ3M_V1");
    EXPECT_EQ(readMissionCode(std::string(2u << 20, 'N'), refusal), "");
    EXPECT_EQ(refusal, "MISSION CODE REFUSED // TOO LONG TO BE ONE MISSION");

    // A sound code of a mission the checker refuses is not worth keeping.
    const std::string broken = "{\"guards\": [{\"x\": \"seven\"}]}";
    EXPECT_EQ(readMissionCode(encodeMapToken(broken, "s"), refusal), "");
    EXPECT_EQ(refusal.rfind("MISSION CODE REFUSED // code:1:", 0), 0u) << refusal;

    EXPECT_EQ(missionCodeFileName(code), missionCodeFileName(" " + code + "\n"));
    EXPECT_NE(missionCodeFileName(code), missionCodeFileName(changedAt(code, payloadAt)));
}

class CustomOperationTest : public GameTest {
  protected:
    void SetUp() override {
        fs::create_directory("missions");
        std::ofstream("missions/quick.json") << quickWin();
        std::ofstream("missions/zz_broken.json") << "{\"guards\": 3}";
        useCampaign({quickWin(), quickWin()});
        game.missionCompleted[0] = 1;
        game.missionGrades[0] = "A OPERATIVE";
        game.highestUnlocked = 1;
        game.intelBudget = 640;
        game.writeSave();
        saveBefore = test::fileText("save.dat");
        ASSERT_NE(saveBefore, "");
        game.missionsFolder = "missions";
        game.refreshCustomMissions();
        ASSERT_EQ(game.customMissions.size(), 2u);
    }

    void expectCampaignAsItWas() {
        EXPECT_EQ(game.highestUnlocked, 1u);
        EXPECT_EQ(game.intelBudget, 640u);
        EXPECT_EQ(game.missionCompleted[0], 1);
        EXPECT_EQ(game.missionCompleted[1], 0);
        EXPECT_EQ(game.missionGrades[1], "--");
        EXPECT_EQ(game.missionIndex, 0u);
        EXPECT_EQ(test::fileText("save.dat"), saveBefore);
    }

    std::string saveBefore;
};

TEST_F(CustomOperationTest, AWinEarnsAndSavesNothingAndTheCampaignComesBack) {
    fs::last_write_time("save.dat", fs::file_time_type::clock::now() - std::chrono::hours(1));
    const auto stamped = fs::last_write_time("save.dat");
    game.playCustomMissionFromPage(0);
    ASSERT_EQ(game.gameState, GameState::Playing);
    EXPECT_EQ(game.customIndex, 0);
    EXPECT_EQ(game.missionName, "OPERATION QUICK");
    game.finishMission(true);
    game.update(kDt);  // when a campaign's save would be written
    EXPECT_EQ(game.gameState, GameState::MissionComplete);
    EXPECT_EQ(game.lastIntelAward, 0u);
    expectCampaignAsItWas();
    EXPECT_EQ(fs::last_write_time("save.dat"), stamped);

    // NEXT OPERATION goes back to its briefing; the campaign's wins still count.
    game.startOrAdvance();
    EXPECT_EQ(game.gameState, GameState::Briefing);
    EXPECT_EQ(game.customIndex, 0);
    game.nextMission();
    EXPECT_EQ(game.customIndex, -1);
    game.loadMission(true);
    game.finishMission(true);
    EXPECT_EQ(test::fileText("save.dat"), saveBefore);
    game.update(kDt);
    EXPECT_EQ(test::fileText("save.dat"),
              "1 " + std::to_string(game.intelBudget) + " 0 0 0\n1 1 0 0 \n");
}

TEST_F(CustomOperationTest, ABrokenOneIsShownButNeverPlayedAndAGoneOneFallsBack) {
    game.selectCustomMissionFromPage(1);
    EXPECT_EQ(game.customIndex, 1);
    game.startOrAdvance();
    EXPECT_EQ(game.gameState, GameState::Briefing);
    game.playCustomMissionFromPage(1);
    EXPECT_EQ(game.gameState, GameState::Briefing);
    game.openDossier();  // Tab, which resumes a mission from the dossier
    EXPECT_EQ(game.gameState, GameState::Briefing);
    for (const double index : {-1.0, 2.0, 1e300, std::nan("")}) {
        game.selectCustomMissionFromPage(index);
        EXPECT_EQ(game.customIndex, index != index ? 0 : 1);
        game.customIndex = 1;
    }

    // A playable one whose file is gone: the dossier falls back to the campaign.
    game.selectCustomMissionFromPage(0);
    game.startOrAdvance();
    fs::remove("missions/quick.json");
    game.openDossier();
    EXPECT_EQ(game.gameState, GameState::Briefing);
    EXPECT_EQ(game.customIndex, -1);
    EXPECT_EQ(game.customMissions.size(), 1u);
    EXPECT_EQ(game.missionName, game.missionSummaries[0].name);
    expectCampaignAsItWas();
}

// Copy and paste are the tools.missions run's; here, pastes that add nothing.
TEST_F(CustomOperationTest, APasteThatAddsNothingSaysWhy) {
    std::string clipboard;
    game.readClipboardHook = [&] { return clipboard; };
    game.writeClipboardHook = [&](const std::string& text) { clipboard = text; };
    game.selectCustomMissionFromPage(1);
    clipboard = "unchanged";
    game.copyMissionCode();  // a broken file has no code to copy
    EXPECT_EQ(clipboard, "unchanged");

    clipboard = game.customMissions[0].code;
    game.pasteMissionCode();
    EXPECT_EQ(game.customIndex, 0);
    EXPECT_EQ(game.bannerText, "ALREADY AMONG YOUR CUSTOM OPERATIONS: OPERATION QUICK");
    clipboard = changedAt(clipboard, clipboard.size() / 2);
    game.pasteMissionCode();
    EXPECT_EQ(game.bannerText.rfind("MISSION CODE REFUSED", 0), 0u) << game.bannerText;
    EXPECT_EQ(std::distance(fs::directory_iterator("missions"), fs::directory_iterator()), 2);
    expectCampaignAsItWas();
}

}  // namespace
}  // namespace nj::testing
