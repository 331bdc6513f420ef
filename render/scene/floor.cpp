// The floor: tiles, the soft shadows walls cast on it, and its fixed decorations.

#include "render/primitives.hpp"
#include "render/scene/floor_decor.hpp"
#include "render/scene/layer_key.hpp"
#include "render/scene/scene.hpp"

namespace nj {
namespace {

constexpr float kTile = 48.0f;
// Tiles from (20, 40) for as many as start inside (940, 520).
constexpr int kTileColumns = 20;
constexpr int kTileRows = 10;

// The room is split into a warm west half and a cool east half, each in a
// two-tone checker.
Color tileColor(float x, float y) {
    const bool even = (static_cast<int>(y / kTile) + static_cast<int>(x / kTile)) % 2 == 0;
    if (x < 520) return even ? Color{0.135f, 0.125f, 0.13f, 1} : Color{0.112f, 0.105f, 0.11f, 1};
    return even ? Color{0.08f, 0.095f, 0.115f, 1} : Color{0.068f, 0.08f, 0.098f, 1};
}

void drawTile(Batch& batch, float x, float y) {
    fillRect(batch, x, y, 46.8f, 46.8f, tileColor(x, y));
    drawLine(batch, x + 1, y + 1, x + 46, y + 1, 0.8f, {1.0f, 0.95f, 0.85f, 0.03f});
    const Color grout{0.035f, 0.04f, 0.05f, 0.85f};
    fillRect(batch, x, y, kTile, 1.2f, grout);
    fillRect(batch, x, y, 1.2f, kTile, grout);
    const int column = static_cast<int>(x / kTile), row = static_cast<int>(y / kTile);
    if ((column * 3 + row * 5) % 4 == 0) {
        drawLine(batch, x + 6, y + 12, x + 38, y + 40, 1.0f, {0.85f, 0.72f, 0.45f, 0.05f});
    }
}

void drawWallFootprints(Batch& batch, const Game& game) {
    for (const Wall& w : game.walls) {
        fillRect(batch, w.x - 6, w.y - 4, w.w + 12, w.h + 12, {0, 0, 0, 0.28f});
        fillRect(batch, w.x - 3, w.y - 2, w.w + 6, w.h + 7, {0, 0, 0, 0.35f});
    }
}

// What the floor's still part looks like follows from the walls and the theme alone.
std::uint64_t stillFloorKey(const Game& game) {
    LayerKey key;
    for (const Wall& w : game.walls) {
        const float box[] = {w.x, w.y, w.w, w.h};
        key.mix(box, sizeof box);
    }
    key.mix(&game.theme, sizeof game.theme);
    return key.value();
}

}  // namespace

void drawFloor(Batch& batch, const Game& game) {
    // Everything below the drifting light pools stays still for the whole
    // mission: the renderer may keep it as one picture.
    if (batch.beginStaticLayer(stillFloorKey(game))) {
        fillRect(batch, 0, 0, 960, 540, {0.055f, 0.062f, 0.078f, 1});
        for (int column = 0; column < kTileColumns; ++column) {
            for (int row = 0; row < kTileRows; ++row) {
                drawTile(batch, 20 + kTile * static_cast<float>(column),
                         40 + kTile * static_cast<float>(row));
            }
        }
        drawWallFootprints(batch, game);
        if (game.theme == Theme::Casino || game.theme == Theme::Embassy) drawRugs(batch);
        drawAgencySeal(batch);
        drawStillLightPools(batch);
        batch.endStaticLayer();
    }
    drawDriftingLightPools(batch, game.animClock);
    drawPlants(batch, game.animClock);
}

}  // namespace nj
