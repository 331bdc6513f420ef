#pragma once
// Numbers more than one rule file needs. Each file's own tuning opens that
// file, in its anonymous namespace.

namespace nj {

inline constexpr float kPi = 3.14159265358979323846f;
inline constexpr float kTwoPi = 6.28318530717958647692f;

// How close the operative must stand to the safe terminal to open it [E].
inline constexpr float kTerminalReach = 55.0f;

// The takedown lunge: the operative slides most of the way to the victim.
inline constexpr float kLungeSeconds = 0.42f;

}  // namespace nj
