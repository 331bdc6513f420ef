// The mission editor's page on the shipped page, with a recording stand-in for its command.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/enum_names.hpp"
#include "tests/ui/page/real_page.hpp"

namespace {

// A mission mid-edit: many kinds, more pieces than the list shows, a guard selected with a field
// of each kind, and problems of both severities; the editor's requests go to window.__sent.
constexpr const char* kEditorState = R"JS(
window.__sent = [];
window.game = { editor: function (r) { window.__sent.push(r); } };
window.__editor = (function () {
  var kinds = ["walls", "furniture", "doors", "keycards", "lasers", "cameras", "plates", "guards", "card",
               "gate", "terminal", "exit", "altExit", "intel", "directive", "spawns"];
  var labels = ["WALL", "FURNITURE", "DOOR", "KEYCARD", "LASER", "CAMERA", "PLATE", "GUARD", "CIPHER CARD",
                "VAULT GATE", "SAFE TERMINAL", "EXIT", "ALT EXIT", "INTEL", "DIRECTIVE", "SPAWN"];
  var pieces = [];
  for (var i = 0; i < 30; i++) pieces.push({ key: "walls", index: i, label: "WALL " + (i + 1), selected: false });
  pieces.push({ key: "guards", index: 0, label: "GUARD 1", selected: true });
  pieces.push({ key: "card", index: -1, label: "CIPHER CARD", selected: false });
  return {
    revision: 17, mode: "edit", name: "the-harbour-museum-after-dark-remix.json", unsaved: true, tool: "select",
    kinds: kinds.map(function (k, i) { return { kind: k, label: labels[i] }; }),
    grid: 16, approach: 2, undo: 3, redo: 0, pieces: pieces,
    fields: [
      { name: "x", kind: "number", value: "960", min: 0, max: 960 }, { name: "y", kind: "number", value: "88.5", min: 0, max: 540 },
      { name: "speed", kind: "number", value: "60", min: 10, max: 200 }, { name: "angle", kind: "number", value: "270", min: 0, max: 359 },
      { name: "color", kind: "choice", value: "red", choices: ["red", "blue", "green", "yellow"] },
      { name: "alert", kind: "choice", value: "true", choices: ["true", "false"] },
      { name: "label", kind: "text", value: "VAULT CORRIDOR WEST WING" }, { name: "patrol", kind: "info", value: "4 waypoints" }
    ],
    problems: [
      { severity: "warning", text: "guards[0]: its patrol passes within 20 px of the spawn of approach 2 (SECURITY UPLINK HACK)", key: "guards", index: 0 },
      { severity: "error", text: "walls[3].w: must be more than 0", key: "walls", index: 3 },
      { severity: "error", text: "exit: the mission has no exit", key: "", index: -1 },
      { severity: "warning", text: "intel: cannot be reached from approach 4", key: "intel", index: -1 }
    ],
    notice: "speed: must be between 10 and 200, and this notice is as long as a checker message gets",
    noticeIsError: true, asking: ""
  };
})();
)JS";

// Field rows in kEditorState's order.
constexpr int kX = 0, kY = 1, kSpeed = 2, kLabel = 6;
constexpr int kBackspace = 8, kTab = 9, kEnter = 13, kShift = 16, kCtrl = 17, kEsc = 27, kEnd = 35,
              kHome = 36, kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kDelete = 46;

