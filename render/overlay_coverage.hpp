#pragma once
// Where the page actually has pixels. Most of a playing frame's page is
// transparent (a HUD in two corners), and blending a full-canvas quad of
// nothing costs a software rasteriser a whole screen of fragments; drawing
// only the covered tiles costs what the HUD covers.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace nj {

struct PixelRect {
    std::uint32_t x = 0, y = 0, w = 0, h = 0;
    bool operator==(const PixelRect&) const = default;
};

inline constexpr std::uint32_t kOverlayTile = 32;  // bitmap pixels

// The `tile`-pixel tiles of a BGRA bitmap (premultiplied: alpha 0 means
// nothing to draw) that hold or border a visible pixel, merged into
// horizontal runs, top to bottom. A tile counts when any pixel within
// `margin` pixels of it is visible, so a filtered (scaled) sample at a tile's
// edge never misses a neighbour's pixel. `rowBytes` 0 means tightly packed.
// Kept pictures of the play field use it too, with no margin and small tiles
// (they are sampled one texel to a pixel, and their shapes are thin).
std::vector<PixelRect> overlayCoverage(const std::uint8_t* pixels, std::uint32_t width,
                                       std::uint32_t height, std::size_t rowBytes,
                                       std::uint32_t margin = 2, std::uint32_t tile = kOverlayTile);

}  // namespace nj
