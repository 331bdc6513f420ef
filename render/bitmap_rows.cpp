// Packing page bitmap rows tightly for the overlay texture upload.

#include "render/bitmap_rows.hpp"

#include <cstring>

namespace nj {

void packBitmapRows(uint8_t* dst, const uint8_t* src, int width, int height, size_t rowBytes) {
    if (width < 1 || height < 1) return;
    const size_t packedRow = static_cast<size_t>(width) * 4;
    const auto rows = static_cast<size_t>(height);
    if (rowBytes == 0 || rowBytes == packedRow) {
        std::memcpy(dst, src, packedRow * rows);
        return;
    }
    for (size_t row = 0; row < rows; ++row) {
        std::memcpy(dst + packedRow * row, src + rowBytes * row, packedRow);
    }
}

}  // namespace nj
