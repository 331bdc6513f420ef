// The mission editor as the page drives it, past what the real game's mouse run does.
#include "app/editor_session.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "data/map_token.hpp"
#include "data/mission_text.hpp"
#include "game/game.hpp"
#include "game/mission_editing.hpp"
#include "tests/support/scratch_dir.hpp"

namespace {

using nj::EditorSession;
using nj::Game;
using nj::JsonValue;
using nj::MissionPiece;

class EditorSessionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directory("missions");
        live.missionsFolder = "missions";
        live.writeClipboardHook = [this](const std::string& text) { clipboard = text; };
    }
    void ask(const std::string& json) { editor.request(json); }
    // At a point of the 960 x 540 field, sent in page units.
    void pointer(const char* phase, double x, double y, const char* extra = "") {
        ask(std::string("{\"do\":\"pointer\",\"phase\":\"") + phase +
            "\",\"x\":" + std::to_string(x * 4.0 / 3.0) +
            ",\"y\":" + std::to_string(y * 4.0 / 3.0) + extra + "}");
    }
    void click(double x, double y, bool shift = false) {
        pointer("down", x, y, shift ? ",\"shift\":true" : "");
        pointer("up", x, y);
    }
    void drag(double x0, double y0, double x1, double y1) {
        pointer("down", x0, y0);
        pointer("move", (x0 + x1) / 2, (y0 + y1) / 2);
        pointer("move", x1, y1);
        pointer("up", x1, y1);
    }
    const JsonValue& mission() const { return editor.editor().mission(); }
    std::size_t count(const char* list) const { return mission().at(list).items.size(); }
    JsonValue page() { return nj::parseJson(std::string(editor.pageState())); }

    nj::test::ScratchDir scratch;
    nj::SilentAudio audio;
    Game live{&audio};
    EditorSession editor{live, nullptr};
    std::string clipboard;
    std::string why;  // an opening's refusal
};

// The hover's preview, a waypoint dragged and deleted, a saved file opening as the same bytes.
TEST_F(EditorSessionTest, PiecesPlacedWithThePointerAreInTheSavedFile) {
    ASSERT_TRUE(editor.openFile("missions/heist.json", why)) << why;  // not there yet: new
    ask(R"({"do":"tool","tool":"walls"})");
    const double revision = page().at("revision").number;
    pointer("move", 300, 150);
    EXPECT_EQ(page().at("revision").number, revision) << "hovering does not rewrite the page";
    ASSERT_TRUE(editor.marks()->placingShown);
    EXPECT_EQ(editor.marks()->placing.x, 304.0f);
    click(300, 150);
    EXPECT_EQ(editor.tool(), "select") << "one piece a click";

    ask(R"({"do":"tool","tool":"guards"})");
    click(500, 400);
    ASSERT_EQ(editor.shownGame()->guards.size(), 1u);
    EXPECT_EQ(editor.shownGame()->guards[0].x, 496.0f);
    ask(R"({"do":"tool","tool":"route"})");
    for (const auto& [x, y] : {std::pair{496, 304}, {608, 304}, {608, 400}}) click(x, y);
    const auto patrol = [&] { return mission().at("guards").items[0].at("patrol").items; };
    ASSERT_EQ(patrol().size(), 3u);
    drag(606, 302, 640, 288);
    EXPECT_EQ(patrol()[1].at("x").number, 640);
    ask(R"({"do":"delete"})");
    EXPECT_EQ(patrol().size(), 2u);

    ask(R"({"do":"save"})");
    EXPECT_FALSE(editor.editor().unsaved());
    EXPECT_EQ(nj::parseJson(nj::test::fileText("missions/heist.json")), mission());
    EditorSession again(live, nullptr);
    ASSERT_TRUE(again.openFile("missions/heist.json", why));
    EXPECT_EQ(again.editor().text(), nj::test::fileText("missions/heist.json"));
}

