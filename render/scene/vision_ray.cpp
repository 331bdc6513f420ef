// Sight rays: how far a cone or a camera wedge reaches before something stops it.

#include "render/scene/vision_ray.hpp"

#include <cmath>
#include <limits>
#include <utility>

#include "render/scene/scene.hpp"

namespace nj {
namespace {

constexpr float kFirstSample = 8.0f;
constexpr float kSampleStep = 7.5f;
// Enough steps to cross the whole field corner to corner (about 1,101 units),
// so a ray from absurd mission coordinates stops there instead of running on.
constexpr int kMaxSamples = 148;
constexpr float kLongestReach = kFirstSample + kSampleStep * (kMaxSamples - 1);
// Gates and doors stop a drawn cone until they are this far open, and
// furniture never does. What a guard sees is decided by the game's own, stricter
// sight test (Game::lineOfSightBlocked: shut until fully open, furniture
// blocks): the cone shows roughly where a guard looks, so cover can hide the
// operative inside it. The two differ on purpose.
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

namespace {

float lesser(float a, float b) {
    return b < a ? b : a;
}
float greater(float a, float b) {
    return b > a ? b : a;
}

// One ray's line (x, y) + t (dx, dy), with what every box test needs.
struct Ray {
    float x, y, dx, dy;
    float invDx, invDy;        // 0 for an axis the ray runs parallel to
    float loX, loY, hiX, hiY;  // bounding box of the sampled stretch, grown by the slack
    float slack;

    // The stretch t0..t1 of the ray that lies in the box grown by the slack;
    // false when the ray misses it.
    bool crosses(float bx, float by, float bw, float bh, float& t0, float& t1) const {
        if (bx > hiX || bx + bw < loX || by > hiY || by + bh < loY) return false;
        t0 = -std::numeric_limits<float>::infinity();
        t1 = std::numeric_limits<float>::infinity();
        return clip(x, dx, invDx, bx - slack, bx + bw + slack, t0, t1) &&
               clip(y, dy, invDy, by - slack, by + bh + slack, t0, t1);
    }

    static bool clip(float origin, float dir, float inv, float lo, float hi, float& t0, float& t1) {
        if (dir == 0.0f) return origin >= lo && origin <= hi;
        float a = (lo - origin) * inv, b = (hi - origin) * inv;
        if (a > b) std::swap(a, b);
        t0 = greater(t0, a);
        t1 = lesser(t1, b);
        return t0 <= t1;
    }
};

}  // namespace

// The rule is "the first sample inside an obstacle", and the samples are what
// decide; the box tests only narrow down which samples can be inside each box,
// so a few points per box are tested instead of every point against every box.
float VisionRays::cast(float angle, float maxDistance) const {
    if (!(kFirstSample < maxDistance) || blockers_.empty()) return maxDistance;
    Ray ray;
    ray.x = x_;
    ray.y = y_;
    ray.dx = std::cos(angle);
    ray.dy = std::sin(angle);
    ray.invDx = ray.dx != 0.0f ? 1.0f / ray.dx : 0.0f;
    ray.invDy = ray.dy != 0.0f ? 1.0f / ray.dy : 0.0f;
    // Covers the rounding of the sample points, which grows with the size of
    // the coordinates.
    ray.slack = 0.01f + 1e-5f * (std::fabs(x_) + std::fabs(y_) + kLongestReach);
    const float reach = lesser(maxDistance, kLongestReach);
    const float nearX = x_ + kFirstSample * ray.dx, nearY = y_ + kFirstSample * ray.dy;
    const float farX = x_ + reach * ray.dx, farY = y_ + reach * ray.dy;
    ray.loX = lesser(nearX, farX) - ray.slack;
    ray.hiX = greater(nearX, farX) + ray.slack;
    ray.loY = lesser(nearY, farY) - ray.slack;
    ray.hiY = greater(nearY, farY) + ray.slack;

    int first = kMaxSamples;  // first blocking sample found so far
    for (const Box& b : blockers_) {
        float t0 = 0.0f, t1 = 0.0f;
        if (!ray.crosses(b.x, b.y, b.w, b.h, t0, t1)) continue;
        const float from = std::ceil((t0 - kFirstSample) / kSampleStep);
        const float to = std::floor((t1 - kFirstSample) / kSampleStep);
        const int kFrom = from > 0.0f ? static_cast<int>(lesser(from, kMaxSamples)) : 0;
        const int kTo =
            to < static_cast<float>(first - 1) ? static_cast<int>(greater(to, -1.0f)) : first - 1;
        for (int k = kFrom; k <= kTo; ++k) {
            const float d = kFirstSample + kSampleStep * static_cast<float>(k);
            if (!(d < maxDistance)) break;
            const float px = x_ + d * ray.dx, py = y_ + d * ray.dy;
            if (px >= b.x && px <= b.x + b.w && py >= b.y && py <= b.y + b.h) {
                first = k;
                break;
            }
        }
    }
    if (first == kMaxSamples) return maxDistance;
    const float pulledBack =
        kFirstSample + kSampleStep * static_cast<float>(first) - 0.5f * kSampleStep;
    return pulledBack > 6.0f ? pulledBack : 6.0f;
}

float castVisionRay(const Game& game, float x, float y, float angle, float maxDistance) {
    VisionRays rays(game);
    rays.aim(x, y, maxDistance);
    return rays.cast(angle, maxDistance);
}

}  // namespace nj
