// The pieces as the editor's screen finds, names and edits them.
#include "data/mission_pieces.hpp"

#include <gtest/gtest.h>

namespace {

using nj::JsonValue;
using nj::MissionPiece;

TEST(MissionPieces, ThePointerFindsTheSmallestPieceUnderItAndFieldsShowWhatTheGameUses) {
    const JsonValue m =
        nj::parseJson(R"({"walls":[{"x":0,"y":0,"w":400,"h":16},{"x":100,"y":100,"w":10,"h":200}],)"
                      R"("keycards":[{"x":50,"y":8,"color":"ruby"}],)"
                      R"("furniture":[{"type":"desk","x":300,"y":300,"w":60,"h":36}],)"
                      R"("card":{"x":500,"y":400,"r":12},"player":{"x":700,"y":100},)"
                      R"("guards":[{"x":10,"y":10,"patrol":[{"x":1,"y":2},{"x":3,"y":4}]}]})");
    const struct {
        double x, y;
        std::optional<MissionPiece> piece;
    } cases[] = {
        {50, 8, MissionPiece{"keycards", 0}},      // on a wall: the keycard, not the wall
        {200, 8, MissionPiece{"walls", 0}},        // the wall alone
        {275, 290, MissionPiece{"furniture", 0}},  // furniture stands on its centre
        {500, 395, MissionPiece{"card", nj::kSinglePiece}},
        {710, 110, MissionPiece{"player", nj::kSinglePiece}},  // a spawn, with room round it
        {900, 500, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(nj::pieceAt(m, c.x, c.y), c.piece) << c.x << "," << c.y;
    // An absent key shows what the game uses, unless the guide's word for it is
    // no value the field could send back.
    const auto valueOf = [&](const MissionPiece& piece, const char* name) {
        for (const nj::PieceField& field : nj::pieceFields(m, piece))
            if (field.name == name) return field.value;
        return std::string("<no such field>");
    };
    EXPECT_EQ(valueOf({"keycards", 0}, "color"), "ruby");
    EXPECT_EQ(valueOf({"keycards", 0}, "r"), "11");
    EXPECT_EQ(valueOf(nj::kWholeMission, "theme"), "casino");
    EXPECT_EQ(valueOf(nj::kWholeMission, "name"), "");
    EXPECT_EQ(valueOf(nj::kWholeMission, "faction"), "");
    EXPECT_EQ(valueOf({"guards", 0}, "axis"), "") << "\"none\" is no axis";
    EXPECT_TRUE(nj::pieceFields(m, {"walls", 9}).empty());
}

TEST(MissionPieces, CheckerPathsNameTheirPiece) {
    const struct {
        const char* path;
        MissionPiece piece;
    } cases[] = {
        {"walls[3].w", MissionPiece{"walls", 3}},
        {"guards[12]", MissionPiece{"guards", 12}},
        {"card.x", MissionPiece{"card", nj::kSinglePiece}},
        {"guards[0].patrol[2].x", MissionPiece{"guards", 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(nj::pieceOfPath(c.path), c.piece) << c.path;
    for (const char* path : {"name", "", "walls", "walls[", "walls[x]",
                             "walls[99999999999999999999999]", "nosuch[1]"}) {
        EXPECT_EQ(nj::pieceOfPath(path), std::nullopt) << path;
    }
}

TEST(MissionPieces, TypedValuesBecomeTheFilesValuesOrSayWhyNot) {
    const MissionPiece wall{"walls", 0}, door{"doors", 0};
    const struct {
        MissionPiece piece;
        const char* field;
        std::string text;
        bool ok;
        const char* result;  // the value as JSON, or the refusal's start
    } cases[] = {
        {wall, "w", "120", true, "120"},
        {wall, "w", " 12.5 ", true, "12.5"},
        {wall, "w", "12px", false, "w: \"12px\" is not a number"},
        {wall, "w", "nan", false, "w: \"nan\" is not a number"},
        {wall, "w", "1e999", false, "w: \"1e999\" is not a number"},
        {wall, "angle", "1", false, "WALL 1 has no \"angle\""},
        {door, "color", "ruby", true, R"("ruby")"},
        {nj::kWholeMission, "name", "NIGHT \"HEIST\"", true, R"("NIGHT \"HEIST\"")"},
        {nj::kWholeMission, "walls", "1", false, "walls is edited on the field"},
        {MissionPiece{"altExit", nj::kSinglePiece}, "active", "yes", false,
         "active: true or false"},
        {MissionPiece{"altExit", nj::kSinglePiece}, "active", "false", true, "false"},
        {MissionPiece{"guards", 0}, "patrol", "3", false, "patrol is edited on the field"},
        {nj::kWholeMission, "name", std::string(201, 'x'), false, ""},  // past the name's cap
    };
    for (const auto& c : cases) {
        JsonValue value;
        std::string why;
        const bool ok = nj::fieldValueFromText(c.piece, c.field, c.text, value, why);
        EXPECT_EQ(ok, c.ok) << c.field << "=" << c.text << ": " << why;
        EXPECT_TRUE(ok ? value == nj::parseJson(c.result) : why.rfind(c.result, 0) == 0) << why;
    }
    // An emptied text leaves its key out, so the game's own applies again.
    JsonValue m = nj::parseJson(R"({"name":"N","altExit":{"x":1,"y":2,"label":"ROOF"}})");
    JsonValue empty;
    std::string refused;
    ASSERT_TRUE(nj::fieldValueFromText(nj::kWholeMission, "name", "", empty, refused));
    ASSERT_TRUE(nj::setFieldValue(m, nj::kWholeMission, "name", empty, refused)) << refused;
    ASSERT_TRUE(nj::setFieldValue(m, {"altExit", nj::kSinglePiece}, "label", empty, refused));
    EXPECT_TRUE(m == nj::parseJson(R"({"altExit":{"x":1,"y":2}})"));
    EXPECT_FALSE(nj::setFieldValue(m, {"walls", 0}, "x", empty, refused)) << "no such piece";
    EXPECT_FALSE(nj::setFieldValue(m, nj::kWholeMission, "nosuch", empty, refused));
}

}  // namespace