class EditorPage : public pagetest::RealPage {
  protected:
    void SetUp() override {
        pagetest::RealPage::SetUp();
        if (HasFatalFailure()) return;
        page.eval(kEditorState);
    }
    // The game's state with the editor open; `changes` run on s, and on e (s.editor).
    void edit(const std::string& changes = "") {
        sync("var e = s.editor = JSON.parse(JSON.stringify(window.__editor)); " + changes);
    }
    // Every request sent since the last call, as JSON texts joined by " | ".
    std::string sent() {
        const std::string all = page.js("window.__sent.join(' | ')");
        page.eval("window.__sent = [];");
        return all;
    }
    // A key through the page's own dispatch, `held` down around it; true when the page kept it.
    bool down(int code, int held = 0) {
        if (held) down(held);
        const bool kept =
            page.js("String(!__nj.dispatch(null, 'keydown', { keyCode: " + std::to_string(code) +
                    " }))") == "true";
        if (held) up(held);
        return kept;
    }
    void up(int code) {
        page.eval("__nj.dispatch(null, 'keyup', { keyCode: " + std::to_string(code) + " });");
    }
    void type(const std::string& text) {  // no quotes in it
        page.eval("__nj.dispatch(null, 'keypress', { key: '" + text + "' });");
    }
    std::string fieldBox(int row) {
        return "#edfields .frow:nth-child(" + std::to_string(row + 1) + ") .fbox";
    }
    std::string fieldText(int row) {
        return page.js("document.querySelector('" + fieldBox(row) + "').textContent");
    }
    // Clicks the field, selects all of it and types over it.
    void retype(int row, const std::string& text) {
        clickAt(fieldBox(row));
        down('A', kCtrl);
        type(text);
    }
    // Whether the pointer finds the element at its centre: a hidden one keeps its last box.
    bool shown(const std::string& selector) {
        const Box b = rectAt(selector);
        if (!(b.right > b.left)) return false;
        page.eval(
            "window.__hit = null; if (!window.__probe) { window.__probe = true;"
            " window.addEventListener('mousemove', function (e) { window.__hit = e.target; }); }");
        page.view->fireMouseEvent(
            {web::MouseEventType::MouseMoved, static_cast<int>((b.left + b.right) / 2),
             static_cast<int>((b.top + b.bottom) / 2), web::MouseButton::Left});
        return page.js("!!window.__hit && document.querySelector('" + selector +
                       "').contains(window.__hit)") == "true";
    }
    // The page's pixels, repainted whole.
    std::vector<std::uint32_t> pixels() {
        page.frame();
        EXPECT_TRUE(page.matchesAFullRepaint());
        return page.pixels();
    }
};

TEST_P(EditorPage, TheDossierOpensTheEditorWhichReplacesEveryScreenTillTestPlay) {
    loadMission(0);
    sync();
    clickAt("#ednew");
    clickAt("#edopen");
    down('M');
    down('M', kShift);
    EXPECT_EQ(sent(), R"({"do":"open","what":"new"} | {"do":"open","what":"selected"} | )"
                      R"({"do":"open","what":"new"} | {"do":"open","what":"selected"})");
    game.gameState = nj::GameState::Playing;
    edit();
    EXPECT_TRUE(shown("#edbar"));
    EXPECT_TRUE(shown("#edpanel"));
    for (const char* other : {"#dirpanel", "#statpanel", "#briefing", "#edteststrip"})
        EXPECT_FALSE(shown(other)) << other;
    EXPECT_EQ(text("edname"), "the-harbour-museum-after-dark-remix.json");
    EXPECT_TRUE(hasClass("edunsaved", "shown"));
    EXPECT_FALSE(hasClass("edundo", "disabled"));
    EXPECT_TRUE(hasClass("edredo", "disabled"));
    EXPECT_EQ(text("edapproachlabel"), nj::approachName(nj::Approach(2)));

    edit("e.mode = 'test';");
    EXPECT_TRUE(shown("#dirpanel"));
    EXPECT_TRUE(shown("#edteststrip"));
    EXPECT_FALSE(shown("#edbar"));
    sync();
    EXPECT_FALSE(shown("#edteststrip") || shown("#edbar"));
    EXPECT_FALSE(errorsLogged());
}

// The same state twice paints nothing and builds no row again; after editing, every screen's
// pixels are those from before it.
TEST_P(EditorPage, EveryScreenRedrawsOnlyWhatChangedAndAsBeforeAfterEditing) {
    loadMission(2);
    sync();
    page.eval("window.__op0 = document.getElementById('op0');");
    for (nj::GameState state :
         {nj::GameState::Briefing, nj::GameState::Playing, nj::GameState::Paused,
          nj::GameState::MissionComplete, nj::GameState::MissionFailed}) {
        game.gameState = state;
        sync();
        const std::vector<std::uint32_t> before = pixels();
        const std::string again = "window.syncGameState(window.__state);";
        page.eval(again);
        EXPECT_FALSE(page.view->needsPaint()) << int(state);
        edit();
        edit("e.mode = 'test';");
        sync();
        EXPECT_TRUE(pixels() == before) << "after editing, screen " << int(state);
        page.eval("window.__state.clock = '99:59'; " + again);
        EXPECT_TRUE(page.view->needsPaint()) << "a new clock is seen, " << int(state);
    }
    EXPECT_EQ(page.js("window.__op0 === document.getElementById('op0')"), "true");
    EXPECT_FALSE(errorsLogged());
}

