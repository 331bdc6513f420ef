#pragma once
// Colours as four floats, 0..1, straight (not premultiplied) alpha. Shared by
// the rules (banners, bursts), the renderer and the page protocol.

namespace nj {

struct Color {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 1.0f;
};

inline constexpr Color kCyan{0.024f, 0.714f, 0.831f, 1.0f};
inline constexpr Color kGold{0.83f, 0.686f, 0.216f, 1.0f};
inline constexpr Color kRuby{0.769f, 0.118f, 0.227f, 1.0f};
inline constexpr Color kEmerald{0.18f, 0.545f, 0.341f, 1.0f};
inline constexpr Color kPurple{0.659f, 0.333f, 0.969f, 1.0f};

}  // namespace nj
