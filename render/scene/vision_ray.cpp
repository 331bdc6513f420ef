// Sight rays: how far a cone or a camera wedge reaches before something stops it.

#include "render/scene/vision_ray.hpp"

#include <cmath>

#include "render/scene/scene.hpp"

namespace nj {
namespace {

constexpr float kFirstSample = 8.0f;
constexpr float kSampleStep = 7.5f;
// Enough steps to cross the whole field corner to corner (about 1,101 units),
// so a ray from absurd mission coordinates stops there instead of running on.
constexpr int kMaxSamples = 148;
constexpr float kLongestReach = kFirstSample + kSampleStep * (kMaxSamples - 1);
// Gates and doors stop sight until they are this far open.
constexpr float kSeeThroughOpening = 0.8f;

}  // namespace

void VisionRays::aim(float x, float y, float reach) {
    x_ = x;
    y_ = y;
    blockers_.clear();
    // Samples never go further than the longest reach; padded by a unit so
    // rounding at the far end cannot drop an obstacle.
    const float r = (reach < kLongestReach ? reach : kLongestReach) + 1.0f;
    const float loX = x - r, hiX = x + r, loY = y - r, hiY = y + r;
    auto consider = [&](float bx, float by, float bw, float bh) {
        if (bx <= hiX && bx + bw >= loX && by <= hiY && by + bh >= loY)
            blockers_.push_back({bx, by, bw, bh});
    };
    for (const Wall& w : game_.walls) consider(w.x, w.y, w.w, w.h);
    if (game_.gateOpen < kSeeThroughOpening)
        consider(game_.gate.x, game_.gate.y, game_.gate.w, game_.gate.h);
    for (const Door& d : game_.doors) {
        if (d.openAmount < kSeeThroughOpening) consider(d.x, d.y, d.w, d.h);
    }
}

float VisionRays::cast(float angle, float maxDistance) const {
    if (maxDistance <= kFirstSample || blockers_.empty()) return maxDistance;
    const float dx = std::cos(angle), dy = std::sin(angle);
    for (int k = 0; k < kMaxSamples; ++k) {
        const float d = kFirstSample + kSampleStep * static_cast<float>(k);
        if (!(d < maxDistance)) break;
        const float px = x_ + d * dx, py = y_ + d * dy;
        for (const Box& b : blockers_) {
            if (px >= b.x && px <= b.x + b.w && py >= b.y && py <= b.y + b.h) {
                const float pulledBack = d - 0.5f * kSampleStep;
                return pulledBack > 6.0f ? pulledBack : 6.0f;
            }
        }
    }
    return maxDistance;
}

float castVisionRay(const Game& game, float x, float y, float angle, float maxDistance) {
    VisionRays rays(game);
    rays.aim(x, y, maxDistance);
    return rays.cast(angle, maxDistance);
}

}  // namespace nj
