#pragma once
// Small geometry, random and number helpers shared by the rule files.

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "game/world.hpp"

namespace nj {

// Brings an angle into (-pi, pi].
inline float wrapAngle(float a) {
    return std::atan2(std::sin(a), std::cos(a));
}

inline float angleTo(float fromX, float fromY, float toX, float toY) {
    return std::atan2(toY - fromY, toX - fromX);
}

inline float distance(float ax, float ay, float bx, float by) {
    return std::sqrt((bx - ax) * (bx - ax) + (by - ay) * (by - ay));
}

// Plain comparisons: these sit in the hottest loops, where the library
// fminf/fmaxf calls cost more than the geometry around them.
inline float minOf(float a, float b) {
    return b < a ? b : a;
}
inline float maxOf(float a, float b) {
    return b > a ? b : a;
}

// Walking a looping route of waypoints (a guard's patrol, a courier's round).
// A walker this close to its waypoint has reached it.
inline constexpr float kWaypointReach = 6.0f;

struct RouteStep {
    bool reached = false;  // moved on to the next waypoint instead of walking
    float walked = 0.0f;   // distance covered this step
};

// One step of at most `stepLength` towards the current waypoint, never past
// it, facing where it goes; at the waypoint, the next one becomes current and
// the walker stays put this step. `route` must not be empty.
inline RouteStep walkRoute(const std::vector<Vec2>& route, std::uint64_t& index, float& x, float& y,
                           float& facing, float stepLength) {
    index %= route.size();
    const Vec2 wp = route[index];
    const float d = distance(x, y, wp.x, wp.y);
    if (d < kWaypointReach) {
        index = (index + 1) % route.size();
        return {true, 0.0f};
    }
    const float step = std::fmin(stepLength, d);
    facing = angleTo(x, y, wp.x, wp.y);
    x += (wp.x - x) / d * step;
    y += (wp.y - y) / d * step;
    return {false, step};
}

// Squared distance from a point to the nearest point of a rectangle. Written
// with min/max rather than std::clamp so a rectangle of negative size from
// mission data is harmless.
inline float squaredDistanceToRect(float px, float py, float x, float y, float w, float h) {
    const float nx = maxOf(x, minOf(px, x + w));
    const float ny = maxOf(y, minOf(py, y + h));
    return (px - nx) * (px - nx) + (py - ny) * (py - ny);
}

// Strict overlap: a circle that only touches an edge does not overlap.
inline bool circleOverlapsRect(float cx, float cy, float r, float x, float y, float w, float h) {
    return squaredDistanceToRect(cx, cy, x, y, w, h) < r * r;
}

// Edges included.
inline bool pointInRect(float px, float py, float x, float y, float w, float h) {
    return px >= x && px <= x + w && py >= y && py <= y + h;
}

// The game's uniform value in [0, 1): the top 24 bits of one engine draw.
inline float uniform01(std::mt19937& engine) {
    return static_cast<float>(engine() >> 8) * (1.0f / 16777216.0f);
}

// Truncation towards zero that never leaves the target range: out-of-range
// values saturate and NaN gives 0, so numbers from data or the page cannot
// reach undefined behaviour.
template <typename Int>
Int saturatingTruncate(double value) {
    if (std::isnan(value)) return 0;
    constexpr double lo = static_cast<double>(std::numeric_limits<Int>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<Int>::max());
    if (value <= lo) return std::numeric_limits<Int>::min();
    if (value >= hi) return std::numeric_limits<Int>::max();
    return static_cast<Int>(value);
}

// Engine seed from a position or a clock: the low 32 bits of the value
// truncated to a 64-bit integer.
inline std::uint32_t seedFrom(double value) {
    return static_cast<std::uint32_t>(
        static_cast<std::uint64_t>(saturatingTruncate<std::int64_t>(value)));
}

}  // namespace nj
