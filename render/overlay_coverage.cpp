// Covered tiles of a bitmap: the page's, or a kept picture of the play field.
#include "render/overlay_coverage.hpp"

#include <algorithm>

namespace nj {
namespace {

// Marks every tile within `margin` pixels of a visible pixel, row by row.
std::vector<std::uint8_t> coveredTiles(const std::uint8_t* pixels, std::uint32_t width,
                                       std::uint32_t height, std::size_t rowBytes,
                                       std::uint32_t margin, std::uint32_t tile,
                                       std::uint32_t columns) {
    const std::uint32_t rows = (height + tile - 1) / tile;
    std::vector<std::uint8_t> covered(static_cast<std::size_t>(columns) * rows, 0);
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t* row = pixels + rowBytes * y;
        const std::uint32_t firstTileRow = (y > margin ? y - margin : 0) / tile;
        const std::uint32_t lastTileRow = std::min(y + margin, height - 1) / tile;
        std::uint32_t x = 0;
        while (x < width) {
            if (row[4 * x + 3] == 0) {
                ++x;
                continue;
            }
            // A run of visible pixels marks its tiles (and the margin's) at once.
            std::uint32_t end = x;
            while (end + 1 < width && row[4 * (end + 1) + 3] != 0) ++end;
            const std::uint32_t firstColumn = (x > margin ? x - margin : 0) / tile;
            const std::uint32_t lastColumn = std::min(end + margin, width - 1) / tile;
            for (std::uint32_t ty = firstTileRow; ty <= lastTileRow; ++ty) {
                std::fill(covered.begin() + ty * columns + firstColumn,
                          covered.begin() + ty * columns + lastColumn + 1, 1);
            }
            x = end + 1;
        }
    }
    return covered;
}

}  // namespace

std::vector<PixelRect> overlayCoverage(const std::uint8_t* pixels, std::uint32_t width,
                                       std::uint32_t height, std::size_t rowBytes,
                                       std::uint32_t margin, std::uint32_t tile) {
    std::vector<PixelRect> runs;
    if (!pixels || width == 0 || height == 0 || tile == 0) return runs;
    if (rowBytes == 0) rowBytes = static_cast<std::size_t>(width) * 4;
    const std::uint32_t columns = (width + tile - 1) / tile;
    const std::vector<std::uint8_t> covered =
        coveredTiles(pixels, width, height, rowBytes, margin, tile, columns);
    const std::uint32_t rows = static_cast<std::uint32_t>(covered.size() / columns);
    for (std::uint32_t ty = 0; ty < rows; ++ty) {
        std::uint32_t tx = 0;
        while (tx < columns) {
            if (!covered[ty * columns + tx]) {
                ++tx;
                continue;
            }
            std::uint32_t end = tx;
            while (end + 1 < columns && covered[ty * columns + end + 1]) ++end;
            const std::uint32_t x = tx * tile, y = ty * tile;
            runs.push_back(
                {x, y, std::min((end + 1) * tile, width) - x, std::min(y + tile, height) - y});
            tx = end + 1;
        }
    }
    return runs;
}

}  // namespace nj
