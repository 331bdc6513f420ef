// render-smoke's picture: a floor, every primitive once, additive glows and text.

#include "tools/render-smoke/smoke_scene.hpp"

#include <cmath>
#include <numbers>
#include <string>

#include "render/font.hpp"
#include "render/primitives.hpp"

namespace nj::smoke {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
const Color kFloor{0.07f, 0.09f, 0.13f, 1.0f};
const Color kWall{0.22f, 0.26f, 0.33f, 1.0f};
const Color kWhite{1.0f, 1.0f, 1.0f, 1.0f};

void drawTestBlocks(Batch& b) {
    fillRect(b, kRedBlock[0], kRedBlock[1], kRedBlock[2], kRedBlock[3], {1, 0, 0, 1});
    fillRect(b, kMagentaBlock[0], kMagentaBlock[1], kMagentaBlock[2], kMagentaBlock[3],
             {0, 0, 1, 1});
    b.setAdditiveBlend(true);
    fillRect(b, kMagentaBlock[0], kMagentaBlock[1], kMagentaBlock[2], kMagentaBlock[3],
             {1, 0, 0, 1});
    b.setAdditiveBlend(false);
}

void drawShapes(Batch& b, int frame) {
    const float sweep = static_cast<float>(frame) * 0.03f;
    fillGradientRectH(b, 240, 40, 160, 60, kCyan, kPurple);
    fillGradientRectV(b, 420, 40, 160, 60, kGold, kRuby);
    rectOutline(b, 600, 40, 120, 60, 3, kEmerald);
    fillRoundedRect(b, 740, 40, 180, 60, 14, {0.2f, 0.3f, 0.5f, 1});
    roundedRectOutline(b, 740, 40, 180, 60, 14, 3, kCyan);

    fillCircle(b, 90, 200, 45, kRuby, 32);
    fillCircleGradient(b, 210, 200, 45, kWhite, {0.0f, 0.4f, 0.8f, 0.0f}, 32);
    circleOutline(b, 330, 200, 45, 6, kGold, 40);
    fillEllipse(b, 460, 200, 60, 30, sweep, kEmerald, 32);
    ellipseOutline(b, 610, 200, 60, 30, -sweep, 4, kPurple, 32);
    fillTriangle(b, 700, 245, 760, 155, 820, 245, kGold);
    fillRotatedRect(b, 880, 200, 80, 30, sweep, kCyan);

    // A camera's vision cone sweeping over the floor, lit additively.
    b.setAdditiveBlend(true);
    const float facing = -kPi / 2 + std::sin(sweep) * 0.6f;
    fillSector(b, 480, 470, 190, facing - 0.45f, facing + 0.45f, {1.0f, 0.85f, 0.3f, 0.35f},
               {1.0f, 0.85f, 0.3f, 0.0f}, 24);
    fillCircleGradient(b, 150, 400, 70, {0.1f, 0.7f, 0.9f, 0.5f}, {0.1f, 0.7f, 0.9f, 0.0f}, 32);
    b.setAdditiveBlend(false);

    for (int i = 0; i < 8; ++i) {
        const float y = 300 + static_cast<float>(i) * 4;
        drawLine(b, 40, y, 300 + static_cast<float>(i) * 10, y + 40,
                 1 + static_cast<float>(i) * 0.5f, kRuby);
    }
    drawLine(b, 620, 300, 900, 330, 2, {1, 0.2f, 0.2f, 0.9f});  // a laser
}

void drawLabels(Batch& b) {
    drawText(b, "NIGHTJAR : GLASS HARBOR", 480, 270, 3, kGold, TextAlign::Center);
    drawText(b, "The quick brown fox jumps over the lazy dog.", 20, 510, 1.5f, kWhite,
             TextAlign::Left);
    drawText(b, "0123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~", 940, 490, 1.5f, kCyan,
             TextAlign::Right);
    drawText(b, "ALARM", 700, 380, 2, kRuby, TextAlign::Left);
    drawText(b, "tripped", 700, 410, 2, kEmerald, TextAlign::Left);
}

}  // namespace

void drawScene(Batch& b, int frame) {
    fillRect(b, 0, 0, kCanvasWidth, kCanvasHeight, kFloor);
    for (float x = 0; x < kCanvasWidth; x += 60) drawLine(b, x, 120, x, 540, 1, kWall);
    drawTestBlocks(b);
    drawShapes(b, frame);
    drawLabels(b);
}

std::vector<uint8_t> makeOverlay(int width, int height, int rowBytes) {
    std::vector<uint8_t> pixels(static_cast<size_t>(rowBytes) * static_cast<size_t>(height), 0);
    const auto toX = [&](float canvasX) {
        return static_cast<int>(canvasX / kCanvasWidth * width);
    };
    const auto toY = [&](float canvasY) {
        return static_cast<int>(canvasY / kCanvasHeight * height);
    };
    const auto put = [&](int x, int y, uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
        uint8_t* p = &pixels[static_cast<size_t>(y) * rowBytes + static_cast<size_t>(x) * 4];
        p[0] = b, p[1] = g, p[2] = r, p[3] = a;
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool border = x < 4 || y < 4 || x >= width - 4 || y >= height - 4;
            if (border) put(x, y, 200, 180, 40, 160);
        }
    }
    const int x0 = toX(kOverlayGreen[0]), x1 = toX(kOverlayGreen[0] + kOverlayGreen[2]);
    const int y0 = toY(kOverlayGreen[1]), y1 = toY(kOverlayGreen[1] + kOverlayGreen[3]);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) put(x, y, 0, 255, 0, 255);
    }
    // Padding bytes past each row's pixels must never show: make them loud.
    for (int y = 0; y < height; ++y) {
        for (int i = width * 4; i < rowBytes; ++i) {
            pixels[static_cast<size_t>(y) * rowBytes + static_cast<size_t>(i)] = 0xFF;
        }
    }
    return pixels;
}

}  // namespace nj::smoke
