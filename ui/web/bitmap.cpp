// BGRA pixel storage laid out the way cairo's image surfaces expect.
#include "ui/web/bitmap.hpp"

#include <cairo.h>

#include <cstring>

namespace web {

Bitmap::Bitmap(std::uint32_t width, std::uint32_t height) : width_(width), height_(height) {
    if (empty()) {
        width_ = height_ = 0;
        return;
    }
    rowBytes_ = static_cast<std::uint32_t>(
        cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, static_cast<int>(width)));
    pixels_.assign(static_cast<std::size_t>(rowBytes_) * height_, 0);
}

void* Bitmap::lockPixels() {
    if (empty() || locked_) return nullptr;
    locked_ = true;
    return pixels_.data();
}

void Bitmap::unlockPixels() {
    locked_ = false;
}

std::uint32_t Bitmap::pixel(std::uint32_t x, std::uint32_t y) const {
    if (x >= width_ || y >= height_) return 0;
    std::uint32_t value = 0;
    std::memcpy(&value, pixels_.data() + static_cast<std::size_t>(y) * rowBytes_ + x * 4u, 4);
    return value;  // little-endian: bytes B,G,R,A read as 0xAARRGGBB
}

}  // namespace web
