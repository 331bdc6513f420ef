// Rugs, the agency seal, light pools and potted plants on the floor.

#include "render/scene/floor_decor.hpp"

#include <cmath>

#include "render/font.hpp"
#include "render/primitives.hpp"
#include "render/scene/repeated_parts.hpp"
#include "render/scene/scene_palette.hpp"

namespace nj {
namespace {

constexpr Color kRugGold{0.76f, 0.58f, 0.22f, 0.55f};

//  fringe |+--------------------+| fringe      outer gold rule 2 in,
//         || o                o ||             inner dark field 6 in,
//         ||      <>  (emblem)  ||             faint rule 7.5 in,
//         || o                o ||             dots 11 in from each corner
//         |+--------------------+|
void drawRug(Batch& batch, float x, float y, float w, float h, bool emblem) {
    fillRect(batch, x - 2, y - 1, w + 5, h + 5, {0, 0, 0, 0.48f});
    for (int tassel = 0; tassel < kMaxRepeatedParts; ++tassel) {
        const float fy = y + 4 + 5 * static_cast<float>(tassel);
        if (!(fy < y + h - 4)) break;
        drawLine(batch, x - 2.5f, fy, x, fy, 1.2f, kRugGold);
        drawLine(batch, x + w, fy, x + w + 2.5f, fy, 1.2f, kRugGold);
    }
    fillRect(batch, x, y, w, h, {0.32f, 0.07f, 0.09f, 1});
    rectOutline(batch, x + 2, y + 2, w - 4, h - 4, 1.4f, withAlpha(kRugGold, 0.85f));
    fillRect(batch, x + 6, y + 6, w - 12, h - 12, {0.25f, 0.055f, 0.07f, 1});
    rectOutline(batch, x + 7.5f, y + 7.5f, w - 15, h - 15, 1.0f, {0.65f, 0.48f, 0.18f, 0.55f});
    const Color dot{0.82f, 0.64f, 0.24f, 0.7f};
    for (const float cx : {x + 11, x + w - 11}) {
        for (const float cy : {y + 11, y + h - 11}) fillCircle(batch, cx, cy, 2, dot, 24);
    }
    if (emblem) {
        const float cx = x + w / 2, cy = y + h / 2;
        circleOutline(batch, cx, cy, 15, 1.2f, kRugGold, 20);
        fillRotatedRect(batch, cx, cy, 14, 14, kScenePi / 4, withAlpha(kRugGold, 0.25f));
    }
}

void drawLightPool(Batch& batch, float x, float y, float r, float s) {
    fillCircleGradient(batch, x, y, 1.35f * r, {1.0f, 0.72f, 0.24f, 0.45f * s},
                       {1.0f, 0.6f, 0.14f, 0}, 24);
    fillCircleGradient(batch, x, y, r, {1.0f, 0.82f, 0.42f, s}, {1.0f, 0.65f, 0.18f, 0}, 24);
}

void drawPlant(Batch& batch, float x, float y, float clock) {
    fillCircle(batch, x + 2.5f, y + 3.5f, 13, {0, 0, 0, 0.55f}, 16);
    fillCircle(batch, x, y, 9.5f, {0.18f, 0.14f, 0.1f, 1}, 16);
    circleOutline(batch, x, y, 9.5f, 1.4f, {0.58f, 0.44f, 0.2f, 1}, 16);
    fillCircle(batch, x, y, 7, {0.11f, 0.08f, 0.06f, 1}, 14);
    for (int i = 0; i < 7; ++i) {
        const float fi = static_cast<float>(i);
        const float turn = 0.3f + 0.8975979f * fi + 0.03f * std::sin(1.4f * clock + fi);
        const Color leaf =
            i % 2 == 0 ? Color{0.16f, 0.38f, 0.18f, 1} : Color{0.22f, 0.48f, 0.24f, 1};
        fillEllipse(batch, x + 7.5f * std::cos(turn), y + 7.5f * std::sin(turn), 6.5f, 2.8f, turn,
                    leaf, 12);
    }
    fillCircle(batch, x, y, 3, {0.28f, 0.56f, 0.28f, 1}, 12);
}

}  // namespace

void drawRugs(Batch& batch) {
    drawRug(batch, 42, 68, 224, 232, false);
    drawRug(batch, 62, 402, 192, 94, false);
    drawRug(batch, 342, 392, 118, 76, true);
}

void drawAgencySeal(Batch& batch) {
    constexpr float x = 766, y = 212;
    fillCircle(batch, x, y, 33, {0.08f, 0.07f, 0.05f, 0.9f}, 28);
    fillCircle(batch, x, y, 31, {0.24f, 0.19f, 0.08f, 0.85f}, 28);
    circleOutline(batch, x, y, 31, 2.2f, {0.82f, 0.66f, 0.24f, 1}, 28);
    circleOutline(batch, x, y, 26.5f, 1.2f, {0.68f, 0.52f, 0.18f, 1}, 24);
    fillTriangle(batch, 750, 209, 782, 209, 766, 218, {0.85f, 0.68f, 0.25f, 0.85f});
    fillTriangle(batch, 762, 203, 770, 203, 766, 228, {0.95f, 0.78f, 0.32f, 0.9f});
    drawText(batch, "NIA", 766, 191, 0.85f, {0.92f, 0.76f, 0.3f, 1}, TextAlign::Center);
}

void drawStillLightPools(Batch& batch) {
    struct Pool {
        float x, y, r, s;
    };
    static constexpr Pool kFixed[] = {
        {122, 70, 52, 0.22f}, {58, 145, 46, 0.2f},  {345, 110, 54, 0.22f}, {512, 152, 50, 0.2f},
        {582, 68, 56, 0.22f}, {692, 130, 54, 0.2f}, {692, 290, 50, 0.18f}, {174, 315, 44, 0.2f}};
    for (const Pool& p : kFixed) drawLightPool(batch, p.x, p.y, p.r, p.s);
}

void drawDriftingLightPools(Batch& batch, float animClock) {
    const float s = 3.5f * std::sin(1.2f * animClock);
    const float c = 2.5f * std::cos(1.2f * animClock);
    drawLightPool(batch, 185 + s, 225 + c, 72, 0.16f);
    drawLightPool(batch, 415 - s, 125 + c, 68, 0.16f);
    drawLightPool(batch, 766 + s, 212 - c, 78, 0.18f);
}

void drawPlants(Batch& batch, float animClock) {
    static constexpr float kSpots[][2] = {{238, 74}, {318, 404}, {556, 156},
                                          {724, 78}, {724, 344}, {908, 344}};
    for (const auto& spot : kSpots) drawPlant(batch, spot[0], spot[1], animClock);
}

}  // namespace nj
