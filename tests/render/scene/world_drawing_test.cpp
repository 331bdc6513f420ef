// The fixed world: floor and decorations by theme, walls, doors, the gate,
// lasers, pickups, the terminal and the getaway car.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "render/font.hpp"
#include "render/scene/repeated_parts.hpp"
#include "tests/render/scene/scene_probe.hpp"
#include "tests/support/deadline.hpp"

namespace {

using nj::Color;
using namespace nj::test;

using World = ClearedWorld;

// The text a step should end with, drawn on its own.
std::vector<nj::Vertex> textAlone(const std::string& text, float x, float y, float scale,
                                  const Color& c) {
    return record(
               [&](nj::Batch& b) { nj::drawText(b, text, x, y, scale, c, nj::TextAlign::Center); })
        .vertices;
}

void expectBox(const Bounds& b, float x, float y, float w, float h) {
    EXPECT_NEAR(b.minX, x, kPosTol);
    EXPECT_NEAR(b.minY, y, kPosTol);
    EXPECT_NEAR(b.maxX, x + w, kPosTol);
    EXPECT_NEAR(b.maxY, y + h, kPosTol);
}

TEST_F(World, RugsLieOnlyInCasinoAndEmbassyWhileSealAndPlantsAreEverywhere) {
    const Color rug{0.32f, 0.07f, 0.09f, 1};
    const Color seal{0.24f, 0.19f, 0.08f, 0.85f};
    const Color plantPot{0.18f, 0.14f, 0.1f, 1};
    using nj::Theme;
    for (const Theme theme :
         {Theme::Casino, Theme::Embassy, Theme::Laboratory, Theme::Archive, Theme::Other}) {
        game.theme = theme;
        const Recording r = record(nj::drawFloor, game);
        const bool grand = theme == Theme::Casino || theme == Theme::Embassy;
        const int which = static_cast<int>(theme);
        EXPECT_EQ(r.count(rug), grand ? 3u * 6u : 0u) << which;
        EXPECT_TRUE(r.has(seal)) << which;
        EXPECT_EQ(r.count(plantPot), 6u * 16u * 3u) << which;  // six pots, 16-step fans
    }
}

struct WallCase {
    float x, y, w, h;
    bool bevel, basePlate, lamp;
};

TEST_F(World, WallsGetBevelsBasePlatesAndLampsBySizeAndPlace) {
    const Color bevel{0.52f, 0.39f, 0.14f, 0.7f};
    const Color plate{0.68f, 0.52f, 0.2f, 1};
    const Color bulb{1.0f, 0.96f, 0.8f, 1};
    const WallCase cases[] = {
        {100, 50, 20, 100, true, true, true},    // a free-standing pillar
        {20, 50, 20, 100, true, false, false},   // against the west edge
        {100, 50, 36, 91, true, true, true},     // widest and shortest that still get both
        {100, 50, 37, 100, true, false, false},  // too wide
        {100, 50, 20, 90, true, true, false},    // tall enough for a plate only
        {100, 50, 20, 50, true, false, false},   // too short for a plate
        {30, 50, 20, 100, true, false, false},   // x must be above 30
        {35, 50, 20, 100, true, true, false},    // and above 40 for a lamp
        {880, 50, 20, 100, true, true, false},   // a lamp needs x below 880
        {100, 50, 10, 100, false, true, true},   // 10 wide: no room for a bevel
    };
    for (const WallCase& c : cases) {
        game.walls = {{c.x, c.y, c.w, c.h}};
        const Recording r = record(nj::drawWalls, game);
        const std::string what =
            std::to_string(c.x) + " " + std::to_string(c.w) + "x" + std::to_string(c.h);
        EXPECT_EQ(r.has(bevel), c.bevel) << what;
        EXPECT_EQ(r.has(plate), c.basePlate) << what;
        EXPECT_EQ(r.has(bulb), c.lamp) << what;
        if (c.basePlate)
            expectBox(boundsOf(r.withColor(plate)), c.x - 1.5f, c.y + c.h - 10, c.w + 3, 10);
        if (c.lamp) {
            const Bounds b = boundsOf(r.withColor(bulb));
            EXPECT_NEAR((b.minX + b.maxX) / 2, c.x + c.w + 2, 0.01f) << what;
            EXPECT_NEAR((b.minY + b.maxY) / 2, c.y + 0.45f * c.h, 0.01f) << what;
        }
    }
}

nj::Door doorAt(float x, float y, float w, float h, float open) {
    return {.x = x, .y = y, .w = w, .h = h, .openAmount = open};
}

// Half open, each leaf covers a quarter of the opening, sliding along the
// door's long side; fully open, only the frame is left.
TEST_F(World, DoorLeavesSlideApartAlongTheLongSide) {
    const Color leaf{0.08f, 0.11f, 0.16f, 1};
    const struct {
        nj::Door door;
        float first[4], second[4];
    } cases[] = {{doorAt(100, 100, 80, 20, 0.5f), {100, 100, 20, 20}, {160, 100, 20, 20}},
                 {doorAt(300, 100, 16, 120, 0.5f), {300, 100, 16, 30}, {300, 190, 16, 30}}};
    for (const auto& c : cases) {
        game.doors = {c.door};
        const std::vector<nj::Vertex> leaves = record(nj::drawDoors, game).withColor(leaf);
        ASSERT_EQ(leaves.size(), 12u);
        const Bounds a = boundsOf({leaves.begin(), leaves.begin() + 6}),
                     b = boundsOf({leaves.begin() + 6, leaves.end()});
        expectBox(a, c.first[0], c.first[1], c.first[2], c.first[3]);
        expectBox(b, c.second[0], c.second[1], c.second[2], c.second[3]);
    }
    game.doors = {doorAt(100, 100, 80, 20, 1.0f)};
    const Recording open = record(nj::drawDoors, game);
    EXPECT_EQ(open.vertices.size(), (2u + 8u) * 3u);  // frame fill, four outline bars
    EXPECT_FALSE(open.has(leaf));
}

TEST_F(World, DoorTrimFollowsItsColourName) {
    for (const auto& [name, colour] : {std::pair{"ruby", Color{0.769f, 0.118f, 0.227f, 1}},
                                       std::pair{"emerald", Color{0.18f, 0.545f, 0.341f, 1}},
                                       std::pair{"purple", Color{0.659f, 0.333f, 0.969f, 1}},
                                       std::pair{"gold", Color{0.024f, 0.714f, 0.831f, 1}}}) {
        nj::Door d = doorAt(100, 100, 80, 20, 0.0f);
        d.color = name;
        game.doors = {d};
        const Recording r = record(nj::drawDoors, game);
        EXPECT_TRUE(r.has(colour)) << name;
        EXPECT_TRUE(r.has({colour.r, colour.g, colour.b, 0.25f})) << name << " glow";
    }
}

TEST_F(World, TheGateFadesAsItOpensAndIsGoneOnceOpen) {
    game.gate = {660, 355, 24, 140};
    game.gateOpen = 0.5f;
    Recording r = record(nj::drawVaultGate, game);
    EXPECT_TRUE(r.has({0.14f, 0.11f, 0.07f, 0.5f}));
    EXPECT_TRUE(r.has({0.02f, 0.02f, 0.03f, 0.325f}));
    // Bars every 13 from y + 4 while inside: 359, 372, ... 489 is eleven bars.
    EXPECT_EQ(r.count({0.84f, 0.67f, 0.3f, 0.5f}), 11u * 6u);
    for (const float open : {1.0f, 1.5f}) {
        game.gateOpen = open;
        EXPECT_TRUE(record(nj::drawVaultGate, game).vertices.empty()) << open;
    }
}

TEST_F(World, LaserBeamsShineOnlyWhileTheGridIsOnAndTheEmitterWorks) {
    game.lasers = {{.x = 100, .y = 100, .w = 80, .h = 10}};
    const Color core{1, 1, 1, 0.95f};
    Recording r = record(nj::drawLasers, game);
    ASSERT_TRUE(r.has(core));
    const Bounds beam = boundsOf(r.withColor(core));
    EXPECT_NEAR(beam.minX, 100, kPosTol);
    EXPECT_NEAR(beam.maxX, 180, kPosTol);
    EXPECT_NEAR((beam.minY + beam.maxY) / 2, 105, kPosTol);
    EXPECT_FALSE(r.additiveAtEnd);

    game.lasers[0].disabledTime = 0.5f;
    r = record(nj::drawLasers, game);
    EXPECT_FALSE(r.has(core));
    EXPECT_EQ(r.additiveBinds, 0);
    EXPECT_EQ(r.count({0.13f, 0.11f, 0.08f, 1}), 12u);  // both posts still stand

    game.lasers[0].disabledTime = 0;
    game.lasersOn = 0;
    EXPECT_FALSE(record(nj::drawLasers, game).has(core));
}

TEST_F(World, KeycardsShowTheFirstThreeLettersOfTheirColourAndPickupsGoOnceTaken) {
    const Color white{1, 1, 1, 1};
    game.animClock = 0;  // no bob
    for (const auto& [name, label] : {std::pair{"ruby", "rub"}, std::pair{"ab", "ab"}}) {
        game.keycards = {{.x = 200, .y = 150, .color = name}};
        const Recording r = record(nj::drawKeycards, game);
        const auto expected = textAlone(label, 203, 146, 0.6f, white);
        ASSERT_FALSE(expected.empty());
        EXPECT_TRUE(sameVertices(r.tail(expected.size()), expected)) << name;
    }
    game.keycards[0].taken = 1;
    EXPECT_TRUE(record(nj::drawKeycards, game).vertices.empty());
    game.cardTaken = 0;
    EXPECT_FALSE(record(nj::drawCipherCard, game).vertices.empty());
    game.cardTaken = 1;
    EXPECT_TRUE(record(nj::drawCipherCard, game).vertices.empty());
}

TEST_F(World, PlatesSayAlarmUntilTrippedInGoldThenRed) {
    game.pressurePlates = {{100, 100, 60, 30, 0, 0}};
    const Color gold{0.83f, 0.686f, 0.216f, 1}, red{0.769f, 0.118f, 0.227f, 1};
    auto expected = textAlone("ALARM", 130, 111, 0.8f, gold);
    EXPECT_TRUE(sameVertices(record(nj::drawPressurePlates, game).tail(expected.size()), expected));
    game.pressurePlates[0].pressed = 1;
    const Recording r = record(nj::drawPressurePlates, game);
    expected = textAlone("TRIPPED", 130, 111, 0.8f, red);
    EXPECT_TRUE(sameVertices(r.tail(expected.size()), expected));
    EXPECT_TRUE(r.has({0.27f, 0.04f, 0.04f, 1}));
}

TEST_F(World, TheCarLightsUpOnceTheCipherIsCrackedAndNoDirectiveIsPending) {
    const Color lit{0.88f, 0.91f, 0.94f, 1}, dark{0.28f, 0.33f, 0.41f, 1};
    EXPECT_TRUE(record(nj::drawGetawayVehicle, game).has(dark));
    game.cipherDecrypted = 1;
    EXPECT_TRUE(record(nj::drawGetawayVehicle, game).has(lit));
    game.dynamicObjective.active = 1;
    EXPECT_TRUE(record(nj::drawGetawayVehicle, game).has(dark));
    game.dynamicObjective.done = 1;
    const Recording r = record(nj::drawGetawayVehicle, game);
    EXPECT_TRUE(r.has(lit));
    EXPECT_EQ(r.count({1.0f, 0.92f, 0.6f, 0.45f}), 2u * 24u);  // two headlight centres
}

TEST_F(World, TheTerminalTethersANearbyOperativeUntilCracked) {
    game.terminal = {780, 205, 18};
    const Color tether{0.05f, 0.82f, 1.0f, 0.55f};
    game.playerPos = {780 + 54.9f, 205};
    EXPECT_TRUE(record(nj::drawSafeTerminal, game).has(tether));
    game.playerPos = {780, 205 + 55.1f};
    EXPECT_FALSE(record(nj::drawSafeTerminal, game).has(tether));
    game.playerPos = {790, 205};
    game.cipherDecrypted = 1;
    const Recording r = record(nj::drawSafeTerminal, game);
    EXPECT_FALSE(r.has({0.29f, 0.87f, 0.5f, 0.55f}));
    EXPECT_TRUE(r.has({0.29f * 0.25f, 0.87f * 0.35f, 0.5f * 0.45f, 0.9f}));  // green screen
}

TEST_F(World, EveryFurnitureTypeDrawsInsideItsShadowedRectangle) {
    for (const char* type : {"roulette", "blackjack", "plush_booth", "stanchions", "desk",
                             "bookcase", "server", "cryopod", "archive_rack", "sofa"}) {
        game.furniture = {{.type = type, .x = 300, .y = 200, .w = 90, .h = 50}};
        const Recording r = record(nj::drawFurniture, game);
        // The soft shadow first, then a body beyond the two shadows' 2 x 38 triangles.
        ASSERT_GT(r.vertices.size(), 2u * 38u * 3u) << type;
        EXPECT_TRUE(sameColor(r.vertices[0].color, {0, 0, 0, 0.32f})) << type;
    }
    game.furniture[0].type = "sofa";
    EXPECT_TRUE(record(nj::drawFurniture, game).has({0.14f, 0.11f, 0.08f, 1}));
    game.furniture[0].type = "bookcase";
    // Rows of 6 from T + 3 while above T + h - 4: 178, 184, ... 220 is eight rows.
    const Recording shelves = record(nj::drawFurniture, game);
    EXPECT_EQ(shelves.count({0.769f, 0.118f, 0.227f, 1}), 2u * 6u);
}

// Bars, shelves and binders are counted, so a mission placing a piece where
// a float no longer moves by one step (5e8), or everywhere at 1e30, still
// finishes its frame; and a piece however large draws at most the cap.
TEST_F(World, RepeatedPartsEndAtAnyCoordinatesAndStopAtTheCap) {
    const Deadline deadline(20);
    struct Piece {
        const char* type;  // "gate" or a furniture type
        Color part;        // the colour counted
        std::size_t verticesAtTheCap;
    };
    const Piece pieces[] = {
        {"gate", {0.84f, 0.67f, 0.3f, 1}, nj::kMaxRepeatedParts * 6},
        // Shelves take the four spine colours in turn; the first is red.
        {"bookcase", nj::kRuby, nj::kMaxRepeatedParts / 4 * 6},
        {"archive_rack", {0.39f, 0.45f, 0.55f, 1}, nj::kMaxRepeatedParts * 12 * 3},
    };
    struct Place {
        const char* what;
        float x, y, w, h;
        bool pastTheCap;  // long enough for more parts than the cap
    };
    const float inf = std::numeric_limits<float>::infinity();
    const Place places[] = {
        {"far down the field", 300, 5e8f, 140, 140, false},
        {"far along the field", 5e8f, 300, 140, 140, false},
        {"1e30 everywhere", 1e30f, 1e30f, 1e30f, 1e30f, true},
        {"minus zero", -0.0f, -0.0f, -0.0f, -0.0f, false},
        {"infinitely far", inf, -inf, inf, inf, false},
        {"longer than the field", 300, 200, 1e7f, 1e7f, true},
    };
    for (const Piece& piece : pieces) {
        for (const Place& place : places) {
            const std::string what = std::string(piece.type) + ", " + place.what;
            Recording r;
            if (std::string(piece.type) == "gate") {
                game.gate = {place.x, place.y, place.w, place.h};
                game.gateOpen = 0.0f;
                r = record(nj::drawVaultGate, game);
            } else {
                game.furniture = {
                    {.type = piece.type, .x = place.x, .y = place.y, .w = place.w, .h = place.h}};
                r = record(nj::drawFurniture, game);
            }
            if (place.pastTheCap) {
                EXPECT_EQ(r.count(piece.part), piece.verticesAtTheCap) << what;
            } else {
                EXPECT_LT(r.count(piece.part), piece.verticesAtTheCap) << what;
            }
        }
    }
}

}  // namespace
