#pragma once
// The page's size in page units. The page is always laid out this size and
// scaled to the viewport, so the game, the page state and the overlay host
// place things and map the mouse in the same units whatever the window.

#include <cstdint>

namespace nj {

inline constexpr std::uint32_t kPageWidth = 1280;
inline constexpr std::uint32_t kPageHeight = 720;

}  // namespace nj
