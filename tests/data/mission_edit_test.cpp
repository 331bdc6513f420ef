// The editor's operations and the mission text; refused values are the editor session's tests.
#include "data/mission_edit.hpp"

#include <gtest/gtest.h>

#include <limits>

#include "data/mission_text.hpp"
#include "tests/support/scratch_dir.hpp"

namespace nj {
namespace {

JsonValue shippedMission(int number) {
    return parseJson(test::fileText(std::string(NJ_SHIPPED_MISSIONS) + "/mission" +
                                    std::to_string(number) + ".json"));
}

double numberAt(const MissionEditor& editor, const MissionPiece& piece, const char* key) {
    const JsonValue* value = pieceValue(editor.mission(), piece);
    return value ? value->at(key).number : -1.0;
}

// One operation through the editor: op(mission, args..., why).
template <typename Op, typename... Args>
bool edit(MissionEditor& editor, std::string& why, Op op, Args&&... args) {
    return editor.apply([&](JsonValue& m, std::string& w) { return op(m, args..., w); }, why);
}

TEST(MissionEdit, EveryKindIsPlacedMovedSizedTurnedAndDeleted) {
    const std::vector<std::string> kinds = placeableKinds();
    EXPECT_EQ(kinds.size(), 18u);  // 8 lists, 10 single pieces
    for (const std::string& kind : kinds) {
        MissionEditor editor(parseJson("{}"));
        MissionPiece piece;
        std::string why;
        ASSERT_TRUE(edit(editor, why, placePiece, kind, 100.0, 120.0, piece))
            << kind << ": " << why;
        EXPECT_EQ(piece.key, kind);
        EXPECT_TRUE(edit(editor, why, movePiece, piece, 8.0, -16.0)) << kind << ": " << why;
        EXPECT_EQ(numberAt(editor, piece, "x"), 108.0) << kind;
        EXPECT_EQ(numberAt(editor, piece, "y"), 104.0) << kind;
        // Past the field's edge a point stops at the edge; a box that would
        // reach past it stays where it was, and the checker says why.
        if (edit(editor, why, movePiece, piece, 5000.0, 0.0)) {
            EXPECT_EQ(numberAt(editor, piece, "x"), 960.0) << kind;
        } else {
            EXPECT_NE(why.find("reaches past the field's right edge"), std::string::npos) << why;
            EXPECT_EQ(numberAt(editor, piece, "x"), 108.0) << kind;
        }
        if (edit(editor, why, resizePiece, piece, 30.0, 20.0)) {
            const bool box = pieceValue(editor.mission(), piece)->has("w");
            EXPECT_EQ(numberAt(editor, piece, box ? "h" : "r"), box ? 20.0 : 30.0) << kind;
        }
        if (edit(editor, why, rotatePiece, piece, 1.5)) {
            EXPECT_EQ(numberAt(editor, piece, "angle"), 1.5) << kind;
        }
        ASSERT_TRUE(edit(editor, why, deletePiece, piece)) << kind << ": " << why;
        EXPECT_EQ(editor.mission().at(kind).size(), 0u) << kind;  // what was placed went
        if (piece.index == kSinglePiece) {
            EXPECT_FALSE(editor.mission().has(kind)) << kind;
        }
    }
}

TEST(MissionEdit, RoutesAreEditedPointByPointAndCopiedWithTheirGuard) {
    MissionEditor editor(shippedMission(2));
    const MissionPiece guard{"guards", 0};
    std::string why;
    const std::size_t first = 0, second = 1, third = 2, last = 9;
    ASSERT_TRUE(edit(editor, why, addWaypoint, guard, first, 10.0, 20.0));
    ASSERT_TRUE(edit(editor, why, addWaypoint, guard, last, 30.0, 40.0));
    ASSERT_TRUE(edit(editor, why, addWaypoint, guard, second, 50.0, 60.0));
    ASSERT_TRUE(edit(editor, why, moveWaypoint, guard, third, 31.0, 41.0));
    const JsonValue& route = pieceValue(editor.mission(), guard)->at("patrol");
    ASSERT_EQ(route.size(), 3u);
    EXPECT_EQ(route.at(1).at("x").number, 50.0);
    EXPECT_EQ(route.at(2).at("y").number, 41.0);
    EXPECT_FALSE(edit(editor, why, moveWaypoint, guard, std::size_t{3}, 0.0, 0.0));
    EXPECT_FALSE(edit(editor, why, addWaypoint, MissionPiece{"walls", 0}, first, 1.0, 1.0));

    const JsonValue copied = *pieceValue(editor.mission(), guard);
    MissionPiece pasted;
    ASSERT_TRUE(edit(editor, why, pastePiece, guard, copied, 16.0, 16.0, pasted));
    EXPECT_EQ(pieceValue(editor.mission(), pasted)->at("patrol").size(), 3u);
    EXPECT_EQ(numberAt(editor, pasted, "x"), copied.at("x").number + 16);

    for (int i = 0; i < 3; ++i) ASSERT_TRUE(edit(editor, why, deleteWaypoint, guard, first));
    EXPECT_FALSE(pieceValue(editor.mission(), guard)->has("patrol"));  // no route, no key
    EXPECT_FALSE(edit(editor, why, moveWaypoint, guard, first, 1.0, 1.0));
    EXPECT_TRUE(edit(editor, why, addWaypoint, MissionPiece{"dynamicObjective"}, first, 5.0, 3.0));
}

TEST(MissionEdit, TwoHundredAndFiftyEditsUndoAndRedoExactly) {
    MissionEditor editor(shippedMission(3));
    std::string why;
    std::vector<std::string> texts = {editor.text()};
    for (std::size_t i = 0; i < 250; ++i) {
        ASSERT_TRUE(
            edit(editor, why, movePiece, MissionPiece{"walls", 4 + i % 5}, i % 2 ? 1.0 : -1.0, 0.5))
            << why;
        texts.push_back(editor.text());
    }
    editor.markSaved();
    for (std::size_t i = 250; i-- > 0;) {
        ASSERT_TRUE(editor.undo());
        ASSERT_EQ(editor.text(), texts[i]);
    }
    EXPECT_FALSE(editor.undo());
    EXPECT_TRUE(editor.unsaved());
    while (editor.redo()) {
    }
    EXPECT_EQ(editor.text(), texts.back());
    EXPECT_FALSE(editor.unsaved());  // back where it was saved

    // A new edit after undoing past the save can never redo back to it.
    editor.undo();
    MissionPiece placed;
    edit(editor, why, placePiece, std::string_view("walls"), 1.0, 1.0, placed);
    EXPECT_EQ(editor.redoSteps(), 0u);
    editor.undo();
    editor.redo();
    EXPECT_TRUE(editor.unsaved());
}

TEST(MissionText, WhatIsWrittenReadsBackToTheSameValue) {
    JsonValue mission = parseJson(R"({"zeta": {"b": [1, {"q": null}], "a": "x"},
        "walls": [{"h": 10, "w": 0.1, "y": 1e-7, "x": 3.0000000000000004}],
        "name": "Tab\t\"quoted\" \\ \u00e9", "guards": [], "card": {},
        "dynamicObjective": {"waypoints": [{"y": 2, "x": 1}], "type": "courier"}})");
    mission.members["walls"].items[0].members["x"].number = std::numeric_limits<double>::max();
    const std::string text = formatMissionText(mission);
    const JsonValue reread = parseJson(text);
    EXPECT_TRUE(reread == mission) << text;  // the largest double and 0.1 exactly too
    EXPECT_EQ(formatMissionText(reread), text);
    // The format's order, then keys it does not know.
    EXPECT_LT(text.find("\"name\""), text.find("\"card\""));
    EXPECT_LT(text.find("\"guards\""), text.find("\"zeta\""));
    EXPECT_NE(text.find(R"({ "type": "courier", "waypoints": [{ "x": 1, "y": 2 }] })"),
              std::string::npos)
        << text;
}

}  // namespace
}  // namespace nj
