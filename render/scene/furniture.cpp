// Furniture: each piece's shadow, then its body and inner artwork by type,
// and over all of them the few parts that move.

#include <algorithm>
#include <cmath>
#include <string_view>

#include "render/primitives.hpp"
#include "render/scene/layer_key.hpp"
#include "render/scene/repeated_parts.hpp"
#include "render/scene/scene.hpp"
#include "render/scene/scene_palette.hpp"

namespace nj {
namespace {

// A piece's rectangle: (l, t) the top-left corner, (x, y) the centre.
struct Piece {
    float x, y, w, h, l, t;
};

constexpr Color kFelt{0.08f, 0.28f, 0.18f, 1};
constexpr Color kTableTrim{0.82f, 0.65f, 0.24f, 1};
constexpr Color kFeltGold{0.82f, 0.68f, 0.28f, 1};

void drawBody(Batch& batch, const Piece& p, float radius, const Color& fill, const Color& edge,
              float edgeThickness = 1.5f) {
    fillRoundedRect(batch, p.l, p.t, p.w, p.h, radius, fill);
    roundedRectOutline(batch, p.l, p.t, p.w, p.h, radius, edgeThickness, edge);
}

//   ====rail====        the wheel sits at the left end of the felt, the
//  ( (@)  |  o o )      betting area to its right is split by two guide
//   ====rail====        lines, and three chips wait on it.
float rouletteWheelRadius(const Piece& p) {
    return std::max(std::min(p.w, p.h) * 0.32f, 4.0f);
}

void drawRoulette(Batch& batch, const Piece& p) {
    for (const float ry : {p.t - 5, p.t + p.h - 4}) {
        fillRoundedRect(batch, p.l + 6, ry, p.w - 12, 9, 3, {0.24f, 0.16f, 0.09f, 1});
        roundedRectOutline(batch, p.l + 6, ry, p.w - 12, 9, 3, 1.2f, {0.68f, 0.52f, 0.22f, 1});
    }
    drawBody(batch, p, 8, {0.18f, 0.11f, 0.06f, 1}, kTableTrim);
    fillRoundedRect(batch, p.l + 4, p.t + 4, p.w - 8, p.h - 8, 5, kFelt);
    rectOutline(batch, p.l + 8, p.t + 8, p.w - 16, p.h - 16, 1.0f, withAlpha(kFeltGold, 0.55f));

    const float wheelR = rouletteWheelRadius(p);
    const float wx = p.l + 8 + wheelR, wy = p.y;
    const float split = wx + wheelR + 8;
    drawLine(batch, split, p.t + 8, split, p.t + p.h - 8, 1.0f, withAlpha(kFeltGold, 0.4f));
    drawLine(batch, split, p.y, p.l + p.w - 8, p.y, 1.0f, withAlpha(kFeltGold, 0.4f));

    fillCircle(batch, wx, wy, wheelR, {0.08f, 0.06f, 0.04f, 1}, 24);
    circleOutline(batch, wx, wy, wheelR, 1.5f, {0.88f, 0.72f, 0.28f, 1}, 24);
    for (int i = 0; i < 8; ++i) {
        const float a0 = static_cast<float>(i) * kScenePi / 4;
        const Color pocket =
            i % 2 == 0 ? Color{0.88f, 0.16f, 0.24f, 1} : Color{0.08f, 0.09f, 0.12f, 1};
        fillSector(batch, wx, wy, wheelR * 0.8f, a0, a0 + kScenePi / 4, pocket, pocket, 6);
    }
    fillCircle(batch, wx, wy, wheelR * 0.35f, {0.95f, 0.82f, 0.38f, 1}, 16);
    fillCircle(batch, wx, wy, wheelR * 0.15f, {0.18f, 0.14f, 0.08f, 1}, 10);

    const Color chips[] = {
        {0.92f, 0.78f, 0.28f, 1}, {0.88f, 0.18f, 0.24f, 1}, {0.22f, 0.74f, 0.97f, 1}};
    for (int i = 0; i < 3; ++i) {
        const float cx = p.l + p.w - 14 - 8 * static_cast<float>(i);
        fillCircle(batch, cx, p.y + (i == 1 ? -6.0f : 6.0f), 3, chips[i], 12);
    }
}

// The ball runs round the wheel's rim.
void drawRouletteBall(Batch& batch, const Piece& p, float clock) {
    const float wheelR = rouletteWheelRadius(p);
    const float wx = p.l + 8 + wheelR, wy = p.y;
    const float ball = -2.0f * clock;
    fillCircle(batch, wx + wheelR * 0.88f * std::cos(ball), wy + wheelR * 0.88f * std::sin(ball),
               1.6f, kWhite, 8);
}

void drawBlackjack(Batch& batch, const Piece& p) {
    drawBody(batch, p, 6, {0.16f, 0.1f, 0.05f, 1}, kTableTrim);
    fillRoundedRect(batch, p.l + 4, p.t + 4, p.w - 8, p.h - 8, 4, kFelt);
    rectOutline(batch, p.l + 8, p.t + 8, p.w - 16, p.h - 16, 0.9f, withAlpha(kFeltGold, 0.45f));
    fillCircle(batch, p.x, p.t + 0.3f * p.h, 3, {0.92f, 0.78f, 0.28f, 0.8f}, 12);
}

void drawPlushBooth(Batch& batch, const Piece& p) {
    drawBody(batch, p, 6, {0.32f, 0.12f, 0.09f, 1}, {0.62f, 0.34f, 0.18f, 1});
    fillRoundedRect(batch, p.l + 4, p.t + 4, p.w - 8, p.h - 8, 4, {0.42f, 0.16f, 0.12f, 1});
    fillCircleGradient(batch, p.x, p.y, 28, {1.0f, 0.82f, 0.38f, 0.4f}, {1.0f, 0.7f, 0.2f, 0}, 20);
    fillCircle(batch, p.x, p.y, 5, {0.98f, 0.88f, 0.58f, 1}, 12);
    fillCircle(batch, p.x + 4, p.y - 3, 2.2f, {0.75f, 0.9f, 1.0f, 0.8f}, 10);
}

void drawStanchions(Batch& batch, const Piece& p) {
    const float x0 = p.l + 6, x1 = p.x + p.w / 2 - 6;
    drawLine(batch, x0, p.y + 3, x1, p.y + 3, 4, {0, 0, 0, 0.45f});
    drawLine(batch, x0, p.y, x1, p.y, 4, {0.88f, 0.14f, 0.2f, 1});
    drawLine(batch, x0, p.y - 0.8f, x1, p.y - 0.8f, 1.2f, {1.0f, 0.45f, 0.5f, 0.8f});
    for (const float px : {x0, x1}) {
        fillCircle(batch, px, p.y, 5.5f, {0.88f, 0.72f, 0.26f, 1}, 14);
        fillCircle(batch, px, p.y, 2.2f, {1.0f, 0.92f, 0.6f, 1}, 10);
    }
}

void drawDesk(Batch& batch, const Piece& p) {
    drawBody(batch, p, 4, {0.15f, 0.09f, 0.05f, 1}, {0.77f, 0.63f, 0.35f, 1}, 1.2f);
    fillRect(batch, p.l + 10, p.t + 6, p.w - 20, p.h - 12, {0.06f, 0.14f, 0.09f, 1});
    const float sx = p.l + p.w - 24, sy = p.t + 6;
    fillRoundedRect(batch, sx, sy, 14, 10, 2, {0.08f, 0.5f, 0.24f, 1});
    fillCircleGradient(batch, sx + 7, sy + 5, 28, {0.29f, 0.87f, 0.5f, 0.22f},
                       {0.29f, 0.87f, 0.5f, 0}, 20);
    fillRect(batch, p.l + 14, p.t + 10, 12, 9, {0.85f, 0.47f, 0.02f, 1});
}

void drawBookcase(Batch& batch, const Piece& p) {
    drawBody(batch, p, 2, {0.11f, 0.07f, 0.05f, 1}, {0.47f, 0.21f, 0.06f, 1}, 1.0f);
    const Color spines[] = {kAlarmRed, kCyan, kAllyGreen, kGold};
    const float bottom = p.t + p.h - 4;
    for (int row = 0; row < kMaxRepeatedParts; ++row) {
        const float sy = p.t + 3 + 6 * static_cast<float>(row);
        if (!(sy < bottom)) break;
        const float r = std::min(bottom - sy, 6.0f);
        if (r > 1) fillRect(batch, p.l + 3, sy, p.w - 6, r - 1, spines[row % 4]);
    }
}

void drawServer(Batch& batch, const Piece& p) {
    drawBody(batch, p, 3, {0.04f, 0.05f, 0.08f, 1}, kCyan, 1.0f);
    const float q = (p.h - 8) / 4;
    for (int i = 0; i < 4; ++i) {
        const float uy = p.t + 4 + static_cast<float>(i) * q;
        fillRect(batch, p.l + 4, uy, p.w - 8, q - 2, {0.09f, 0.12f, 0.2f, 1});
    }
}

// Each of the four units blinks its two lights out of step with the others;
// with reduced flashing they all stay lit.
void drawServerLights(Batch& batch, const Piece& p, float clock, bool steady) {
    const float q = (p.h - 8) / 4;
    for (int i = 0; i < 4; ++i) {
        const float uy = p.t + 4 + static_cast<float>(i) * q;
        const bool lit = steady || std::sin(8 * clock + 2.3f * static_cast<float>(i)) > 0;
        const float ly = uy + (q - 2) / 2 - 1;
        fillRect(batch, p.l + 6, ly, 3, 2,
                 lit ? Color{0.18f, 0.545f, 0.341f, 1} : Color{0.08f, 0.33f, 0.18f, 1});
        fillRect(batch, p.l + 11, ly, 3, 2,
                 lit ? Color{0.024f, 0.714f, 0.831f, 1} : Color{0.09f, 0.31f, 0.39f, 1});
    }
}

float cryopodRadius(const Piece& p) {
    return std::max(std::min(p.w, p.h) / 2, 6.0f);
}

void drawCryopod(Batch& batch, const Piece& p) {
    const float r = cryopodRadius(p);
    fillCircle(batch, p.x, p.y, r, {0.12f, 0.16f, 0.23f, 1}, 24);
    circleOutline(batch, p.x, p.y, r, 2, kCyan, 24);
    fillCircleGradient(batch, p.x, p.y, r - 4, withAlpha(kCyan, 0.85f), {0.06f, 0.09f, 0.16f, 0.8f},
                       24);
}

// Bubbles rise through the glass and start again at the bottom.
void drawCryopodBubbles(Batch& batch, const Piece& p, float clock) {
    const float r = cryopodRadius(p);
    const float travel = 2 * (r - 5);
    for (int i = 0; i < 3; ++i) {
        const float fi = static_cast<float>(i);
        const float rise = std::fmod(15 * clock + 11 * fi, travel);
        fillCircle(batch, p.x - 4 + 4 * fi, p.y + (r - 5) - rise, 1.2f, {1, 1, 1, 0.7f}, 8);
    }
}

void drawArchiveRack(Batch& batch, const Piece& p) {
    drawBody(batch, p, 2, {0.07f, 0.09f, 0.15f, 1}, {0.28f, 0.33f, 0.41f, 1});
    const float last = p.x + p.w / 2 - 8;
    for (int binder = 0; binder < kMaxRepeatedParts; ++binder) {
        const float bx = p.l + 8 + 11 * static_cast<float>(binder);
        if (!(bx <= last)) break;
        fillCircle(batch, bx, p.y, 3.5f, {0.39f, 0.45f, 0.55f, 1}, 12);
        fillCircle(batch, bx, p.y, 1.5f, {0.06f, 0.09f, 0.16f, 1}, 8);
    }
}

Piece pieceOf(const Furniture& f) {
    return {f.x, f.y, f.w, f.h, f.x - f.w / 2, f.y - f.h / 2};
}

// Everything of a piece that stays still: its shadow, body and artwork.
void drawStillPiece(Batch& batch, const Furniture& f) {
    const Piece p = pieceOf(f);
    fillRoundedRect(batch, p.l - 2, p.t - 1, p.w + 7, p.h + 8, 6, {0, 0, 0, 0.32f});
    fillRoundedRect(batch, p.l + 1, p.t + 4, p.w + 7, p.h + 8, 5, {0, 0, 0, 0.58f});

    const std::string_view type = f.type;
    if (type == "roulette") {
        drawRoulette(batch, p);
    } else if (type == "blackjack") {
        drawBlackjack(batch, p);
    } else if (type == "plush_booth") {
        drawPlushBooth(batch, p);
    } else if (type == "stanchions") {
        drawStanchions(batch, p);
    } else if (type == "desk") {
        drawDesk(batch, p);
    } else if (type == "bookcase") {
        drawBookcase(batch, p);
    } else if (type == "server") {
        drawServer(batch, p);
    } else if (type == "cryopod") {
        drawCryopod(batch, p);
    } else if (type == "archive_rack") {
        drawArchiveRack(batch, p);
    } else {
        drawBody(batch, p, 3, {0.14f, 0.11f, 0.08f, 1}, {0.76f, 0.6f, 0.24f, 1});
    }
}

// What moves on a piece, each part inside the piece's own artwork.
void drawMovingParts(Batch& batch, const Furniture& f, float clock, bool steady) {
    const Piece p = pieceOf(f);
    const std::string_view type = f.type;
    if (type == "roulette") {
        drawRouletteBall(batch, p, clock);
    } else if (type == "server") {
        drawServerLights(batch, p, clock, steady);
    } else if (type == "cryopod") {
        drawCryopodBubbles(batch, p, clock);
    }
}

std::uint64_t stillFurnitureKey(const Game& game) {
    LayerKey key;
    for (const Furniture& f : game.furniture) {
        const float box[] = {f.x, f.y, f.w, f.h};
        key.mix(box, sizeof box);
        key.mix(f.type);
    }
    return key.value();
}

}  // namespace

// The still parts of every piece may be kept by the renderer as one picture;
// the few that move are drawn over it each frame.
void drawFurniture(Batch& batch, const Game& game) {
    drawFurnitureWith(batch, game, SceneAccessibility{});
}

void drawFurnitureWith(Batch& batch, const Game& game, const SceneAccessibility& accessibility) {
    if (batch.beginStaticLayer(stillFurnitureKey(game), StaticLayer::Middle)) {
        for (const Furniture& f : game.furniture) drawStillPiece(batch, f);
        batch.endStaticLayer();
    }
    for (const Furniture& f : game.furniture)
        drawMovingParts(batch, f, game.animClock, accessibility.reducedFlashing);
}

}  // namespace nj
