// The requisition list: what intel buys, what is refused and why, that a
// purchase is in save.dat at once in its own two-line form, and the keys that
// walk the list.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "data/save_file.hpp"
#include "tests/game/game_test_support.hpp"

namespace nj::testing {
namespace {

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

// save.dat keeps its nine numbers, and a new run reads the perks back.
TEST_F(RequisitionTest, APurchaseIsReadBackByTheNextRun) {
    game.intelBudget = 1000;
    ASSERT_EQ(game.buyPerk(2), Purchase::Bought);
    ASSERT_EQ(game.buyPerk(0), Purchase::Bought);
    const std::uint32_t left = 1000 - perkOffers()[2].price - perkOffers()[0].price;
    EXPECT_EQ(test::fileText("save.dat"), "1 " + std::to_string(left) + " 1 0 1\n1 0 0 0 \n");

    Game next{&audio};
    next.setCampaignMaps(game.campaignMaps);
    next.loadSave();
    EXPECT_EQ(next.intelBudget, left);
    EXPECT_TRUE(next.perkOwned(0));
    EXPECT_FALSE(next.perkOwned(1));
    EXPECT_TRUE(next.perkOwned(2));
    EXPECT_EQ(next.highestUnlocked, 1u);
}

TEST_F(RequisitionTest, OnlyTheDossierSellsAndThePagesNumbersAreChecked) {
    game.intelBudget = 5000;
    game.loadMission(true);
    EXPECT_EQ(game.buyPerk(0), Purchase::NotOnDossier);
    EXPECT_FALSE(game.perkOwned(0));
    game.loadMission(false);
    for (const double bad : {-1.0, -1e30, 3.0, 1e30}) game.buyPerkFromPage(bad);
    EXPECT_EQ(owned(), (std::array<bool, kPerkCount>{false, false, false}));
    EXPECT_EQ(game.intelBudget, 5000u);
    game.buyPerkFromPage(2.9);  // truncated, as every page number is
    EXPECT_EQ(owned(), (std::array<bool, kPerkCount>{false, false, true}));
}

// Q opens the list in place of the approaches; it takes the keys while it is
// up (Esc closes it rather than quitting); Tab resumes a waiting mission.
TEST_F(RequisitionTest, TheListTakesTheKeysWhileItIsUp) {
    int quits = 0;
    game.quitHook = [&] { ++quits; };
    game.intelBudget = 5000;
    game.onKeyDown(vk::kQ);
    ASSERT_TRUE(game.requisitionOpen);
    game.onKeyDown(vk::kDown);
    game.onKeyDown(vk::kDown);
    game.onKeyDown(vk::kDown);  // wraps to the first
    game.onKeyDown(vk::kUp);    // and back to the last
    EXPECT_EQ(game.requisitionChoice, 2u);
    game.onKeyDown(vk::kF2);  // no approach change under the list
    EXPECT_EQ(approach(), 0);
    game.onKeyDown(vk::kEnter);
    EXPECT_EQ(game.gameState, GameState::Briefing) << "Enter buys, it does not begin";
    EXPECT_TRUE(game.perkOwned(2));
    game.onKeyDown(vk::kEsc);
    EXPECT_FALSE(game.requisitionOpen);
    EXPECT_EQ(quits, 0);

    game.loadMission(true);
    steps(5);
    game.onKeyDown(vk::kTab);
    game.onKeyDown(vk::kQ);
    game.onKeyDown(vk::kTab);
    EXPECT_EQ(game.gameState, GameState::Playing);
    EXPECT_FALSE(game.requisitionOpen);
}

// A player killed while a purchase is being saved finds a whole save.dat: the
// one before the purchase or the one after.
TEST_F(RequisitionTest, AKillMidPurchaseNeverTearsTheSave) {
    game.intelBudget = 100000;
    ASSERT_EQ(game.buyPerk(0), Purchase::Bought);
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
