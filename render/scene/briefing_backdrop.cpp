// The dossier's backdrop: a night skyline with a lit grid, clouds and windows.

#include <cmath>

#include "render/primitives.hpp"
#include "render/scene/layer_key.hpp"
#include "render/scene/repeated_parts.hpp"
#include "render/scene/scene.hpp"
#include "render/scene/scene_palette.hpp"

namespace nj {
namespace {

constexpr Color kNightTop{0.02f, 0.035f, 0.065f, 1.0f};
constexpr Color kHorizon{0.045f, 0.085f, 0.145f, 1.0f};
constexpr Color kStreetGlow{0.14f, 0.11f, 0.06f, 1.0f};

struct Building {
    float x, y, w, h;
};
constexpr Building kBuildings[] = {{0, 365, 44, 175},   {38, 310, 48, 230},  {82, 380, 52, 160},
                                   {130, 350, 46, 190}, {785, 360, 50, 180}, {830, 335, 46, 205},
                                   {872, 375, 44, 165}, {912, 305, 48, 235}};

void drawSky(Batch& batch) {
    fillGradientRectV(batch, 0, 0, 960, 360, kNightTop, kHorizon);
    fillGradientRectV(batch, 0, 360, 960, 180, kHorizon, kStreetGlow);
    fillCircleGradient(batch, 480, 520, 460, {0.88f, 0.68f, 0.24f, 0.22f}, kTransparent, 32);
    fillCircleGradient(batch, 432, 195, 260, {0.95f, 0.76f, 0.28f, 0.18f}, kTransparent, 28);
}

void drawGrid(Batch& batch) {
    const Color line{0.12f, 0.24f, 0.38f, 0.14f};
    // Columns from x = 40 every 60 while before 920, rows from y = 60 every 45
    // while above 380.
    for (int i = 0; i < 15; ++i) {
        const float x = 40 + 60 * static_cast<float>(i);
        drawLine(batch, x, 48, x, 380, 1, line);
    }
    for (int i = 0; i < 8; ++i) {
        const float y = 60 + 45 * static_cast<float>(i);
        drawLine(batch, 20, y, 940, y, 1, line);
    }
}

void drawClouds(Batch& batch) {
    const auto cloud = [](float a) { return Color{0.14f, 0.22f, 0.32f, a}; };
    fillEllipse(batch, 780, 115, 110, 42, -0.15f, cloud(0.22f), 20);
    fillEllipse(batch, 840, 145, 75, 35, 0.2f, cloud(0.2f), 18);
    fillEllipse(batch, 160, 125, 85, 38, 0.12f, cloud(0.18f), 18);
}

// A column of bars along the left edge that breathe like a signal meter.
void drawSignalBars(Batch& batch, float clock) {
    const Color bar{0.15f, 0.55f, 0.85f, 0.18f};
    for (int i = 0; i < 12; ++i) {
        const float fi = static_cast<float>(i);
        fillRect(batch, 12, 110 + 9 * fi, 18 + 12 * std::sin(0.9f * fi + 1.5f * clock), 4, bar);
    }
}

// Which windows are lit comes from a fixed hash of the window's place, so the
// skyline never flickers between frames.
void drawWindows(Batch& batch, const Building& b, int index) {
    const Color warm{0.98f, 0.82f, 0.38f, 0.45f};
    const Color cool{0.38f, 0.75f, 0.98f, 0.28f};
    for (int row = 0; row < kMaxRepeatedParts; ++row) {
        const float wy = b.y + 8 + 9 * static_cast<float>(row);
        if (!(wy < 515)) break;
        for (int column = 0; column < kMaxRepeatedParts; ++column) {
            const float wx = b.x + 5 + 7 * static_cast<float>(column);
            if (!(wx < b.x + b.w - 6)) break;
            const long n = static_cast<long>(wx * 13 + wy * 7 + 19.0f * static_cast<float>(index));
            if (n % 3 == 0) continue;
            fillRect(batch, wx, wy, 3.5f, 4.5f, n % 5 == 0 ? warm : cool);
        }
    }
}

void drawBuildings(Batch& batch) {
    int index = 0;
    for (const Building& b : kBuildings) {
        fillRect(batch, b.x, b.y, b.w, b.h, {0.035f, 0.055f, 0.095f, 0.92f});
        rectOutline(batch, b.x, b.y, b.w, b.h, 1.0f, {0.22f, 0.35f, 0.52f, 0.35f});
        drawWindows(batch, b, index++);
    }
}

void drawStreetLights(Batch& batch) {
    for (int i = 0; i < 28; ++i) {
        fillCircleGradient(batch, 10 + 36 * static_cast<float>(i), 502, 24,
                           {1.0f, 0.8f, 0.32f, 0.16f}, kTransparent, 12);
    }
}

}  // namespace

// Everything but the signal bars stands still, so the renderer may keep it as
// one picture; the bars breathe over it, clear of the buildings and lights.
void drawBriefingBackdrop(Batch& batch, const Game& game) {
    LayerKey key;
    key.mix("briefing skyline");
    if (batch.beginStaticLayer(key.value())) {
        drawSky(batch);
        drawGrid(batch);
        drawClouds(batch);
        drawBuildings(batch);
        drawStreetLights(batch);
        batch.endStaticLayer();
    }
    drawSignalBars(batch, game.animClock);
}

}  // namespace nj