// Every key the field takes is kept from the game; Up steps the number within its range.
TEST_P(EditorPage, ANumberFieldSendsWhatWasTypedWhenCommitted) {
    edit();
    retype(kSpeed, "1x5");  // a letter cannot go into a number
    EXPECT_TRUE(down(kBackspace));
    type("20");
    EXPECT_TRUE(down(kHome));
    EXPECT_TRUE(down(kRight));
    EXPECT_TRUE(down(kEnd, kShift));
    type("3.5");
    EXPECT_EQ(fieldText(kSpeed), "13.5");
    EXPECT_TRUE(down(kLeft));
    EXPECT_TRUE(down(kLeft));
    EXPECT_TRUE(down(kDelete));  // the point
    EXPECT_EQ(sent(), "") << "nothing is sent before Enter";
    EXPECT_TRUE(down(kEnter));
    EXPECT_EQ(sent(), R"({"do":"set","field":"speed","value":"135"})");
    EXPECT_FALSE(down('Q')) << "after Enter the keys are the editor's again";
    EXPECT_EQ(sent(), R"({"do":"rotate","by":-15})");

    clickAt(fieldBox(kSpeed));
    EXPECT_TRUE(down(kUp));
    EXPECT_EQ(sent(), R"({"do":"set","field":"speed","value":"61"})");
    down(kEsc);
    clickAt(fieldBox(kX));
    EXPECT_TRUE(down(kUp));
    EXPECT_EQ(sent(), "") << "x is at its largest";
    EXPECT_TRUE(down(kDown));
    EXPECT_EQ(sent(), R"({"do":"set","field":"x","value":"959"})");
}

// Tab skips what cannot be edited and wraps round.
TEST_P(EditorPage, EscCancelsAndTabCommitsAndMovesOn) {
    edit();
    // A text longer than its box shows the stretch the caret is in.
    retype(kLabel, "THE LONG GALLERY BEHIND THE WEST WING VAULT");
    const std::string caret = fieldBox(kLabel) + " .caret";
    expectFits("allin " + caret + " | " + fieldBox(kLabel), "the caret at the end");
    std::string shownText = fieldText(kLabel);
    EXPECT_EQ(shownText.substr(shownText.size() - 5), "VAULT");
    down(kHome);
    EXPECT_EQ(fieldText(kLabel).substr(0, 3), "THE");
    down(kEsc);

    retype(kLabel, "ATRIUM \xc3\x89TAGE");
    EXPECT_EQ(fieldText(kLabel), "ATRIUM\xc2\xa0\xc3\x89TAGE");
    EXPECT_TRUE(down(kEsc));
    EXPECT_EQ(sent(), "");
    EXPECT_EQ(fieldText(kLabel), "VAULT CORRIDOR WEST WING");
    EXPECT_FALSE(down(kEsc)) << "the next Esc is the editor's";
    EXPECT_EQ(sent(), R"({"do":"leave"})");

    retype(kY, "40");
    EXPECT_TRUE(down(kTab));
    type("61");
    EXPECT_TRUE(down(kTab, kShift));  // back to y, its whole value selected
    type("2");
    EXPECT_TRUE(down(kEnter));
    EXPECT_EQ(
        sent(),
        R"({"do":"set","field":"y","value":"40"} | {"do":"set","field":"speed","value":"61"} | )"
        R"({"do":"set","field":"y","value":"2"})");
    clickAt(fieldBox(kLabel));
    EXPECT_TRUE(down(kTab));  // past patrol, which cannot be edited, round to x
    type("7");
    down(kEnter);
    EXPECT_EQ(sent(), R"({"do":"set","field":"x","value":"7"})");
}

