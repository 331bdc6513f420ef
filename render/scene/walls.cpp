// Walls: raised blocks with a brass base edge, drawn over the actors.

#include "render/primitives.hpp"
#include "render/scene/layer_key.hpp"
#include "render/scene/scene.hpp"

namespace nj {
namespace {

// A narrow tall wall away from the outer edges is a free-standing pillar or
// partition: it gets a brass base plate, and a lamp when it is tall enough.
bool isPillar(const Wall& w) {
    return w.w <= 36 && w.h > 50 && w.x > 30 && w.x < 900;
}
bool carriesLamp(const Wall& w) {
    return w.w <= 36 && w.h > 90 && w.x > 40 && w.x < 880;
}

void drawWall(Batch& batch, const Wall& w) {
    fillRect(batch, w.x + 4, w.y + 6, w.w, w.h, {0, 0, 0, 0.72f});
    // The lit face below the top, seen because the view looks slightly down.
    fillRect(batch, w.x, w.y + 3, w.w, w.h, {0.19f, 0.15f, 0.1f, 1});
    rectOutline(batch, w.x, w.y + 3, w.w, w.h, 1.2f, {0.62f, 0.46f, 0.16f, 0.75f});
    fillRect(batch, w.x, w.y, w.w, w.h, {0.07f, 0.085f, 0.11f, 1});
    rectOutline(batch, w.x, w.y, w.w, w.h, 1.5f, {0.78f, 0.61f, 0.24f, 0.9f});
    if (w.w > 10 && w.h > 10) {
        rectOutline(batch, w.x + 3, w.y + 3, w.w - 6, w.h - 6, 1.0f, {0.52f, 0.39f, 0.14f, 0.7f});
    }
    if (isPillar(w)) {
        const float x = w.x - 1.5f, y = w.y + w.h - 10, width = w.w + 3;
        fillRect(batch, x, y, width, 10, {0.68f, 0.52f, 0.2f, 1});
        rectOutline(batch, x, y, width, 10, 1.2f, {0.95f, 0.8f, 0.38f, 1});
    }
    if (carriesLamp(w)) {
        const float x = w.x + w.w + 2, y = w.y + 0.45f * w.h;
        fillCircleGradient(batch, x, y, 26, {1.0f, 0.85f, 0.45f, 0.48f}, {1.0f, 0.7f, 0.2f, 0}, 16);
        fillCircle(batch, x, y, 2.8f, {1.0f, 0.96f, 0.8f, 1}, 10);
    }
}

}  // namespace

// Wall tops never move in a mission: the renderer may keep them as one
// picture laid over the actors.
void drawWalls(Batch& batch, const Game& game) {
    LayerKey key;
    for (const Wall& w : game.walls) {
        const float box[] = {w.x, w.y, w.w, w.h};
        key.mix(box, sizeof box);
    }
    if (!batch.beginStaticLayer(key.value(), StaticLayer::Top)) return;
    for (const Wall& w : game.walls) drawWall(batch, w);
    batch.endStaticLayer();
}

}  // namespace nj
