#include "ui/page_state.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "data/map_token.hpp"
#include "game/game.hpp"
#include "game/player_options.hpp"

namespace {

class PageState : public ::testing::Test {
  protected:
    nj::SilentAudio audio;
    nj::Game g{&audio};
    std::string fields() const { return nj::buildStateScript(g, nj::PageLayout{}); }
};

// Each part stands in the script, each after the one before.
void expectInOrder(const std::string& script, const std::vector<std::string>& parts) {
    std::size_t at = 0;
    for (const std::string& part : parts) {
        const std::size_t found = script.find(part, at);
        ASSERT_NE(found, std::string::npos) << part << "\nnot after " << at << " in\n" << script;
        at = found + part.size();
    }
}

TEST_F(PageState, DirectiveFollowsTheMissionChainAndTheClockRunsPastAnHour) {
    g.cipherAcquired = 1;
    EXPECT_EQ(nj::directiveText(g), "\xE2\x80\xA2 Decrypt the diplomatic safe terminal [E]");
    g.cipherDecrypted = 1;
    g.dynamicObjective.active = 1;
    g.dynamicObjective.label = "INTERCEPT SYNDICATE COURIER";
    EXPECT_EQ(nj::directiveText(g), "\xE2\x80\xA2 Phase-2 Directive: INTERCEPT SYNDICATE COURIER");
    g.dynamicObjective.done = 1;
    g.altExitLabel = "ROOF HELIPAD";
    EXPECT_EQ(nj::directiveText(g), "\xE2\x80\xA2 Exfiltrate via Aston Martin DB5 or ROOF HELIPAD");
    EXPECT_EQ(nj::objectivesDone(g), 4);
    EXPECT_EQ(nj::clockText(6000.0f), "100:00");
    g.alarmActive = 1;
    EXPECT_EQ(nj::stealthTier(g), 2) << "the alarm raises the tier";
}

TEST_F(PageState, ThePromptOffersWhatEDoes) {
    enum class Done { Directive, Intel, Safe, Nothing };
    const struct {
        const char* name;
        bool nearObjective, nearIntel;
        float fromTerminal;  // the operative's distance to the right of it
        const char* prompt;
        Done done;
        const char* banner;
    } cases[] = {
        {"directive first", true, true, 10.0f, "[E] COURIER", Done::Directive,
         "DIRECTIVE COMPLETE: COURIER"},
        {"then the intel", false, true, 10.0f, "[E] SECURE LEDGER", Done::Intel,
         "OPTIONAL INTEL SECURED (+150 NIA INTEL): LEDGER"},
        {"then the terminal", false, false, 54.99f, "[E] DECRYPT SAFE TERMINAL", Done::Safe, ""},
        {"out of reach", false, false, 55.0f, "", Done::Nothing, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        nj::Game game{&audio};  // a fresh game for each
        game.gameState = nj::GameState::Playing;
        game.cipherAcquired = 1;
        game.terminal = {480.0f, 270.0f, 18.0f};
        game.playerPos = {480.0f + c.fromTerminal, 270.0f};
        game.dynamicObjective.label = "COURIER";
        game.dynamicObjective.active = 1;
        game.optionalIntel.label = "LEDGER";
        game.optionalIntel.active = 1;
        game.nearObjective = c.nearObjective;
        game.nearIntel = c.nearIntel;
        EXPECT_EQ(nj::interactionPrompt(game, {}).text, c.prompt);
        game.onKeyDown('E');
        EXPECT_EQ(game.dynamicObjective.done != 0, c.done == Done::Directive);
        EXPECT_EQ(game.optionalIntel.done != 0, c.done == Done::Intel);
        EXPECT_EQ(game.safeActive != 0, c.done == Done::Safe);
        EXPECT_EQ(game.bannerText, c.banner);
        EXPECT_EQ(game.heldKeys.count('E') != 0, c.done == Done::Nothing)
            << "E is held when it acts on nothing";
    }
}

TEST_F(PageState, OutcomeExtrasThenTheQuitQuestionAndCountdownFollowTheBanner) {
    g.gameState = nj::GameState::MissionFailed;
    g.failReason = nj::FailReason::Detected;
    g.timesSpotted = 2;
    g.peakDetection = 0.476f;
    g.missionClock = 102.0f;
    g.optionalIntel.done = 1;
    g.playerPos = {480.0f, 270.0f};
    // The end screen's points are the layout tests'; here their order and the fields after them.
    expectInOrder(fields(), {"\"bannerColor\"",
                             "\"failReason\":\"detected\",\"gradeScore\":64,\"gradeLines\":[",
                             "{\"label\":\"TIME\",\"detail\":\"01:42\",\"points\":-12},",
                             "\"smokeReady\":false,\"missionInProgress\":false,\"operativeX\":640,"
                             "\"operativeY\":360,\"inputDevice\":\"keyboard\",\"missionErrors\":[],"
                             "\"confirmQuit\":"});

    // The countdown is -1 while no directive counts down (a done one: the layout tests').
    g.gameState = nj::GameState::Playing;
    g.confirmQuit = true;  // left over: only the dossier asks
    nj::Objective& o = g.dynamicObjective;
    o.x = 480.0f;
    o.y = 135.0f;
    const struct {
        nj::ObjectiveType type;
        bool active;
        float timeLeft;
        const char* countdown;
    } cases[] = {{nj::ObjectiveType::SabotageNode, true, 42.5f, "42.5"},
                 {nj::ObjectiveType::EvidenceBurn, true, std::nanf(""), "0"},
                 {nj::ObjectiveType::EvidenceBurn, false, 30.0f, "-1"},
                 {nj::ObjectiveType::Courier, true, 30.0f, "-1"}};
    for (const auto& c : cases) {
        o.type = c.type;
        o.active = c.active;
        o.timeLeft = c.timeLeft;
        expectInOrder(fields(),
                      {"\"missionErrors\":[],\"confirmQuit\":false,\"countdown\":" +
                       std::string(c.countdown) + ",\"countdownX\":640,\"countdownY\":180"});
    }
    g.gameState = nj::GameState::Briefing;
    expectInOrder(fields(), {"\"confirmQuit\":true,"});
}

// Badges, news, the campaign's end and the perks owned are the page layout tests'.
TEST_F(PageState, RecordsFollowThePerksWithTheirTimesAndFirstWin) {
    g.setCampaignMaps({nj::encodeMapToken(R"({"name":"OP ONE"})", "s"),
                       nj::encodeMapToken(R"({"name":"OP TWO"})", "s")});
    g.requisitionOpen = true;
    g.requisitionChoice = 2;
    g.records.addWin("OP TWO", {"S SHADOW", 95, 61234, false, "2026-12-07"});
    g.records.addWin("OP TWO", {"B AGENT", 66, 5000, true, "2026-12-08"});
    expectInOrder(
        fields(),
        {"\"perks\"",
         "\"requisitionOpen\":true,\"requisitionChoice\":2,\"records\":["
         "{\"grade\":\"\",\"score\":0,\"time\":\"\",\"firstWin\":\"\",\"assistedGrade\":\"\","
         "\"assistedScore\":0,\"assistedTime\":\"\"},"
         "{\"grade\":\"S SHADOW\",\"score\":95,\"time\":\"01:01.2\",\"firstWin\":\"2026-12-07\","
         "\"assistedGrade\":\"B AGENT\",\"assistedScore\":66,\"assistedTime\":\"00:05.0\"}],"
         "\"recordNews\":"});
}

// Without player options, the defaults (settings read from a file are sim_reads_settings').
TEST_F(PageState, TumblersThenTheExtrasWithTheOptionsLastFollowingThePlayersChoices) {
    const std::string defaults = fields();
    // The three tumblers close the fields sim_pagestate pins; the page's extras follow.
    expectInOrder(defaults, {"\"currentTumbler\":0,\"tumblers\":[{\"angle\":", ",\"target\":",
                             ",\"width\":", ",\"locked\":false}", "]", "\"missionNames\":"});
    const std::size_t from = defaults.find("\"tumblers\":"), to = defaults.find(']', from);
    EXPECT_EQ(std::count(defaults.begin() + from, defaults.begin() + to, '{'), 3);
    expectInOrder(defaults, {"\"settings\":{\"volume\":100,\"muted\":false,\"fullScreen\":true,"
                             "\"pauseOnFocusLoss\":true,",
                             "\"keyNames\":{\"moveUp\":\"W\",\"moveDown\":\"S\","});
    EXPECT_EQ(defaults.substr(defaults.size() - 19), "\"pause\":\"START\"}});");

    nj::PlayerOptions options;
    options.step(nj::OptionRow::SneakMode, +1);
    options.listen(static_cast<int>(nj::BoundAction::Interact));
    options.offerKey(12);  // I
    options.listen(nj::kListenPadBase + static_cast<int>(nj::PadRole::Takedown));
    options.offerPadButton(0);  // A
    options.listen(static_cast<int>(nj::BoundAction::Retry));
    g.options = &options;
    g.optionsOpen = 1;
    expectInOrder(fields(),
                  {"\"sneak\":\"toggle\",", "\"optionsOpen\":true,", "\"listening\":9,",
                   "\"optionsMessage\":\"TAKEDOWN / OPTIONS ON A, INTERACT / CONFIRM MOVED TO X\"",
                   "\"interact\":\"I\",",
                   "\"padButtons\":{\"interact\":\"X\",\"cancel\":\"B\",\"takedown\":\"A\","});
}

// The page keeps the player's options though the watched game has none.
TEST_F(PageState, AReplayIsTheLastExtraAndShowsThePlayersOptions) {
    const std::string without = fields();
    EXPECT_EQ(without.find("\"replay\""), std::string::npos);

    nj::PlayerOptions options;
    options.step(nj::OptionRow::TextSize, +1);
    nj::ReplayPageState replay;
    replay.watching = true;
    replay.paused = true;
    replay.speed = 4;
    replay.clock = "01:02";
    replay.playerOptions = &options;
    const std::string with = nj::buildStateScript(g, nj::PageLayout{}, &replay);
    expectInOrder(with, {"\"textSize\":125,"});
    const std::string tail =
        "\"replay\":{\"watching\":true,\"paused\":true,\"speed\":4,"
        "\"clock\":\"01:02\",\"ended\":false,\"notice\":\"\"}});";
    ASSERT_GT(with.size(), tail.size());
    EXPECT_EQ(with.substr(with.size() - tail.size()), tail);
    // Everything before it is what the game alone gives, but for the options it shows.
    replay.playerOptions = nullptr;
    const std::string plain = nj::buildStateScript(g, nj::PageLayout{}, &replay);
    EXPECT_EQ(plain.substr(0, without.size() - 3), without.substr(0, without.size() - 3));
}

}  // namespace
