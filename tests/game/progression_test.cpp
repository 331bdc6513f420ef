// What lasts beyond one mission: records, the campaign's end, a new campaign, the requisitions.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "data/save_file.hpp"
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
    game.assists.safe = true;
    winNow(10.0f, 0);
    EXPECT_TRUE(game.lastRecordNews.firstWin);
    ASSERT_TRUE(game.recordFor(0)->assisted);
    EXPECT_EQ(game.recordFor(0)->best->timeMs, 50000);
    EXPECT_EQ(game.recordFor(0)->assisted->timeMs, 10000);

    Game next{&audio};  // the next run reads them back
    next.recordsPath = "records.json";
    next.setCampaignMaps(game.campaignMaps);
    next.loadRecords();
    EXPECT_EQ(formatRecordsText(next.records), formatRecordsText(game.records));
}

// A damaged records file leaves the save alone; the next win writes a good one.
TEST_F(ProgressionTest, DamagedRecordsCostNeitherPlayNorTheSave) {
    const std::string save = "1 695 1 0 1\n1 0 0 0 \n";
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
    EXPECT_EQ((std::array{game.perkOwned(0), game.perkOwned(1), game.perkOwned(2)}),
              (std::array{true, false, true}));

    winNow(30.0f);
    RecordBook back;
    EXPECT_EQ(readRecordsFile("records.json", back), RecordsLoad::Read);
    EXPECT_NE(back.find("OP ONE"), nullptr);
}

// The playthroughs show the campaign's end; here, wins that do not end it.
TEST_F(ProgressionTest, TheCampaignEndsAfterTheLastOperationWithAllComplete) {
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
    game.onKeyDown(vk::kF3);  // the dossier waits under it
    EXPECT_EQ(approach(), 0);
}

// The asking is the playthroughs'; here, the dated backup and the records kept.
TEST_F(ProgressionTest, ANewCampaignKeepsTheOldSaveAndTheRecords) {
    winNow(30.0f);
    game.loadMission(false);
    game.intelBudget = 900;
    ASSERT_EQ(game.buyPerk(2), Purchase::Bought);
    const std::string save = test::fileText("save.dat");
    const std::string records = test::fileText("records.json");

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
    EXPECT_FALSE(game.perkOwned(2));  // the numbers reset are the campaign playthrough's
    EXPECT_EQ(test::fileText("records.json"), records) << "records stay";
    EXPECT_NE(game.recordFor(0), nullptr);

    // A second one with no save since: nothing to keep, still afresh.
    game.onKeyDown(vk::kN);
    game.onKeyDown(vk::kN);
    EXPECT_EQ(game.intelBudget, 200u);
    EXPECT_FALSE(std::filesystem::exists("save.dat"));
}

class RequisitionTest : public GameTest {
  protected:
    void SetUp() override {
        useCampaign({"{}", "{}"});
        game.highestUnlocked = 1;
        game.missionCompleted[0] = 1;
    }
    std::array<bool, kPerkCount> owned() const {
        return {game.perkOwned(0), game.perkOwned(1), game.perkOwned(2)};
    }
};

TEST_F(RequisitionTest, BuyingTakesTheIntelOrRefusesWithoutAnyChange) {
    const std::uint32_t price1 = perkOffers()[1].price;
    const struct {
        const char* what;
        std::uint32_t intel;
        bool ownedBefore;
        std::uint64_t index;
        Purchase result;
    } cases[] = {
        {"affordable", price1 + 7, false, 1, Purchase::Bought},
        {"exactly affordable", price1, false, 1, Purchase::Bought},
        {"one short", price1 - 1, false, 1, Purchase::TooLittleIntel},
        {"owned", 5000, true, 1, Purchase::AlreadyOwned},
        {"past the list", 5000, false, 3, Purchase::NoSuchPerk},
        {"far past the list", 5000, false, ~0ull, Purchase::NoSuchPerk},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove("save.dat");
        game.intelBudget = c.intel;
        game.perkSlowDetection = game.perkSafeAssist = 0;
        game.perkSoftStep = c.ownedBefore ? 1 : 0;
        game.bannerActive = 0;
        EXPECT_EQ(game.buyPerk(c.index), c.result);
        if (c.result == Purchase::Bought) {
            EXPECT_EQ(game.intelBudget, c.intel - price1);
            EXPECT_EQ(owned(), (std::array<bool, kPerkCount>{false, true, false}));
            EXPECT_EQ(test::fileText("save.dat"),
                      "1 " + std::to_string(c.intel - price1) + " 0 1 0\n1 0 0 0 \n");
            continue;
        }
        EXPECT_EQ(game.intelBudget, c.intel);
        EXPECT_EQ(owned(), (std::array<bool, kPerkCount>{false, c.ownedBefore, false}));
        EXPECT_FALSE(std::filesystem::exists("save.dat")) << "a refusal writes nothing";
        // Every refusal a player can cause says why.
        EXPECT_EQ(game.bannerActive != 0, c.result != Purchase::NoSuchPerk);
    }
}