TEST_F(EditorSessionTest, ADragIsOneEditAndABoxSelectsWhatItTouches) {
    ASSERT_TRUE(editor.openNew());
    const std::size_t steps = editor.editor().undoSteps();
    // The new mission's gate stands at 660, 230 (24 x 120).
    drag(670, 290, 702, 322);
    ASSERT_EQ(editor.selection().size(), 1u);
    EXPECT_EQ(editor.selection()[0], (MissionPiece{"gate", nj::kSinglePiece}));
    EXPECT_EQ(mission().at("gate").at("x").number, 692) << editor.notice();
    EXPECT_EQ(mission().at("gate").at("y").number, 262);
    EXPECT_EQ(editor.editor().undoSteps(), steps + 1);
    ask(R"({"do":"undo"})");
    EXPECT_EQ(mission().at("gate").at("x").number, 660);

    // Its corner handle sizes it instead, the corner landing on the grid.
    click(670, 290);
    drag(684, 350, 700, 398);
    EXPECT_EQ(mission().at("gate").at("w").number, 704 - 660);
    EXPECT_EQ(mission().at("gate").at("h").number, 400 - 230);

    // Undoing a deletion puts a wall back mid-list: the indices shift, so the selection lets go.
    ask(R"({"do":"select","key":"walls","index":2})");
    ask(R"({"do":"delete"})");
    ask(R"({"do":"select","key":"walls","index":2})");
    ask(R"({"do":"undo"})");
    EXPECT_TRUE(editor.selection().empty());

    // A box over empty floor round the card and the terminal takes both.
    ask(R"({"do":"selectNone"})");
    drag(380, 240, 860, 330);
    EXPECT_GE(editor.selection().size(), 2u);
    // A click on nothing clears it; shift keeps adding.
    click(200, 300);
    EXPECT_TRUE(editor.selection().empty());
    click(420, 280);
    click(820, 290, true);
    EXPECT_EQ(editor.selection().size(), 2u);
    ask(R"({"do":"nudge","dx":-4,"dy":0})");
    EXPECT_EQ(mission().at("card").at("x").number, 416);
    EXPECT_EQ(mission().at("terminal").at("x").number, 816);
}

// What the page may send that is not a request changes nothing and throws nothing; a typed value
// out of range is refused with the checker's words.
TEST_F(EditorSessionTest, RequestsThatAreNotOnesAndTypedValuesOutOfRangeAreRefused) {
    ASSERT_TRUE(editor.openNew());
    const std::string before = editor.editor().text();
    for (const char* request :
         {"not json", "[]", R"({"do":3})", R"({"do":"nosuch"})",
          R"({"do":"pointer","phase":"down","x":"a","y":null})",
          R"({"do":"select","key":"walls","index":1e300})", R"({"do":"tool","tool":"dragons"})",
          R"({"do":"nudge","dx":1e400,"dy":0})", R"({"do":"approach","index":99})",
          R"({"do":"paste"})", R"({"do":"answer","choice":"save"})",
          R"({"do":"set","field":"x","value":"1"})"}) {
        ask(request);
        EXPECT_EQ(editor.editor().text(), before) << request;
        EXPECT_TRUE(editor.isOpen()) << request;
    }
    // Points off the field land on its edge.
    ask(R"({"do":"tool","tool":"keycards"})");
    click(300, -75000);
    ASSERT_EQ(count("keycards"), 1u) << editor.notice();
    EXPECT_EQ(mission().at("keycards").items[0].at("x").number, 304);
    EXPECT_EQ(mission().at("keycards").items[0].at("y").number, 0);
    click(420, 280);  // the card
    // A request, whether it changes the mission, and the start of what the player is told.
    const std::tuple<const char*, bool, const char*> cases[] = {
        {R"({"do":"set","field":"r","value":"20"})", true, ""},
        {R"({"do":"set","field":"r","value":"big"})", false, "r: \"big\" is not a number"},
        {R"({"do":"set","field":"x","value":"5000"})", false, "card.x: "},
        {R"({"do":"set","field":"nosuch","value":"1"})", false, "CIPHER CARD has no"},
    };
    for (const auto& [request, changes, notice] : cases) {
        const std::string was = editor.editor().text();
        ask(request);
        EXPECT_EQ(editor.editor().text() != was, changes) << request;
        EXPECT_EQ(editor.notice().rfind(notice, 0), 0u) << request << ": " << editor.notice();
        EXPECT_EQ(page().at("noticeIsError").boolean, !changes) << request;
    }
    EXPECT_EQ(mission().at("card").at("r").number, 20);
    // With nothing selected the fields are the mission's own words.
    ask(R"({"do":"selectNone"})");
    ask(R"({"do":"set","field":"name","value":"NIGHT HEIST"})");
    EXPECT_EQ(mission().at("name").text, "NIGHT HEIST");
    EXPECT_EQ(page().at("fields").items[0].at("value").text, "NIGHT HEIST");
    // A new mission's first save names its file after it.
    editor.tick(nj::kEditorAutosaveSeconds + 1.0f);
    EXPECT_TRUE(nj::autosaveWaiting("missions/new-operation.json"));
    ask(R"({"do":"save"})");
    EXPECT_EQ(editor.path(), "missions/night-heist.json");
    EXPECT_TRUE(std::filesystem::is_regular_file("missions/night-heist.json"));
    EXPECT_FALSE(nj::autosaveWaiting("missions/new-operation.json")) << "no orphan left behind";
    ask(R"({"do":"set","field":"name","value":"OTHER"})");
    ask(R"({"do":"save"})");
    EXPECT_EQ(editor.path(), "missions/night-heist.json") << "a saved file keeps its name";
}