TEST_P(EditorPage, ChoicesAndColoursSendTheChosenValue) {
    edit();
    EXPECT_EQ(page.js("document.querySelectorAll('#edfields .swatch').length"), "4");
    clickAt("#edfields .swatch[data-choice=blue]");
    EXPECT_EQ(sent(), R"({"do":"set","field":"color","value":"blue"})");
    EXPECT_TRUE(down(kLeft));
    EXPECT_EQ(sent(), R"({"do":"set","field":"color","value":"yellow"})");
    EXPECT_TRUE(down(kTab));
    EXPECT_TRUE(down(kRight));
    EXPECT_EQ(sent(), R"({"do":"set","field":"alert","value":"false"})");
    // The page shows the game's values, not what it asked for.
    EXPECT_NE(text("edfields").find("TRUE"), std::string::npos);
    EXPECT_TRUE(hasClassAt("#edfields .swatch[data-choice=red]", "chosen"));
    EXPECT_FALSE(hasClassAt("#edfields .swatch[data-choice=blue]", "chosen"));
    edit("e.revision = 18; e.fields[4].value = 'green';");
    EXPECT_TRUE(hasClassAt("#edfields .swatch[data-choice=green]", "chosen"));
    EXPECT_FALSE(hasClassAt("#edfields .swatch[data-choice=red]", "chosen"));
}

// The same revision changes nothing shown; typing survives a new one of the same selection.
TEST_P(EditorPage, TheListsFollowTheRevisionKeepWhatIsTypedAndListErrorsFirst) {
    edit();
    const std::string guard = "GUARD 1";
    EXPECT_NE(text("edlist").find(guard), std::string::npos) << "the selection is in view";
    EXPECT_NE(text("edlistmore").find("OF 32"), std::string::npos) << text("edlistmore");
    edit("e.pieces[30].label = 'RENAMED';");
    EXPECT_NE(text("edlist").find(guard), std::string::npos) << "same revision, same list";
    edit("e.pieces[30].label = 'RENAMED'; e.revision = 18;");
    EXPECT_NE(text("edlist").find("RENAMED"), std::string::npos);

    retype(kSpeed, "99");
    edit("e.revision = 19; e.fields[0].value = '400';");
    EXPECT_EQ(fieldText(kSpeed), "99");
    EXPECT_EQ(fieldText(kX), "400");
    edit(
        "e.revision = 20; e.pieces[30].selected = false; e.pieces[31].selected = true;"
        "e.fields = [{ name: 'x', kind: 'number', value: '5', min: 0, max: 960 }];");
    EXPECT_EQ(fieldText(0), "5");
    EXPECT_FALSE(down(kEnter)) << "a new selection leaves no field typed in";
    EXPECT_EQ(sent(), "");

    EXPECT_EQ(text("edproblem0"), "ERROR   walls[3].w: must be more than 0");
    EXPECT_EQ(text("edproblem1"), "ERROR   exit: the mission has no exit");
    EXPECT_TRUE(hasClass("edproblem2", "warning"));
    clickAt("#edproblem0");
    EXPECT_EQ(sent(), R"({"do":"select","key":"walls","index":3,"add":false})");
    clickAt("#edproblem1");
    EXPECT_EQ(sent(), "");
    edit("e.revision = 30; e.problems = [];");
    EXPECT_EQ(text("edproblemcount"), "NONE: READY TO PLAY");
    EXPECT_FALSE(shown("#edproblem0"));
}

TEST_P(EditorPage, TheEditorsKeysSendTheirRequests) {
    const struct {
        const char* changes;
        std::vector<int> held;
        int key;
        const char* request;
    } cases[] = {
        {"", {kCtrl}, 'Z', R"({"do":"undo"})"},
        {"", {kCtrl, kShift}, 'Z', R"({"do":"redo"})"},
        {"", {kCtrl}, 'C', R"({"do":"copy"})"},
        {"", {kCtrl}, 'V', R"({"do":"paste"})"},
        {"", {kCtrl}, 'S', R"({"do":"save"})"},
        {"", {}, kDelete, R"({"do":"delete"})"},
        {"e.tool = 'route';", {}, kBackspace, R"({"do":"deleteWaypoint"})"},
        {"", {}, kLeft, R"({"do":"nudge","dx":-1,"dy":0})"},
        {"", {kShift}, kDown, R"({"do":"nudge","dx":0,"dy":16})"},
        {"e.grid = 0;", {kShift}, kUp, R"({"do":"nudge","dx":0,"dy":-8})"},
        {"", {}, 'E', R"({"do":"rotate","by":15})"},
        {"", {}, 'G', R"({"do":"grid"})"},
        {"", {}, 'T', R"({"do":"test"})"},
        {"", {}, kEsc, R"({"do":"leave"})"},
    };
    int revision = 40;
    for (const auto& c : cases) {
        edit(std::string(c.changes) + "e.revision = " + std::to_string(++revision) + ";");
        for (int held : c.held) down(held);
        down(c.key);
        for (int held : c.held) up(held);
        EXPECT_EQ(sent(), c.request) << "key " << c.key;
    }
}

