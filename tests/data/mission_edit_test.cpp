// The editor's operations on a mission value: every kind placed, moved,
// sized, turned and deleted; values the checker would refuse refused with
// its words; routes edited; undo and redo far back; unsaved changes known.
#include "data/mission_edit.hpp"

#include <gtest/gtest.h>

#include "data/mission_text.hpp"
#include "tests/support/scratch_dir.hpp"

namespace nj {
namespace {

JsonValue shippedMission(int number) {
    return parseJson(test::fileText(std::string(NJ_SHIPPED_MISSIONS) + "/mission" +
                                    std::to_string(number) + ".json"));
}

JsonValue numberValue(double v) {
    JsonValue j;
    j.type = JsonType::Number;
    j.number = v;
    return j;
}

double numberAt(const MissionEditor& editor, const MissionPiece& piece, const char* key) {
    const JsonValue* value = pieceValue(editor.mission(), piece);
    return value ? value->at(key).number : -1.0;
}

TEST(MissionEdit, EveryKindIsPlacedMovedSizedTurnedAndDeleted) {
    const std::vector<std::string> kinds = placeableKinds();
    EXPECT_EQ(kinds.size(), 18u);  // 8 lists, 10 single pieces
    for (const std::string& kind : kinds) {
        MissionEditor editor(parseJson("{}"));
        const std::string before = editor.text();
        MissionPiece piece;
        std::string why;
        ASSERT_TRUE(editor.apply(
            [&](JsonValue& m, std::string& w) { return placePiece(m, kind, 100, 120, piece, w); },
            why))
            << kind << ": " << why;
        EXPECT_EQ(piece.key, kind);
        EXPECT_TRUE(editor.apply(
            [&](JsonValue& m, std::string& w) { return movePiece(m, piece, 8, -16, w); }, why))
            << kind << ": " << why;
        EXPECT_EQ(numberAt(editor, piece, "x"), 108.0) << kind;
        EXPECT_EQ(numberAt(editor, piece, "y"), 104.0) << kind;
        // Past the field's edge a point stops at the edge; a box that would
        // reach past it stays where it was, and the checker says why.
        if (editor.apply(
                [&](JsonValue& m, std::string& w) { return movePiece(m, piece, 5000, 0, w); },
                why)) {
            EXPECT_EQ(numberAt(editor, piece, "x"), 960.0) << kind;
        } else {
            EXPECT_NE(why.find("reaches past the field's right edge"), std::string::npos) << why;
            EXPECT_EQ(numberAt(editor, piece, "x"), 108.0) << kind;
        }
        if (editor.apply(
                [&](JsonValue& m, std::string& w) { return resizePiece(m, piece, 30, 20, w); },
                why)) {
            const bool box = pieceValue(editor.mission(), piece)->has("w");
            EXPECT_EQ(numberAt(editor, piece, box ? "h" : "r"), box ? 20.0 : 30.0) << kind;
        }
        if (editor.apply(
                [&](JsonValue& m, std::string& w) { return rotatePiece(m, piece, 1.5, w); }, why)) {
            EXPECT_EQ(numberAt(editor, piece, "angle"), 1.5) << kind;
        }
        ASSERT_TRUE(editor.apply(
            [&](JsonValue& m, std::string& w) { return deletePiece(m, piece, w); }, why))
            << kind << ": " << why;
        if (piece.index != kSinglePiece) {
            // The list is as it was: what was placed is what went.
            EXPECT_EQ(editor.mission().at(kind).size(), parseJson(before).at(kind).size()) << kind;
        } else {
            EXPECT_FALSE(editor.mission().has(kind)) << kind;
        }
    }
}

TEST(MissionEdit, WhatTheCheckerWouldRefuseIsRefusedWithItsWords) {
    MissionEditor editor(shippedMission(1));
    const std::string before = editor.text();
    const MissionPiece wall{"walls", 0};
    const MissionPiece camera{"cameras", 1};
    struct Case {
        MissionPiece piece;
        const char* key;
        JsonValue value;
        const char* why;
    };
    JsonValue word;
    word.type = JsonType::String;
    word.text = "fast";
    JsonValue colour = word;
    colour.text = "gold";
    const Case cases[] = {
        {wall, "w", numberValue(-5), "walls[0].w: must be more than 0"},
        {camera, "range", numberValue(5000), "cameras[1].range: 5000 is outside"},
        {camera, "speed", word, "cameras[1].speed: expected a number"},
        {{"doors", 0}, "color", colour, "\"gold\" is not one of"},
        {wall, "colour", numberValue(1), "has no \"colour\""},
        {{"walls", 99}, "w", numberValue(5), "nothing of the mission is there"},
    };
    for (const Case& c : cases) {
        std::string why;
        EXPECT_FALSE(editor.apply(
            [&](JsonValue& m, std::string& w) {
                return setPieceValue(m, c.piece, c.key, c.value, w);
            },
            why));
        EXPECT_NE(why.find(c.why), std::string::npos) << why;
    }
    EXPECT_EQ(editor.text(), before);
    EXPECT_EQ(editor.undoSteps(), 0u);

    // A full list takes no more.
    std::string why;
    MissionPiece placed;
    for (int i = 0; i < 16; ++i)
        editor.apply([&](JsonValue& m,
                         std::string& w) { return placePiece(m, "guards", 50, 50, placed, w); },
                     why);
    EXPECT_EQ(editor.mission().at("guards").size(), 16u);
    EXPECT_NE(why.find("at most 16"), std::string::npos) << why;
}

TEST(MissionEdit, RoutesAreEditedPointByPointAndCopiedWithTheirGuard) {
    MissionEditor editor(shippedMission(2));
    const MissionPiece guard{"guards", 0};
    std::string why;
    auto edit = [&](const MissionEdit& e) { return editor.apply(e, why); };
    ASSERT_TRUE(
        edit([&](JsonValue& m, std::string& w) { return addWaypoint(m, guard, 0, 10, 20, w); }));
    ASSERT_TRUE(
        edit([&](JsonValue& m, std::string& w) { return addWaypoint(m, guard, 9, 30, 40, w); }));
    ASSERT_TRUE(
        edit([&](JsonValue& m, std::string& w) { return addWaypoint(m, guard, 1, 50, 60, w); }));
    ASSERT_TRUE(
        edit([&](JsonValue& m, std::string& w) { return moveWaypoint(m, guard, 2, 31, 41, w); }));
    const JsonValue& route = pieceValue(editor.mission(), guard)->at("patrol");
    ASSERT_EQ(route.size(), 3u);
    EXPECT_EQ(route.at(1).at("x").number, 50.0);
    EXPECT_EQ(route.at(2).at("y").number, 41.0);
    EXPECT_FALSE(
        edit([&](JsonValue& m, std::string& w) { return moveWaypoint(m, guard, 3, 0, 0, w); }));
    EXPECT_FALSE(edit([&](JsonValue& m, std::string& w) {
        return addWaypoint(m, MissionPiece{"walls", 0}, 0, 1, 1, w);
    }));

    const JsonValue copied = *pieceValue(editor.mission(), guard);
    MissionPiece pasted;
    ASSERT_TRUE(edit([&](JsonValue& m, std::string& w) {
        return pastePiece(m, guard, copied, 16, 16, pasted, w);
    }));
    EXPECT_EQ(pieceValue(editor.mission(), pasted)->at("patrol").size(), 3u);
    EXPECT_EQ(numberAt(editor, pasted, "x"), copied.at("x").number + 16);

    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(
            edit([&](JsonValue& m, std::string& w) { return deleteWaypoint(m, guard, 0, w); }));
    EXPECT_FALSE(pieceValue(editor.mission(), guard)->has("patrol"));  // no route, no key
    JsonValue untouched = editor.mission();
    EXPECT_FALSE(moveWaypoint(untouched, guard, 0, 1, 1, why));
    EXPECT_EQ(formatMissionText(untouched), editor.text());
    // The directive's route is edited the same way.
    EXPECT_TRUE(edit([&](JsonValue& m, std::string& w) {
        return addWaypoint(m, MissionPiece{"dynamicObjective"}, 0, 500, 300, w);
    }));
}

TEST(MissionEdit, TwoHundredAndFiftyEditsUndoAndRedoExactly) {
    MissionEditor editor(shippedMission(3));
    const std::string start = editor.text();
    std::string why;
    std::vector<std::string> texts;
    for (int i = 0; i < 250; ++i) {
        ASSERT_TRUE(editor.apply(
            [&](JsonValue& m, std::string& w) {
                return movePiece(m, MissionPiece{"walls", static_cast<std::size_t>(4 + i % 5)},
                                 i % 2 ? 1 : -1, 0.5, w);
            },
            why))
            << why;
        texts.push_back(editor.text());
    }
    const std::string end = editor.text();
    editor.markSaved();
    for (int i = 248; i >= 0; --i) {
        ASSERT_TRUE(editor.undo());
        ASSERT_EQ(editor.text(), texts[static_cast<std::size_t>(i)]);
    }
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(editor.text(), start);
    EXPECT_FALSE(editor.undo());
    EXPECT_TRUE(editor.unsaved());
    while (editor.redo()) {
    }
    EXPECT_EQ(editor.text(), end);
    EXPECT_FALSE(editor.unsaved());  // back where it was saved

    // A new edit after undoing past the save can never redo back to it.
    editor.undo();
    MissionPiece placed;
    editor.apply(
        [&](JsonValue& m, std::string& w) { return placePiece(m, "walls", 1, 1, placed, w); }, why);
    EXPECT_EQ(editor.redoSteps(), 0u);
    editor.undo();
    editor.redo();
    EXPECT_TRUE(editor.unsaved());
}

}  // namespace
}  // namespace nj
