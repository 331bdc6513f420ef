#pragma once
// Numbers more than one rule file needs. Each file's own tuning opens that
// file, in its anonymous namespace.

namespace nj {

inline constexpr float kPi = 3.14159265358979323846f;
inline constexpr float kTwoPi = 6.28318530717958647692f;

// How close the operative must stand to the safe terminal to open it [E].
inline constexpr float kTerminalReach = 55.0f;

// Reaches the rules and the mission checker share: the card and keycards are
// taken within this much beyond the two radii; intel and the directive are
// taken with [E] within these distances of their centres.
inline constexpr float kCardReachMargin = 4.0f;
inline constexpr float kKeycardReachMargin = 4.0f;
inline constexpr float kIntelReach = 46.0f;
inline constexpr float kDirectiveReach = 48.0f;

// Effects seeded from the clock take its milliseconds.
inline constexpr float kSeedTicksPerSecond = 1000.0f;

// The safe's three tumblers, in turn: spin rates (radians per second,
// signed) and window widths (radians).
inline constexpr float kTumblerSpeeds[3] = {2.2f, -3.0f, 4.2f};
inline constexpr float kTumblerWidths[3] = {0.65f, 0.5f, 0.38f};

// The staff disguise fools guards' eyes, and the operative is drawn in the
// staff suit, while its integrity is above this.
inline constexpr float kDisguiseHoldsAbove = 0.15f;

// The takedown lunge: the operative slides most of the way to the victim.
inline constexpr float kLungeSeconds = 0.42f;

}  // namespace nj