// Keys and a click answer it; on a pad the d-pad walks the buttons instead of nudging.
TEST_P(EditorPage, TheLeaveQuestionAnswersKeysClicksAndThePad) {
    edit("e.asking = 'leave';");
    EXPECT_TRUE(shown("#edask .dialog"));
    down('Q');
    down('S');
    down(kEsc);
    clickAt("#edaskdiscard");
    EXPECT_EQ(sent(), R"({"do":"answer","choice":"save"} | {"do":"answer","choice":"cancel"} | )"
                      R"({"do":"answer","choice":"discard"})");
    edit("e.revision = 60;");
    EXPECT_FALSE(shown("#edask .dialog"));
    EXPECT_FALSE(shown("#edpadnote"));

    game.inputDevice = nj::InputDevice::Gamepad;
    edit("e.revision = 61;");
    EXPECT_TRUE(shown("#edpadnote")) << "editing needs a mouse";
    EXPECT_TRUE(hasClass("edtool-select", "padfocus"));
    down(kRight);
    EXPECT_TRUE(hasClass("edtool-route", "padfocus"));
    EXPECT_FALSE(hasClass("edtool-select", "padfocus"));
    down(kEnter);
    EXPECT_EQ(sent(), R"({"do":"tool","tool":"route"})");
    edit("e.asking = 'leave'; e.revision = 70;");
    EXPECT_TRUE(hasClass("edasksave", "padfocus"));
    down(kDown);
    down('E');  // the pad's A while the edited mission is what the pad plays
    EXPECT_EQ(sent(), R"({"do":"answer","choice":"discard"})");
}

// With the longest names and texts, the pad's note, the question and the test strip.
TEST_P(EditorPage, EverythingFitsThePage) {
    game.inputDevice = nj::InputDevice::Gamepad;
    edit();
    expectFits(
        "allin #edbar .btn, #edbar .edfile | #edbar; "
        "allin #edbar, #edpanel, #edprobpanel, #ednotice, #edpadnote | #root; "
        "clear #edbar, #edprobpanel, #ednotice | #edpanel; clear #ednotice | #edprobpanel; "
        "clear #edpadnote | #ednotice; allin .edrow.shown | #edlist; "
        "allin #edpanel .frow, #edlistnav, .fbox | #edpanel; "
        "allin .edproblem.shown | #edprobpanel; apart #edproblemcount | #edprobnav; "
        "line .edhead .heading | #edpanel; apart .edhead .heading | #edside" +
            eachRow(
                8, "apart #edfields .frow:nth-child(@) .fname | #edfields .frow:nth-child(@) .fbox",
                1),
        "editing");
    EXPECT_GE(std::stoi(page.js("document.querySelectorAll('#edlist .edrow.shown').length")), 3)
        << "the piece list keeps room for a few rows";

    edit("e.asking = 'leave'; e.revision = 80;");
    expectFits(
        "cline #edasksave, #edaskkeep | #edask .dialog; allin #edask .btn | #edask .dialog; "
        "wrap #edask .ask-note | #edask .dialog",
        "the question");
    edit("e.mode = 'test';");
    expectFits("cline #edteststrip | #root", "test play");
    EXPECT_FALSE(errorsLogged());
}

INSTANTIATE_TEST_SUITE_P(TextSize, EditorPage, ::testing::Values(100, 125, 150),
                         ::testing::PrintToStringParamName());

}  // namespace