// While up, the list takes the keys (Esc closes it rather than quitting); only the dossier sells.
TEST_F(RequisitionTest, TheListTakesTheKeysWhileUpAndOnlyTheDossierSells) {
    game.intelBudget = 5000;
    game.onKeyDown(vk::kQ);
    ASSERT_TRUE(game.requisitionOpen);
    for (int i = 0; i < 3; ++i) game.onKeyDown(vk::kDown);  // wraps to the first
    game.onKeyDown(vk::kUp);                                // and back to the last
    EXPECT_EQ(game.requisitionChoice, 2u);
    game.onKeyDown(vk::kF2);  // no approach change under the list
    EXPECT_EQ(approach(), 0);
    game.onKeyDown(vk::kEnter);
    EXPECT_EQ(game.gameState, GameState::Briefing) << "Enter buys, it does not begin";
    EXPECT_TRUE(game.perkOwned(2));
    game.onKeyDown(vk::kEsc);
    EXPECT_FALSE(game.requisitionOpen);
    EXPECT_EQ(quits, 0);

    for (const double bad : {-1.0, -1e30, 3.0, 1e30}) game.buyPerkFromPage(bad);
    EXPECT_EQ(owned(), (std::array<bool, kPerkCount>{false, false, true}));
    EXPECT_EQ(game.intelBudget, 5000u - perkOffers()[2].price);
    game.buyPerkFromPage(1.9);  // truncated, as every page number is
    EXPECT_TRUE(game.perkOwned(1));

    game.loadMission(true);
    EXPECT_EQ(game.buyPerk(0), Purchase::NotOnDossier);
    EXPECT_FALSE(game.perkOwned(0));
    steps(5);
    game.onKeyDown(vk::kTab);
    game.onKeyDown(vk::kQ);
    game.onKeyDown(vk::kTab);
    EXPECT_EQ(game.gameState, GameState::Playing);
    EXPECT_FALSE(game.requisitionOpen);
}

// Each perk lands in its place in save.dat; killed while a purchase is saved, the player finds a
// whole one (the perks are read back by the records test above).
TEST_F(RequisitionTest, APurchaseLandsInItsPlaceAndAKillMidPurchaseNeverTearsTheSave) {
    game.intelBudget = 100000;
    ASSERT_EQ(game.buyPerk(2), Purchase::Bought);
    const std::string third = std::to_string(100000 - perkOffers()[2].price);
    EXPECT_EQ(test::fileText("save.dat"), "1 " + third + " 0 0 1\n1 0 0 0 \n");
    ASSERT_EQ(game.buyPerk(0), Purchase::Bought);
    const std::uint32_t left = 100000 - perkOffers()[2].price - perkOffers()[0].price;
    EXPECT_EQ(test::fileText("save.dat"), "1 " + std::to_string(left) + " 1 0 1\n1 0 0 0 \n");
    for (int round = 0; round < 6; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (std::uint32_t n = 0;; ++n) {
                game.perkSoftStep = game.perkSafeAssist = 0;
                game.intelBudget = 100000 + (n % 1000);
                game.buyPerk(1 + n % 2);
            }
        }
        ::usleep(static_cast<useconds_t>(2000 + round * 1700));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string text = test::fileText("save.dat");
        SaveRecord record;
        applySaveText(text, record, 2);
        EXPECT_EQ(formatSaveText(record), text) << "round " << round;
    }
}

}  // namespace
}  // namespace nj::testing
