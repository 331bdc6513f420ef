#pragma once
// Colours and clocks shared by the world and actor drawing.

#include <cmath>
#include <numbers>
#include <string_view>

#include "core/color.hpp"

namespace nj {

inline constexpr float kScenePi = std::numbers::pi_v<float>;

inline constexpr Color kTransparent{0.0f, 0.0f, 0.0f, 0.0f};
inline constexpr Color kWhite{1.0f, 1.0f, 1.0f, 1.0f};
// The actors' names for two of the shared colours.
inline constexpr Color kAlarmRed = kRuby;
inline constexpr Color kAllyGreen = kEmerald;

inline Color withAlpha(const Color& rgb, float alpha) {
    return {rgb.r, rgb.g, rgb.b, alpha};
}

// The best run's ghost: a cool, faint tint, fading with its strength (0..1).
inline constexpr Color kGhostTint{0.6f, 0.86f, 1.0f, 0.4f};
inline Color ghostTint(float strength) {
    return withAlpha(kGhostTint, kGhostTint.a * strength);
}

// Door and keycard colours by name; a name the game does not know is cyan.
inline Color colorForName(std::string_view name) {
    if (name == "ruby") return kRuby;
    if (name == "emerald") return kEmerald;
    if (name == "purple") return kPurple;
    return kCyan;
}

// The slow throb of lit fixtures (an armed exit, the terminal ring), 0..1.
inline float fixturePulse(float animClock) {
    return std::sin(animClock * 3.5f) * 0.5f + 0.5f;
}

// The quicker throb of markers and rings, 0..1.
inline float markerPulse(float animClock) {
    return std::sin(4.0f * animClock) * 0.5f + 0.5f;
}

// A player who asked for reduced flashing sees every throb held at its middle.
inline constexpr float kSteadyPulse = 0.5f;
inline float fixturePulse(float animClock, bool steady) {
    return steady ? kSteadyPulse : fixturePulse(animClock);
}
inline float markerPulse(float animClock, bool steady) {
    return steady ? kSteadyPulse : markerPulse(animClock);
}

}  // namespace nj
