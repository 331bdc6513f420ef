// What lasts beyond one mission: records written after each win (and only
// then), a damaged records file that costs neither play nor save.dat, the
// campaign's end after the last operation, and a new campaign that keeps the
// old save as a backup and the records as they were.
#include <filesystem>
#include <fstream>

#include "data/save_file.hpp"
#include "game/mission_file.hpp"
#include "tests/game/game_test_support.hpp"

namespace nj::testing {
namespace {

class ProgressionTest : public GameTest {
  protected:
    void SetUp() override {
        game.recordsPath = "records.json";
        game.recordDate = [] { return std::string("2026-12-07"); };
        useCampaign({R"({"name": "OP ONE"})", R"({"name": "OP TWO"})"});
        game.loadRecords();
    }
    // Wins the selected operation at once, `seconds` into it, seen `spotted` times.
    void winNow(float seconds, std::uint32_t spotted = 0) {
        game.loadMission(true);
        game.missionClock = seconds;
        game.timesSpotted = spotted;
        game.finishMission(true);
        ASSERT_EQ(game.gameState, GameState::MissionComplete);
    }
};

TEST_F(ProgressionTest, AWinIsRecordedAtOnceAndAFailureIsNot) {
    game.loadMission(true);
    game.finishMission(false);
    EXPECT_FALSE(std::filesystem::exists("records.json"));

    winNow(50.0f, 1);  // 100 - 18: A OPERATIVE
    EXPECT_TRUE(game.lastRecordNews.firstWin);
    const OperationRecord* op = game.recordFor(0);
    ASSERT_TRUE(op && op->best);
    EXPECT_EQ(op->best->grade, "A OPERATIVE");
    EXPECT_EQ(op->best->timeMs, 50000);
    EXPECT_EQ(test::fileText("records.json"), formatRecordsText(game.records));

    game.loadMission(false);
    EXPECT_FALSE(game.lastRecordNews.firstWin) << "news belongs to its win screen";

    // An assisted win is kept apart and never beats the unassisted bests.
    game.assists.safe = true;  // an assist on for the run
    winNow(10.0f, 0);
    EXPECT_TRUE(game.lastRecordNews.firstWin);
    ASSERT_TRUE(game.recordFor(0)->assisted);
    EXPECT_EQ(game.recordFor(0)->best->timeMs, 50000);
    EXPECT_EQ(game.recordFor(0)->assisted->timeMs, 10000);

    // The next run reads them back.
    Game next{&audio};
    next.recordsPath = "records.json";
    next.setCampaignMaps(game.campaignMaps);
    next.loadRecords();
    EXPECT_EQ(formatRecordsText(next.records), formatRecordsText(game.records));
    EXPECT_EQ(next.recordFor(1), nullptr);
}

// A damaged records file: kept aside, no records, the save untouched, and
// the next win writes a good file.
TEST_F(ProgressionTest, DamagedRecordsCostNeitherPlayNorTheSave) {
    const std::string save = "1 695 0 1 0\n1 0 0 0 \n";
    std::ofstream("save.dat") << save;
    std::ofstream("records.json") << "{\"version\":1,\"operations\":[{\"name\":";
    ::testing::internal::CaptureStderr();
    game.loadSave();
    game.loadRecords();
    ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(game.records.operations().empty());
    EXPECT_TRUE(std::filesystem::exists("records.json.bad"));
    EXPECT_EQ(test::fileText("save.dat"), save);
    EXPECT_EQ(game.intelBudget, 695u);
    EXPECT_TRUE(game.perkOwned(1));

    winNow(30.0f);
    RecordBook back;
    EXPECT_EQ(readRecordsFile("records.json", back), RecordsLoad::Read);
    EXPECT_NE(back.find("OP ONE"), nullptr);
}

// The built-in mission, and a mission played on its own, keep no progress:
// their wins are no record and no campaign's end.
TEST_F(ProgressionTest, AMissionOutsideTheCampaignRecordsNothingAndEndsNoCampaign) {
    for (const bool fromFile : {false, true}) {
        Game alone{&audio};
        alone.recordsPath = "records.json";
        const std::string quick = std::string(NJ_MISSION_FIXTURES) + "/quick_win.json";
        if (fromFile) {
            ASSERT_EQ(loadMissionFile(alone, quick), std::vector<std::string>{});
        }
        alone.loadMission(true);
        alone.finishMission(true);
        ASSERT_EQ(alone.gameState, GameState::MissionComplete);
        EXPECT_FALSE(std::filesystem::exists("records.json")) << fromFile;
        EXPECT_FALSE(alone.campaignComplete());
        alone.onKeyDown(vk::kEnter);
        EXPECT_FALSE(alone.campaignEndShown);
    }
}

// The campaign's end follows only the last operation's win with every one
// complete; Enter closes it (Esc, without quitting, is the campaign
// playthrough's).
TEST_F(ProgressionTest, TheCampaignEndsAfterTheLastOperationWithAllComplete) {
    int quits = 0;
    game.quitHook = [&] { ++quits; };
    game.highestUnlocked = 1;
    game.missionIndex = 1;
    winNow(30.0f);  // the last, with the first not complete
    game.onKeyDown(vk::kEnter);
    EXPECT_FALSE(game.campaignEndShown);
    EXPECT_FALSE(game.campaignComplete());

    winNow(30.0f);  // the first: now all complete, but it is not the last
    EXPECT_TRUE(game.campaignComplete());
    game.onKeyDown(vk::kEnter);
    EXPECT_FALSE(game.campaignEndShown);
    EXPECT_EQ(game.missionIndex, 1u);

    game.missionIndex = 1;
    winNow(30.0f);
    game.onKeyDown(vk::kEnter);
    EXPECT_TRUE(game.campaignEndShown);
    EXPECT_EQ(game.gameState, GameState::Briefing);
    EXPECT_EQ(game.missionIndex, 0u);
    game.onKeyDown(vk::kF3);  // the dossier waits under it
    EXPECT_EQ(approach(), 0);
    game.onKeyDown(vk::kEnter);
    EXPECT_FALSE(game.campaignEndShown);
    EXPECT_EQ(game.gameState, GameState::Briefing);
    EXPECT_EQ(quits, 0);
}

// NEW CAMPAIGN asks; Enter keeps everything; N again moves save.dat aside as
// a dated backup (byte for byte), starts from scratch and keeps the records.
TEST_F(ProgressionTest, ANewCampaignKeepsTheOldSaveAndTheRecords) {
    game.highestUnlocked = 1;
    game.missionIndex = 1;
    winNow(30.0f);
    game.missionIndex = 0;
    winNow(30.0f);
    game.loadMission(false);
    game.intelBudget = 900;
    ASSERT_EQ(game.buyPerk(2), Purchase::Bought);
    const std::string save = test::fileText("save.dat");
    const std::string records = test::fileText("records.json");

    game.onKeyDown(vk::kN);
    EXPECT_TRUE(game.confirmNewCampaign);
    game.onKeyDown(vk::kEnter);
    EXPECT_FALSE(game.confirmNewCampaign);
    EXPECT_EQ(test::fileText("save.dat"), save);
    game.startNewCampaign();  // not asked: nothing happens
    EXPECT_EQ(game.highestUnlocked, 1u);

    game.onKeyDown(vk::kN);
    game.onKeyDown(vk::kN);
    EXPECT_FALSE(std::filesystem::exists("save.dat"));
    std::vector<std::string> backups;
    for (const auto& entry : std::filesystem::directory_iterator("."))
        if (entry.path().filename().string().rfind("save.dat.", 0) == 0)
            backups.push_back(entry.path().filename().string());
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(test::fileText(backups[0]), save);
    EXPECT_EQ(game.highestUnlocked, 0u);
    EXPECT_EQ(game.intelBudget, 200u);
    EXPECT_FALSE(game.perkOwned(2));
    EXPECT_FALSE(game.campaignComplete());
    EXPECT_EQ(game.missionGrades[0], "--");
    EXPECT_EQ(test::fileText("records.json"), records) << "records stay";
    EXPECT_NE(game.recordFor(0), nullptr);

    // A second new campaign with no save since: nothing to keep, still afresh.
    game.onKeyDown(vk::kN);
    game.onKeyDown(vk::kN);
    EXPECT_EQ(game.intelBudget, 200u);
    EXPECT_FALSE(std::filesystem::exists("save.dat"));
}

}  // namespace
}  // namespace nj::testing
