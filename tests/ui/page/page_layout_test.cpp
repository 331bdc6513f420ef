// The shipped page on our engine and fonts, fed the game's state scripts, at each text size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "game/enum_names.hpp"
#include "game/game.hpp"
#include "tests/ui/page/real_page.hpp"

namespace {

using pagetest::RealPage;

// With every operation's widest record, then each thing the dossier shows only when asked.
TEST_P(RealPage, TheDossierAndEverythingItShowsWhenAskedFit) {
    game.missionCompleted = {1, 1, 1, 1};
    game.missionGrades = {"C COMPROMISED", "C COMPROMISED", "C COMPROMISED", "C COMPROMISED"};
    game.intelBudget = 999999;
    // The longest grade, a negative score, a clock past an hour, and an assisted win beside them.
    for (const nj::MissionSummary& m : game.missionSummaries) {
        for (const bool assisted : {false, true})
            game.records.addWin(m.name, {"C COMPROMISED", -1000, 5999900, assisted, "2026-12-07"});
    }
    // Larger text gives the record a line of its own, from the left.
    const std::string fits =
        (GetParam() == 100 ? "rline" : "line") + std::string(" #filerec | .file; ") +
        "line #filetitle | .file-title; wrap #filedesc | .file-desc; cline #bannertext | #banner; "
        "line #filetag, #begin, #reqbtn | .file; clear #banner | #file, .footer; "
        "apart .brand-sub | .budget; apart #resumeop | #begin, #reqbtn; apart #reqbtn | #begin; "
        "clear #reqbtn | #ap0, .file-desc; allclear .hp | #edentry, #newcamp, #audio, #options; "
        "allin .hp | .hint; apart #edentry | #options; clear #edentry | #newcamp, #audio, #quit; "
        "line #edentry | .footer; apart #newcamp | #audio; apart #audio | #quit; "
        "line #options, #quit | #root; line #prevop, #nextop | #ops; "
        "apart .file-desc | .file .heading; apart .file-title | .file-desc; "
        "apart #filerec | .file-title; apart #filetag | #filerec" +
        eachRow(4,
                "line #opname@ | #op@ .op-name; line #opstatus@ | #op@; rline #opbadge@ | #op@; "
                "clear #op@ | #file") +
        eachRow(nj::kApproachCount,
                "apart #ap@ .key | #ap@ .ap-name; apart #ap@ .ap-name | #ap@ .ap-note; "
                "line #ap@ .ap-note | #ap@; apart #ap@ | #begin");
    for (std::uint64_t i = 0; i < 4; ++i) {
        loadMission(i);
        game.missionClock = 12.0f;  // left mid-play: Tab resumes it
        game.showBanner("OPERATION LOCKED // COMPLETE PREVIOUS OPERATION FIRST", 1.4f, nj::kRuby);
        sync();
        EXPECT_EQ(text("opbadge" + std::to_string(i)), "BEST C");
        for (std::uint32_t a = 0; a < nj::kApproachCount; ++a) {
            EXPECT_EQ(text("apname" + std::to_string(a)),
                      nj::approachName(static_cast<nj::Approach>(a)));
        }
        expectFits(fits, "operation " + std::to_string(i + 1));
        EXPECT_TRUE(hasClass("resumeop", "shown"));
    }
    loadMission(0);  // choosing another operation leaves nothing to resume
    sync();
    EXPECT_FALSE(hasClass("resumeop", "shown"));
    EXPECT_FALSE(hasClass("quitask", "shown") || hasClass("campend", "shown"));
    EXPECT_TRUE(hasClass("camptag", "shown"));
    expectFits("apart .brand-sub | #camptag; apart #camptag | .budget", "campaign complete");

    game.confirmQuit = true;
    sync();
    expectFits("cline #askresume, #askquit | #quitask .dialog; apart #askresume | #askquit",
               "quit question");
    game.confirmQuit = false;

    game.perkSlowDetection = game.perkSoftStep = game.perkSafeAssist = 1;
    game.campaignEndShown = true;
    sync();
    expectFits("cline #cecontinue, #cenew | #campend .dialog; rline #ceperks | #campend .dialog" +
                   eachRow(4,
                           "line #ce@name | #ce@; rline #ce@grade | #ce@; "
                           "apart #ce@name | #ce@grade"),
               "campaign's end");
    EXPECT_EQ(text("ce0grade"), "C COMPROMISED");
    EXPECT_EQ(text("ceperks"), "SD SS SA");

    game.confirmNewCampaign = true;
    sync();
    EXPECT_FALSE(hasClass("campend", "shown")) << "the question stands in front";
    EXPECT_NE(text("newasknote").find("999999"), std::string::npos);
    expectFits(
        "wrap #newasknote | #newask .ask-note; cline #newstart | #newask .dialog; "
        "apart #newcancel | #newstart",
        "new-campaign question");
    game.gameState = nj::GameState::Playing;  // off the dossier, none of them
    sync();
    EXPECT_FALSE(hasClass("newask", "shown") || hasClass("campend", "shown") ||
                 hasClass("quitask", "shown"));
    game.campaignEndShown = game.confirmNewCampaign = false;

    loadMission(1);
    game.missionClock = 12.0f;
    game.intelBudget = 300;
    game.perkSlowDetection = game.perkSafeAssist = 0;
    game.requisitionOpen = true;
    sync();
    expectFits(
        "clear #reqbtn | #perk0, .file-desc; clear #perk2 | .req-help; line .req-help | .file" +
            eachRow(3,
                    "line #perkname@, #perkeffect@ | #perk@; apart #perkeffect@ | #perkprice@; "
                    "apart #perkprice@ | #perkbuy@"),
        "requisition");
    EXPECT_TRUE(hasClass("perkbuy0", "disabled")) << "450 > 300";
    EXPECT_EQ(text("perkbuy1"), "OWNED");
    EXPECT_FALSE(hasClass("perkbuy2", "disabled")) << "250 <= 300";
    game.gameState = nj::GameState::Playing;
    sync();
    EXPECT_FALSE(hasClass("pm0", "shown"));
    EXPECT_TRUE(hasClass("pm1", "shown"));

    game.highestUnlocked = 0;
    loadMission(3);
    sync();
    expectFits("line #locknote | .file; clear #locknote | #reqbtn, #begin", "a locked operation");
    EXPECT_FALSE(errorsLogged());
}

TEST_P(RealPage, OperationsGiveWayToMissionErrorsOrCustomOperationsWhichTakeEveryInput) {
    const std::string longest =
        "/home/designer/my missions/gallery.json:12:21: backstageSpawn: approach 3 (VIP "
        "BACKSTAGE ENTRY): an operative standing still is spotted after 1.5 s";
    game.missionErrors = std::vector<std::string>(6, longest);
    sync();
    EXPECT_TRUE(hasClass("ops", "has-errors"));
    EXPECT_TRUE(hasClass("begin", "disabled"));
    EXPECT_EQ(text("missionerror0"), longest.substr(longest.find("gallery.json")));
    EXPECT_EQ(text("missionerrormore"), "... and 2 more on the terminal");
    EXPECT_LE(rectOf("missionerrormore").bottom, rectOf("ops").bottom);
    EXPECT_GT(rectOf("missionerror3").bottom, rectOf("missionerror3").top);
    game.missionErrors.clear();
    game.missionCompleted = {1, 1, 1, 1};
    game.records.addWin(game.missionSummaries[0].name, {"B AGENT", 60, 1000, true, "2026-12-07"});
    sync();
    EXPECT_FALSE(hasClass("ops", "has-errors"));
    EXPECT_FALSE(hasClass("begin", "disabled"));
    EXPECT_EQ(text("opbadge0"), "ASSISTED B");
    EXPECT_FALSE(hasClass("opbadge1", "shown")) << "no record, no badge";

    // Empty, the custom list tells where missions go and still takes a friend's code.
    recordCalls(
        "'selectMission', 'selectCustomMission', 'pasteMissionCode', 'copyMissionCode', "
        "'prevMission', 'nextMission'");
    game.missionsFolder = "/home/p/.local/share/nightjar/missions";
    sync();
    EXPECT_EQ(text("customtabtext"), "CUSTOM (0)");
    clickAt("#customtab");
    sync();
    EXPECT_TRUE(hasClass("ops", "custom-view"));
    EXPECT_EQ(text("customfolder"), game.missionsFolder);
    EXPECT_FALSE(hasClass("cust0", "shown"));
    expectFits("wrap #customempty | #ops", "empty list");
    clickAt("#pastecode");
    EXPECT_EQ(calls(), "pasteMissionCode");
    clickAt("#customtab");
    sync();
    EXPECT_FALSE(hasClass("ops", "custom-view"));

    for (int i = 0; i < 5; ++i) {
        nj::CustomMission m;
        m.fileName = "custom_mission_" + std::to_string(i) + ".json";
        // As long as the campaign's longest; a longer name is cut by its row.
        m.name = "OPERATION SILENT CONSULATE" + std::to_string(i);
        m.theme = "laboratory";
        m.code = "NJ3M_V1.a.b.c";
        game.customMissions.push_back(m);
    }
    game.customMissions[3].error =
        "custom_mission_3.json:12:21: backstageSpawn: approach 3 (VIP BACKSTAGE ENTRY): an "
        "operative standing still is spotted after 1.5 s";
    game.customMissions[3].code.clear();
    game.customIndex = 3;
    sync();
    EXPECT_EQ(text("custommore"), "3-5 OF 5");
    EXPECT_EQ(text("custname1"), game.customMissions[3].name);
    EXPECT_TRUE(hasClass("cust1", "selected") && hasClass("cust1", "broken"));
    EXPECT_EQ(text("custstatus1").rfind("ERROR  //  12:21: backstageSpawn", 0), 0u);
    EXPECT_EQ(text("filetitle"), "NOT PLAYABLE YET");
    EXPECT_TRUE(hasClass("begin", "disabled") && hasClass("copycode", "disabled"));
    expectFits(
        "line #custname0 | #cust0 .op-name; line #custnum2 | #cust2; "
        "apart #opsheading | #customtab; clear #custommore | #pastecode, #cust2; "
        "line #filetag | .file; wrap #filedesc | .file-desc; "
        "allin #pastecode, #copycode, #custommore, #cust2 | #ops; "
        "allclear #pastecode, #copycode, #custommore, #cust2 | #prevop",
        "custom list");

    game.customIndex = 4;
    sync();
    EXPECT_FALSE(hasClass("begin", "disabled") || hasClass("copycode", "disabled"));
    EXPECT_EQ(text("filetag"), "CUSTOM OPERATION  //  custom_mission_4.json  //  LABORATORY");
    const Box row = rectOf("cust0");
    page.click(static_cast<int>((row.left + row.right) / 2), static_cast<int>(row.top + 10));
    for (const int code : {39, 37, 86, 67}) key(code);
    clickAt("#pastecode");
    // From custom 4, the last: Right wraps to campaign operation 0, Left goes to custom 3.
    EXPECT_EQ(calls(),
              "selectCustomMission 2,selectMission 0,selectCustomMission 3,pasteMissionCode,"
              "copyMissionCode,pasteMissionCode");

    game.customIndex = -1;
    sync();
    EXPECT_FALSE(hasClass("ops", "custom-view"));
    EXPECT_EQ(text("customtabtext"), "CUSTOM (5)");
    EXPECT_FALSE(errorsLogged());
}

// Phase 4: the second directive on the widest clock with every perk's mark beside it.
TEST_P(RealPage, EveryDirectiveFitsItsRowAboveNothingElse) {
    using namespace std::string_literals;
    nj::Objective& o = game.dynamicObjective;
    const std::string fits =
        "line #directive | .directive-text; line #clock | #statpanel; rline #tier | #statpanel; "
        "apart #clock | #tier, .segs; clear #dirpanel | #statpanel; rline .objectives | #dirpanel; "
        "apart .dir-label | .objectives, #perkmarks; apart #directive, #perkmarks | #dircount; "
        "apart #dircount | .objectives";
    for (std::uint64_t i = 0; i < 4; ++i) {
        play(i);
        game.missionClock = 6000.0f;  // "100:00", the widest clock
        game.detection = 1.0f;        // "COMPROMISED", the widest tier
        for (int phase = 0; phase < 5; ++phase) {
            game.cipherAcquired = phase >= 1;
            game.cipherDecrypted = phase >= 2;
            o.active = phase >= 2;
            o.done = phase == 3;
            if (phase == 4) {
                o.type = nj::ObjectiveType::SabotageNode;
                o.timeLeft = 599.0f;
                game.playerPos = {o.x - 120.0f, o.y};
                game.perkSlowDetection = game.perkSoftStep = game.perkSafeAssist = 1;
            }
            sync();
            const std::string where =
                "operation " + std::to_string(i + 1) + ", phase " + std::to_string(phase);
            EXPECT_EQ(text("directive"), nj::directiveText(game)) << where;
            EXPECT_TRUE(phase != 4 || hasClass("dircount", "shown")) << where;
            expectFits(fits, where);
            EXPECT_LE(rectOf("dirpanel").bottom, 50.0) << where;
            EXPECT_LE(rectOf("statpanel").bottom, 50.0) << where;
        }
        EXPECT_EQ(text("dircount"), "9:59 LEFT");
        // The longest banners the game composes, from each mission's own labels.
        for (const std::string& banner :
             {"SAFE DECRYPTED // NEW DIRECTIVE: " + o.label,
              "OBJECTIVE COMPLETE // EXFILTRATE AT DB5 OR " + game.altExitLabel,
              "OPTIONAL INTEL SECURED (+150 NIA INTEL): " + game.optionalIntel.label,
              "DIRECTIVE COMPLETE: " + o.label,
              "GUARD DISCOVERED UNCONSCIOUS OPERATIVE // SEARCHING"s,
              "CCTV SPOTTED DOWNED GUARD // SEARCH DISPATCHED"s,
              "INFILTRATION APPROACH: SECURITY UPLINK HACK"s, "EMERALD CLEARANCE PASS SECURED"s}) {
            game.showBanner(banner, 1.0f, nj::kCyan);
            sync();
            expectFits("cline #bannertext | #banner", banner);
        }
    }
    o.timeLeft = 30.0f;
    sync();
    EXPECT_EQ(text("tgtcount"), "0:30");
    EXPECT_TRUE(hasClass("tgtcount", "shown") && !hasClass("tgtcount", "urgent"));
    o.timeLeft = 9.2f;
    sync();
    EXPECT_EQ(text("tgtcount"), "0:10");
    EXPECT_TRUE(hasClass("tgtcount", "urgent") && hasClass("dircount", "urgent"));
    o.done = 1;
    sync();
    EXPECT_FALSE(hasClass("dircount", "shown") || hasClass("tgtcount", "shown"));
}

TEST_P(RealPage, EndScreensShowTheirNewsAndFitTheirLongestLines) {
    loadMission(0);
    game.gameState = nj::GameState::MissionComplete;
    game.timesSpotted = 2;
    game.peakDetection = 0.48f;
    game.missionClock = 102.0f;
    game.optionalIntel.done = 1;
    game.usedAltExit = 0;
    game.lastRecordNews = {false, false, false, true};
    sync();
    EXPECT_EQ(text("gl0points"), "-36");
    EXPECT_EQ(text("gl3points"), "+20");
    EXPECT_EQ(text("gl4points"), "0");
    EXPECT_EQ(text("gl4detail"), "NOT USED");
    EXPECT_TRUE(hasClass("gl0", "lost") && hasClass("gl3", "gained"));
    EXPECT_FALSE(hasClass("gl4", "lost") || hasClass("gl4", "gained"));
    EXPECT_GT(rectOf("breakdown").bottom, rectOf("breakdown").top);
    EXPECT_EQ(text("newbest"), "NEW BEST TIME");
    EXPECT_FALSE(hasClass("assisted", "shown"));
    game.lastRecordNews = {};
    sync();
    EXPECT_FALSE(hasClass("complete", "has-news"));

    // A three-digit count, a full meter, the widest clock, an assisted win beating every best.
    loadMission(3);
    game.gameState = nj::GameState::MissionComplete;
    game.stealthGrade = "C COMPROMISED";
    game.lastIntelAward = 495;
    game.timesSpotted = 100;
    game.peakDetection = 1.0f;
    game.missionClock = 6000.0f;
    game.runAssisted = true;
    game.lastRecordNews = {false, true, true, true};
    game.showBanner("OBJECTIVE COMPLETE // EXFILTRATE AT DB5 OR " + game.altExitLabel, 1.4f,
                    nj::kEmerald);
    sync();
    expectFits(
        "cline #grade | .grade; rline #gscore | .gl-total; apart #grade | #assisted, #newbest; "
        "cline #newbest, #cnext, #cretry, #cwatch, .thresholds | #complete .dialog; "
        "apart #newbest | #gl0; cline #bannertext | #banner; apart #banner | #complete .dialog; "
        "apart #cretry | #cwatch; rline #award | #complete .dialog; apart .thresholds | #award; "
        "line #complete .dialog | #root" +
            eachRow(5,
                    "line #gl@label | #gl@; rline #gl@points | #gl@; "
                    "apart #gl@label | #gl@detail; apart #gl@detail | #gl@points"),
        "win screen");
    EXPECT_EQ(text("newbest"), "ASSISTED NEW BEST GRADE + SCORE + TIME");
    ASSERT_TRUE(hasClass("assisted", "shown"));
    // The title reaches the tag's corner at every size: the tag sits above it.
    EXPECT_LE(rectOf("assisted").bottom, rectAt("#complete .dialog-title").top);

    game.gameState = nj::GameState::MissionFailed;
    game.showBanner("CRITICAL OBJECTIVE EXPIRED // EVIDENCE LOST", 1.2f, nj::kRuby);
    const std::pair<nj::FailReason, const char*> heads[] = {
        {nj::FailReason::None, "OPERATIVE COMPROMISED"},
        {nj::FailReason::Laser, "LASER"},
        {nj::FailReason::Expired, "EXPIRED"},
        {nj::FailReason::Detected, "DETECTION"}};  // the longest advice last, to fit
    for (const auto& [reason, word] : heads) {
        game.failReason = reason;
        sync();
        EXPECT_NE(text("failhead").find(word), std::string::npos) << text("failhead");
    }
    expectFits(
        "cline #failhead | .failhead; wrap #failnote | .failnote; apart .failnote | #fretry; "
        "apart #fretry | #fdossier; apart #fdossier | #fwatch; apart #fwatch | #fquit; "
        "cline #fdossier, #fwatch, #fquit | #failed .dialog; line #failed .dialog | #root; "
        "apart #banner | #failed .dialog",
        "lose screen");
    sync("s.failReason = 'toString';");
    EXPECT_EQ(text("failhead"), "OPERATIVE COMPROMISED");
    EXPECT_FALSE(errorsLogged());
}

TEST_P(RealPage, PromptsStayBesideTheirTargetAndPanelsFadeOverTheOperativeOrTheTarget) {
    play(2);
    const struct {  // in field units, as the game places things; the page gets them times 4/3
        const char* what;
        float targetX, targetY, operativeX, operativeY;
        int away;  // the side the prompt must be on: +1 right of the target, -1 left, 0 either
    } cases[] = {{"operative left", 480, 270, 450, 272, +1},
                 {"operative right", 480, 270, 512, 268, -1},
                 {"left edge", 30, 270, 60, 270, 0},
                 {"left edge, operative beyond", 40, 270, 20, 275, +1},
                 {"top edge", 480, 48, 480, 80, 0}};
    const float k = 1280.0f / 960.0f;
    for (const auto& c : cases) {
        // The longest prompt the campaign has: the intel of operation 3.
        game.optionalIntel.x = c.targetX;
        game.optionalIntel.y = c.targetY;
        game.nearIntel = 1;
        game.playerPos = {c.operativeX, c.operativeY};
        sync();
        ASSERT_EQ(text("prompt"), nj::interactionPrompt(game, nj::PageLayout{}).text) << c.what;
        ASSERT_TRUE(hasClass("prompt", "shown")) << c.what;
        const Box p = rectOf("prompt");
        const auto meets = [&](float cx, float cy, double r) {
            const double nx = std::clamp<double>(cx, p.left, p.right),
                         ny = std::clamp<double>(cy, p.top, p.bottom);
            return (cx - nx) * (cx - nx) + (cy - ny) * (cy - ny) < r * r;
        };
        EXPECT_TRUE(p.left >= 0 && p.top >= 0 && p.right <= 1280 && p.bottom <= 720) << c.what;
        EXPECT_FALSE(meets(c.operativeX * k, c.operativeY * k, 12 * k))
            << c.what << ": covers the operative";
        EXPECT_FALSE(meets(c.targetX * k, c.targetY * k, 21 * k)) << c.what << ": covers the intel";
        EXPECT_TRUE(c.away == 0 || (c.away > 0 ? p.left > c.targetX * k : p.right < c.targetX * k))
            << c.what << ": on the operative's side";
    }
    // The smoke prompt, only while smoke is ready.
    play(0);
    game.playerPos = {300, 300};  // page (400, 400)
    game.smokeWindow = 1;
    sync();
    const Box b = rectOf("smoke");
    EXPECT_LT(std::hypot((b.left + b.right) / 2 - 400, (b.top + b.bottom) / 2 - 400), 90);
    EXPECT_FALSE(b.left < 416 && b.right > 384 && b.top < 416 && b.bottom > 384)
        << "over the operative";
    game.smokeWindow = 0;
    sync();
    EXPECT_FALSE(hasClass("smoke", "shown"));

    // A HUD panel, or the replay bar, fades while the operative or the target is under it.
    const struct {
        const char* what;
        const char* operative;
        bool directive, status, bar;
    } spots[] = {
        {"in the open", "s.operativeX = 640; s.operativeY = 400;", false, false, false},
        {"under the directive", "s.operativeX = 200; s.operativeY = 40;", true, false, false},
        {"against the timer", "s.operativeX = 1100; s.operativeY = 69;", false, true, false},
        {"under the bar", "s.operativeX = 640; s.operativeY = 700;", false, false, true},
        {"above the bar", "s.operativeX = 640; s.operativeY = 620;", false, false, false}};
    for (const auto& c : spots) {
        sync(std::string("s.replay = {watching: true, paused: false, speed: 1, clock: '00:05', "
                         "ended: false, notice: ''};") +
             c.operative);
        EXPECT_EQ(hasClass("dirpanel", "faded"), c.directive) << c.what;
        EXPECT_EQ(hasClass("statpanel", "faded"), c.status) << c.what;
        EXPECT_EQ(hasClass("replaybar", "faded"), c.bar) << c.what;
    }
    game.nearIntel = 1;
    game.optionalIntel.x = 862.0f;
    game.optionalIntel.y = 20.0f;
    sync();
    EXPECT_TRUE(hasClass("statpanel", "faded") && !hasClass("dirpanel", "faded")) << "the target";
}

TEST_P(RealPage, HintsNameTheKeysAsBoundOnTheDeviceUsedLast) {
    play(0);
    game.cipherAcquired = 1;
    game.playerPos = {game.terminal.x - 30.0f, game.terminal.y};
    const auto expectWords = [this](const std::vector<std::pair<const char*, const char*>>& words) {
        for (const auto& [id, word] : words)
            EXPECT_NE(text(id).find(word), std::string::npos) << id << ": " << text(id);
    };
    sync();
    EXPECT_EQ(text("prompt"), "[E] DECRYPT SAFE TERMINAL");
    expectWords({{"hints", "WASD"}, {"resume", "P"}, {"quit", "P / ESC"}, {"resumeop", "TAB"}});
    sync(
        "s.keyNames.interact = 'I'; s.keyNames.sneak = 'CTRL'; s.keyNames.moveUp = 'Z';"
        "s.keyNames.moveLeft = 'Q'; s.keyNames.pause = 'F9';");
    EXPECT_EQ(text("prompt"), "[I] DECRYPT SAFE TERMINAL");
    EXPECT_EQ(text("directive"),
              nj::directiveText(game).substr(0, nj::directiveText(game).size() - 3) + "[I]");
    expectWords(
        {{"hints", "ZQSD / ARROWS"}, {"hints", "CTRL"}, {"resume", "F9"}, {"quit", "F9 / ESC"}});

    game.inputDevice = nj::InputDevice::Gamepad;
    sync("s.padButtons.interact = 'X'; s.padButtons.takedown = 'A';");
    EXPECT_EQ(text("prompt"), "[X] DECRYPT SAFE TERMINAL");
    // Hidden badges keep their text: what counts is that they are not shown.
    EXPECT_TRUE(hasClassAt("#quit .key", "nokey")) << "a key the pad has no button for";
    EXPECT_FALSE(hasClass("resume", "nokey"));
    expectWords({{"prevop", "LB"}, {"nextop", "RB"}});
    game.guards.resize(1);
    game.guards[0].x = game.playerPos.x + 20.0f;
    game.guards[0].y = game.playerPos.y;
    game.takedownTarget = 0;
    sync();
    EXPECT_EQ(text("prompt"), "[X] SILENT TAKEDOWN");
    game.inputDevice = nj::InputDevice::Keyboard;
    sync();
    EXPECT_FALSE(hasClassAt("#quit .key", "nokey"));
}

TEST_P(RealPage, PauseScreenWithItsLegendAndTheSafeTerminalFit) {
    play(0);
    sync();
    EXPECT_FALSE(hasClass("pause", "shown"));
    game.gameState = nj::GameState::Paused;
    game.missionClock = 6000.0f;
    sync();
    const int rows = std::stoi(page.js("document.querySelectorAll('#legend .lg-row').length"));
    ASSERT_GE(rows, 6) << "terminal, gate, card, keycards, intel, exits";
    expectFits(
        "clear #pause .dialog | #legend, #dirpanel; clear #legend | #statpanel; "
        "line .legend-title | #legend; allin #legend, #pause .dialog | #root; "
        "cline #resume, #pretry, #pdossier, #poptions, #paudio, #pquit | #pause .dialog" +
            eachRow(rows,
                    "line #lg@ .lg-note, #lg@ .lg-name | #legend; allin #lg@ .lg-sw | #legend; "
                    "apart #lg@ .lg-name | #lg@ .lg-note; allclear #lg@ .lg-sw | #lg@ .lg-name") +
            eachRow(rows - 1, "clear #lg@ | #lg@ + .lg-row"),
        "pause");
    for (const char* word : {"SAFE TERMINAL", "VAULT GATE", "CIPHER CARD", "KEYCARD", "INTEL"})
        EXPECT_NE(text("legend").find(word), std::string::npos) << word;

    game.gameState = nj::GameState::Playing;
    game.safeActive = 1;
    sync();
    expectFits(
        "clear .safe .dialog-title | .safe-help; clear .safe-help | #track0; "
        "clear #track2 | #tap, #abort; apart #tap | #abort; line #tap, #abort | .safe; "
        "allin .tname | .safe; line .safe | #root",
        "safe");
    EXPECT_LT(heightOf(".safe .dialog-title"), 56) << "the title wraps onto a second line";
    EXPECT_FALSE(errorsLogged());
}

// A sample from each screen, against the default size.
TEST_P(RealPage, EveryScreensTextGrowsWithTheTextSize) {
    if (GetParam() == 100) GTEST_SKIP() << "the default size is the yardstick";
    const struct {
        nj::GameState state;
        const char* changes;
        std::vector<const char*> selectors;
    } samples[] = {
        {nj::GameState::Briefing, "", {"#opname0", "#filedesc", "#apname0", "#hints", "#begin"}},
        {nj::GameState::Briefing, "s.requisitionOpen = true;", {"#perkname0", ".req-help"}},
        {nj::GameState::Briefing, "s.campaignEnd = true;", {"#ce0name", ".campend-note"}},
        {nj::GameState::Playing, "", {"#directive", "#clock", "#prompt"}},
        {nj::GameState::Paused, "", {"#resume", ".lg-note"}},
        {nj::GameState::MissionComplete, "", {"#grade", "#gl0detail", "#award"}},
        {nj::GameState::MissionFailed, "", {"#failhead", "#fretry"}},
    };
    // Line boxes are whole units and buttons keep their padding: a box grows less than its text.
    const double grown = 1.05;
    loadMission(1);
    game.missionCompleted = {1, 1, 1, 1};
    game.nearIntel = 1;
    for (const auto& sample : samples) {
        game.gameState = sample.state;
        std::vector<double> before;
        sync(std::string(sample.changes) + "s.settings.textSize = 100;");
        for (const char* sel : sample.selectors) before.push_back(heightOf(sel));
        sync(sample.changes);
        for (std::size_t k = 0; k < sample.selectors.size(); ++k) {
            EXPECT_GT(before[k], 0) << sample.selectors[k];
            EXPECT_GE(heightOf(sample.selectors[k]), before[k] * grown)
                << sample.selectors[k] << " did not grow at " << GetParam() << " %";
        }
    }
}

TEST_P(RealPage, TheMouseAndTheKeysChangeTheOptionsRows) {
    recordCalls("'setVolume', 'setOption', 'lowerOption', 'listenForKey', 'resetBindings'");
    game.gameState = nj::GameState::Paused;
    game.optionsOpen = 1;
    sync();
    const Box bar = rectOf("obar");
    ASSERT_GT(bar.right, bar.left);
    page.click(static_cast<int>(bar.left + (bar.right - bar.left) * 0.42),
               static_cast<int>((bar.top + bar.bottom) / 2));
    EXPECT_EQ(calls(), "setVolume 40");

    const Box textSize = rectOf("orow4");  // TEXT SIZE
    page.click(static_cast<int>(textSize.left + 40), static_cast<int>(textSize.top + 8));
    key(37);  // left on the row the click chose
    EXPECT_EQ(calls(), "setOption 6,lowerOption 6");
    for (int i = 0; i < 60; ++i) key(40);  // the last row: reset
    calls();
    key(13);
    key(38);  // up to APPROACH 4
    key(13);
    EXPECT_EQ(calls(), "resetBindings,listenForKey 13");
}

INSTANTIATE_TEST_SUITE_P(TextSize, RealPage, ::testing::Values(100, 125, 150),
                         ::testing::PrintToStringParamName());

}  // namespace
