// The world's pieces by state, at absurd sizes, and what may be kept as pictures; the floor,
// wall trims and furniture as they stand are held by the game's reference frame.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "render/scene/repeated_parts.hpp"
#include "tests/render/scene/scene_probe.hpp"
#include "tests/support/deadline.hpp"

namespace {

using nj::Color;
using namespace nj::test;

using World = ClearedWorld;
using Step = void (*)(nj::Batch&, const nj::Game&);

// Half open, each leaf covers a quarter of the long side; fully open, only the frame is left.
TEST_F(World, DoorLeavesSlideApartAlongTheLongSide) {
    const Color leaf{0.08f, 0.11f, 0.16f, 1};
    const struct {
        float x, y, w, h, first[4], second[4];
    } cases[] = {{100, 100, 80, 20, {100, 100, 20, 20}, {160, 100, 20, 20}},
                 {300, 100, 16, 120, {300, 100, 16, 30}, {300, 190, 16, 30}}};
    for (const auto& c : cases) {
        game.doors = {{.x = c.x, .y = c.y, .w = c.w, .h = c.h, .openAmount = 0.5f}};
        const std::vector<nj::Vertex> leaves = record(nj::drawDoors, game).withColor(leaf);
        ASSERT_EQ(leaves.size(), 12u);
        const Bounds a = boundsOf({leaves.begin(), leaves.begin() + 6}),
                     b = boundsOf({leaves.begin() + 6, leaves.end()});
        expectBox(a, c.first[0], c.first[1], c.first[2], c.first[3]);
        expectBox(b, c.second[0], c.second[1], c.second[2], c.second[3]);
    }
    game.doors[0].openAmount = 1;
    EXPECT_FALSE(record(nj::drawDoors, game).has(leaf));
}

// Each piece shows its state: what a change makes appear or go.
TEST_F(World, EachPieceShowsItsState) {
    const auto drawsAny = [&](Step step) { return !record(step, game).vertices.empty(); };
    const auto shows = [&](Step step, const Color& mark) { return record(step, game).has(mark); };
    game.gate = {660, 355, 24, 140};
    EXPECT_TRUE(drawsAny(nj::drawVaultGate));
    game.gateOpen = 1.0f;
    EXPECT_FALSE(drawsAny(nj::drawVaultGate)) << "an open gate";

    const Color core{1, 1, 1, 0.95f};
    game.lasers = {{.x = 100, .y = 100, .w = 80, .h = 10}};
    EXPECT_TRUE(shows(nj::drawLasers, core));
    game.lasers[0].disabledTime = 0.5f;
    EXPECT_FALSE(shows(nj::drawLasers, core)) << "a disabled emitter";
    game.lasers[0].disabledTime = 0;
    game.lasersOn = 0;
    EXPECT_FALSE(shows(nj::drawLasers, core)) << "the grid switched off";

    game.keycards = {{.x = 200, .y = 150, .color = "ruby", .taken = 1}};
    EXPECT_FALSE(drawsAny(nj::drawKeycards)) << "a taken keycard";
    EXPECT_FALSE(drawsAny(nj::drawCipherCard)) << "the cipher card taken";
    game.cardTaken = 0;
    EXPECT_TRUE(drawsAny(nj::drawCipherCard));

    game.pressurePlates = {{100, 100, 60, 30, 0, 0}};
    EXPECT_FALSE(shows(nj::drawPressurePlates, nj::kAlarmRed));
    game.pressurePlates[0].pressed = 1;
    EXPECT_TRUE(shows(nj::drawPressurePlates, nj::kAlarmRed)) << "a pressed plate";

    const Color tether{0.05f, 0.82f, 1.0f, 0.55f};
    game.terminal = {780, 205, 18};
    game.playerPos = {780 + 54.9f, 205};
    EXPECT_TRUE(shows(nj::drawSafeTerminal, tether));
    game.cipherDecrypted = 1;  // the terminal turns green
    EXPECT_FALSE(shows(nj::drawSafeTerminal, {0.29f, 0.87f, 0.5f, 0.55f})) << "cracked";
    game.cipherDecrypted = 0;
    game.playerPos = {780, 205 + 55.1f};
    EXPECT_FALSE(shows(nj::drawSafeTerminal, tether)) << "out of reach";

    const Color calmFan{0.22f, 0.74f, 0.97f, 0.28f};
    game.cameras = {{.x = 400, .y = 100, .angle = 1.5f, .sweep = 1.0f, .meter = 0.25f}};
    EXPECT_TRUE(shows(nj::drawCameras, calmFan));
    game.cameras[0].meter = 0.26f;
    EXPECT_FALSE(shows(nj::drawCameras, calmFan)) << "a camera past a quarter";
    game.cameras[0].meter = 0;
    game.cameras[0].disabledTime = 0.1f;
    EXPECT_FALSE(shows(nj::drawCameras, calmFan)) << "a blinded camera";

    game.detection = 0.25f;
    EXPECT_FALSE(drawsAny(nj::drawDetectionBorder));
    game.detection = 0.26f;
    EXPECT_TRUE(drawsAny(nj::drawDetectionBorder));

    game.guards.emplace_back();
    EXPECT_FALSE(drawsAny(nj::drawTakedownTarget)) << "no target";
    game.takedownTarget = 1;
    EXPECT_FALSE(drawsAny(nj::drawTakedownTarget)) << "a target past the guards";

    const Color cover{0.18f, 0.545f, 0.341f, 0.85f};
    EXPECT_FALSE(shows(nj::drawPlayer, cover));
    game.playerInCover = 1;
    EXPECT_TRUE(shows(nj::drawPlayer, cover));

    // The car lights up once the cipher is cracked and no directive is pending.
    const Recording dark = record(nj::drawGetawayVehicle, game);
    game.cipherDecrypted = 1;
    const Recording lit = record(nj::drawGetawayVehicle, game);
    EXPECT_FALSE(sameVertices(lit.vertices, dark.vertices));
    game.dynamicObjective.active = 1;
    EXPECT_TRUE(sameVertices(record(nj::drawGetawayVehicle, game).vertices, dark.vertices));
    game.dynamicObjective.done = 1;
    EXPECT_TRUE(sameVertices(record(nj::drawGetawayVehicle, game).vertices, lit.vertices));
}

// Bars, shelves and binders are counted, so a piece however large draws at most the cap (at
// 1e30, where a float no longer moves by one step, the first frame once froze).
TEST_F(World, RepeatedPartsStopAtTheCap) {
    const Deadline deadline(20);
    const struct {
        const char* type;  // "gate" or a furniture type
        Step step;
        Color part;  // the colour counted
        std::size_t verticesAtTheCap;
    } pieces[] = {
        {"gate", nj::drawVaultGate, {0.84f, 0.67f, 0.3f, 1}, nj::kMaxRepeatedParts * 6},
        // Shelves take the four spine colours in turn; the first is red.
        {"bookcase", nj::drawFurniture, nj::kRuby, nj::kMaxRepeatedParts / 4 * 6},
        // A binder is a 12-step circle: 36 vertices.
        {"archive_rack", nj::drawFurniture, {0.39f, 0.45f, 0.55f, 1}, nj::kMaxRepeatedParts * 36},
    };
    for (const auto& piece : pieces) {
        for (const float size : {140.0f, 1e7f, 1e30f}) {
            game.gate = {300, 200, size, size};
            game.furniture = {{.type = piece.type, .x = 300, .y = 200, .w = size, .h = size}};
            const std::size_t parts = record(piece.step, game).count(piece.part);
            if (size > 1e6f)
                EXPECT_EQ(parts, piece.verticesAtTheCap) << piece.type << " " << size;
            else
                EXPECT_LT(parts, piece.verticesAtTheCap) << piece.type;
        }
    }
}

// Keeps layers as a renderer does: once keeping, a layer under its kept key is not drawn again.
struct KeepingBatch : CpuBatch {
    bool beginStaticLayer(std::uint64_t key, nj::StaticLayer layer) override {
        keys[static_cast<std::size_t>(layer)] = key;
        return !keeping || key != keptKeys[static_cast<std::size_t>(layer)];
    }
    void endStaticLayer() override {}
    std::array<std::uint64_t, nj::kStaticLayerCount> keys{}, keptKeys{};
    bool keeping = false;
};

// Kept furniture and wall tops must look the same in every frame: the keys follow the pieces
// and the walls, not the clock, and the parts that move are drawn outside the kept layers.
TEST_F(World, KeptLayersHoldOnlyWhatStaysStill) {
    game.furniture = {{.type = "roulette", .x = 200, .y = 200, .w = 120, .h = 70},
                      {.type = "server", .x = 400, .y = 200, .w = 40, .h = 90},
                      {.type = "cryopod", .x = 600, .y = 200, .w = 60, .h = 60}};
    game.walls = {{100, 100, 300, 12}};
    KeepingBatch batch;
    const auto frameAt = [&](float clock) {
        game.animClock = clock;
        batch.begin();
        nj::drawFurniture(batch, game);
        nj::drawWalls(batch, game);
        batch.flushBatch();
        const std::vector<nj::Vertex> drawn = batch.written();
        batch.end();
        return drawn;
    };
    const std::size_t whole = frameAt(0.0f).size();
    const auto keys = batch.keys;
    batch.keptKeys = keys;
    batch.keeping = true;
    const std::vector<nj::Vertex> still = frameAt(0.0f), later = frameAt(0.9f);
    EXPECT_EQ(batch.keys, keys) << "the clock changed a kept layer's key";
    EXPECT_GT(still.size(), 0u) << "nothing moves";
    EXPECT_LT(still.size(), whole / 4) << "kept layers drawn again";
    EXPECT_FALSE(sameVertices(still, later)) << "the moving parts stood still";

    game.furniture[1].y += 1;
    frameAt(0.0f);
    EXPECT_NE(batch.keys[1], keys[1]) << "a moved piece kept the old picture";
    game.walls[0].w += 1;
    frameAt(0.0f);
    EXPECT_NE(batch.keys[2], keys[2]) << "a changed wall kept the old picture";
}

}  // namespace
