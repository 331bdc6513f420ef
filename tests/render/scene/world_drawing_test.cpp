// The fixed world's states: doors, the gate, lasers, pickups, plates, the
// terminal and the getaway car, and pieces at absurd coordinates. The floor,
// wall trims and furniture as they stand are held by the game's reference frame.

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
    EXPECT_FALSE(record(nj::drawDoors, game).has(leaf));
}

// A name the game does not know, "gold" among them, trims the door cyan.
// (Cyan and ruby doors are the reference frame's.)
TEST_F(World, DoorTrimFollowsItsColourName) {
    for (const auto& [name, colour] :
         {std::pair{"emerald", nj::kEmerald}, {"purple", nj::kPurple}, {"gold", nj::kCyan}}) {
        nj::Door d = doorAt(100, 100, 80, 20, 0.0f);
        d.color = name;
        game.doors = {d};
        EXPECT_TRUE(record(nj::drawDoors, game).has(colour)) << name;
    }
}

TEST_F(World, TheGateFadesAsItOpensAndIsGoneOnceOpen) {
    game.gate = {660, 355, 24, 140};
    game.gateOpen = 0.0f;
    const Recording shut = record(nj::drawVaultGate, game);
    game.gateOpen = 0.5f;
    const Recording half = record(nj::drawVaultGate, game);
    ASSERT_EQ(half.vertices.size(), shut.vertices.size());
    EXPECT_LT(half.vertices[0].color.a, shut.vertices[0].color.a);
    game.gateOpen = 1.0f;
    EXPECT_TRUE(record(nj::drawVaultGate, game).vertices.empty());
}

TEST_F(World, LaserBeamsShineOnlyWhileTheGridIsOnAndTheEmitterWorks) {
    game.lasers = {{.x = 100, .y = 100, .w = 80, .h = 10}};
    const Color core{1, 1, 1, 0.95f};
    ASSERT_TRUE(record(nj::drawLasers, game).has(core));
    game.lasers[0].disabledTime = 0.5f;
    const Recording r = record(nj::drawLasers, game);
    EXPECT_FALSE(r.has(core));
    EXPECT_EQ(r.additiveBinds, 0);

    game.lasers[0].disabledTime = 0;
    game.lasersOn = 0;
    EXPECT_FALSE(record(nj::drawLasers, game).has(core));
}

// Keycards lying in the field, with their labels, are the reference frame's.
TEST_F(World, PickupsGoOnceTaken) {
    game.keycards = {{.x = 200, .y = 150, .color = "ruby", .taken = 1}};
    EXPECT_TRUE(record(nj::drawKeycards, game).vertices.empty());
    game.cardTaken = 0;
    EXPECT_FALSE(record(nj::drawCipherCard, game).vertices.empty());
    game.cardTaken = 1;
    EXPECT_TRUE(record(nj::drawCipherCard, game).vertices.empty());
}

// An untouched plate's ALARM is the reference frame's.
TEST_F(World, APressedPlateSaysTrippedInRed) {
    game.pressurePlates = {{100, 100, 60, 30, 1, 0}};
    const auto expected = textAlone("TRIPPED", 130, 111, 0.8f, {0.769f, 0.118f, 0.227f, 1});
    EXPECT_TRUE(sameVertices(record(nj::drawPressurePlates, game).tail(expected.size()), expected));
}

TEST_F(World, TheCarLightsUpOnceTheCipherIsCrackedAndNoDirectiveIsPending) {
    const Recording dark = record(nj::drawGetawayVehicle, game);
    game.cipherDecrypted = 1;
    const Recording lit = record(nj::drawGetawayVehicle, game);
    EXPECT_FALSE(sameVertices(lit.vertices, dark.vertices));
    game.dynamicObjective.active = 1;
    EXPECT_TRUE(sameVertices(record(nj::drawGetawayVehicle, game).vertices, dark.vertices));
    game.dynamicObjective.done = 1;
    EXPECT_TRUE(sameVertices(record(nj::drawGetawayVehicle, game).vertices, lit.vertices));
}

TEST_F(World, TheTerminalTethersANearbyOperativeUntilCracked) {
    game.terminal = {780, 205, 18};
    const Color tether{0.05f, 0.82f, 1.0f, 0.55f};
    game.playerPos = {780 + 54.9f, 205};
    EXPECT_TRUE(record(nj::drawSafeTerminal, game).has(tether));
    game.cipherDecrypted = 1;
    EXPECT_FALSE(record(nj::drawSafeTerminal, game).has(tether));
    game.cipherDecrypted = 0;
    game.playerPos = {780, 205 + 55.1f};
    EXPECT_FALSE(record(nj::drawSafeTerminal, game).has(tether));
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