// Test play runs the mission in a game of its own; Esc comes back to the editor as it was.
TEST_F(EditorSessionTest, TestPlayReturnsToTheEditorAsItWas) {
    ASSERT_TRUE(editor.openNew());
    ask(R"({"do":"tool","tool":"walls"})");
    click(200, 200);
    click(420, 280);
    const std::string text = editor.editor().text();
    const std::size_t undo = editor.editor().undoSteps();
    const auto selection = editor.selection();

    ask(R"({"do":"test"})");
    ASSERT_TRUE(editor.testing());
    Game* test = editor.keyGame();
    ASSERT_NE(test, nullptr);
    EXPECT_EQ(test->gameState, nj::GameState::Playing);
    EXPECT_EQ(editor.marks(), nullptr);
    EXPECT_EQ(page().at("mode").text, "test");
    ask(R"({"do":"delete"})");  // the editor's requests wait while testing
    test->onKeyDown('D');
    for (int i = 0; i < 30; ++i) editor.tick(1.0f / 60.0f);
    EXPECT_GT(test->missionClock, 0.4f);
    EXPECT_FALSE(editor.takeKeyDown('W'));
    EXPECT_TRUE(editor.takeKeyDown(nj::vk::kEsc));

    EXPECT_FALSE(editor.testing());
    EXPECT_EQ(editor.keyGame(), nullptr);
    EXPECT_EQ(editor.editor().text(), text);
    EXPECT_EQ(editor.editor().undoSteps(), undo);
    EXPECT_EQ(editor.selection(), selection);
    EXPECT_EQ(live.gameState, nj::GameState::Briefing) << "the player's game never moved";
    for (int i = 0; i < 2; ++i) ask(R"({"do":"undo"})");
    EXPECT_EQ(editor.editor().text(), nj::formatMissionText(nj::parseJson(nj::newMissionText())));

    // The end screen's Enter, or the game's own way to the dossier, come back too.
    ask(R"({"do":"test"})");
    editor.keyGame()->gameState = nj::GameState::MissionFailed;
    EXPECT_FALSE(editor.takeKeyDown('R')) << "a retry is the test game's";
    EXPECT_TRUE(editor.takeKeyDown(nj::vk::kEnter));
    EXPECT_FALSE(editor.testing());
    ask(R"({"do":"test"})");
    editor.keyGame()->openDossier();
    editor.tick(1.0f / 60.0f);
    EXPECT_FALSE(editor.testing());
}

