// Whole-field overlays: the detection border, the banner's coloured frame and
// the dimming behind the safe puzzle.

#include <cmath>

#include "render/primitives.hpp"
#include "render/scene/scene.hpp"
#include "render/scene/scene_palette.hpp"

namespace nj {

void drawDetectionBorder(Batch& batch, const Game& game) {
    if (!(game.detection > 0.25f)) return;
    rectOutline(batch, 2, 2, 956, 536, 3.0f,
                withAlpha(kAlarmRed, 0.45f * (game.detection - 0.25f)));
}

void drawBannerFrame(Batch& batch, const Game& game) {
    drawBannerFrameWith(batch, game, SceneAccessibility{});
}

// The banner glows in from all four edges and out again: strength follows
// sin(pi f) over the banner's life f = 1 -> 0, so it is invisible at both ends.
// With reduced flashing the frame holds one mild strength and width throughout.
void drawBannerFrameWith(Batch& batch, const Game& game, const SceneAccessibility& accessibility) {
    if (!game.bannerActive || !(game.bannerTimer > 0) || !(game.bannerDuration > 0)) return;
    const float f = game.bannerTimer / game.bannerDuration;
    const bool steady = accessibility.reducedFlashing;
    const float s = steady ? kSteadyPulse : std::sin(kScenePi * f);
    if (!(s > 0)) return;
    const float b = steady ? 48.0f : 36 + 24 * (1 - f);
    const Color edge = withAlpha(game.bannerColor, 0.45f * s);
    const Color clear = withAlpha(game.bannerColor, 0);
    fillGradientRectV(batch, 0, 0, 960, b, edge, clear);
    fillGradientRectV(batch, 0, 540 - b, 960, b, clear, edge);
    fillGradientRectH(batch, 0, 0, b, 540, edge, clear);
    fillGradientRectH(batch, 960 - b, 0, b, 540, clear, edge);
    rectOutline(batch, 2, 2, 956, 536, 3.0f, withAlpha(game.bannerColor, 0.95f * s));
}

void drawSafeDimming(Batch& batch, const Game& game) {
    if (game.safeActive) fillRect(batch, 0, 0, 960, 540, {0, 0, 0, 0.75f});
}

}  // namespace nj