TEST_F(EditorSessionTest, LeavingWithUnsavedWorkAsksAndTheAutosaveKeepsIt) {
    ASSERT_TRUE(editor.openFile("missions/heist.json", why));
    ask(R"({"do":"save"})");
    ask(R"({"do":"tool","tool":"lasers"})");
    click(300, 300);
    ask(R"({"do":"leave"})");
    EXPECT_TRUE(editor.isOpen());
    EXPECT_EQ(editor.asking(), "leave");
    ask(R"({"do":"undo"})");  // nothing else while it asks
    EXPECT_EQ(count("lasers"), 1u);
    ask(R"({"do":"answer","choice":"cancel"})");
    EXPECT_TRUE(editor.isOpen());
    EXPECT_EQ(editor.asking(), "");

    // The autosave follows the last change by a few seconds, not every frame.
    editor.tick(1.0f);
    EXPECT_FALSE(nj::autosaveWaiting("missions/heist.json"));
    for (int i = 0; i < 5; ++i) editor.tick(1.0f);
    EXPECT_TRUE(nj::autosaveWaiting("missions/heist.json"));

    // A game closed now keeps it; the next opening brings it back, one undo from the file.
    editor.keepUnsavedWork();
    EditorSession next(live, nullptr);
    ASSERT_TRUE(next.openFile("missions/heist.json", why));
    EXPECT_EQ(next.editor().mission().at("lasers").items.size(), 1u);
    EXPECT_TRUE(next.editor().unsaved());
    next.request(R"({"do":"undo"})");
    EXPECT_EQ(next.editor().mission().at("lasers").items.size(), 0u);

    ask(R"({"do":"leave"})");
    ask(R"({"do":"answer","choice":"discard"})");
    EXPECT_FALSE(editor.isOpen());
    EXPECT_FALSE(nj::autosaveWaiting("missions/heist.json"));
    EXPECT_TRUE(
        nj::parseJson(nj::test::fileText("missions/heist.json")).at("lasers").items.empty());
}

// The live check's problems name their pieces; a mission with errors has no code.
TEST_F(EditorSessionTest, TheLiveCheckListsProblemsAndWithholdsTheCode) {
    std::ofstream("missions/faulty.json")
        << R"({"name":"F","walls":[{"x":10,"y":10,"w":0,"h":10}]})";
    ASSERT_TRUE(editor.openFile("missions/faulty.json", why));
    editor.finishChecking();
    const JsonValue problems = page().at("problems");
    ASSERT_FALSE(problems.items.empty());
    EXPECT_EQ(problems.items[0].at("severity").text, "error");
    EXPECT_EQ(problems.items[0].at("key").text, "walls");
    EXPECT_EQ(problems.items[0].at("index").number, 0);
    ask(R"({"do":"copyCode"})");
    EXPECT_TRUE(clipboard.empty());
    EXPECT_TRUE(page().at("noticeIsError").boolean);
    // Mended, the code is the mission's own.
    ask(R"({"do":"select","key":"walls","index":0})");
    ask(R"({"do":"set","field":"w","value":"40"})");
    editor.finishChecking();
    ask(R"({"do":"copyCode"})");
    EXPECT_EQ(nj::decodeMapToken(clipboard), editor.editor().text());
}

// A campaign operation is edited as a copy in the player's folder; a closed editor takes "open".
TEST_F(EditorSessionTest, TheDossierOpensACopyOfACampaignOperation) {
    const std::string json = nj::newMissionText();
    live.setCampaignMaps({nj::encodeMapToken(json, nj::mapSaltFor(json))});
    editor.request(R"({"do":"save"})");
    EXPECT_FALSE(editor.isOpen());
    editor.request(R"({"do":"open","what":"selected"})");
    ASSERT_TRUE(editor.isOpen());
    EXPECT_EQ(editor.path(), "missions/new-operation-copy.json");
    EXPECT_EQ(mission().at("name").text, "NEW OPERATION copy");
    EXPECT_FALSE(nj::autosaveWaiting(editor.path())) << "nothing on disk until it is saved";
    ask(R"({"do":"save"})");
    ask(R"({"do":"leave"})");
    EXPECT_FALSE(editor.isOpen());
    ASSERT_EQ(live.customMissions.size(), 1u) << "the dossier lists the saved copy at once";
    live.selectCustomMissionFromPage(0);
    editor.request(R"({"do":"open","what":"selected"})");
    EXPECT_EQ(editor.path(), "missions/new-operation-copy.json") << "a custom one in place";

    // A mission code's file is never overwritten with JSON: its copy is.
    std::ofstream("missions/shared.nj3m") << nj::encodeMapToken(json, nj::mapSaltFor(json));
    ASSERT_TRUE(editor.openFile("missions/shared.nj3m", why)) << why;
    EXPECT_EQ(editor.path(), "missions/new-operation.json");
    ask(R"({"do":"save"})");
    EXPECT_EQ(nj::decodeMapToken(nj::test::fileText("missions/shared.nj3m")), json);
}

}  // namespace
