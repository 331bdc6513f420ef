#pragma once
// The pixels a view paints into: BGRA, 8 bits a channel, premultiplied alpha
// (cairo's ARGB32 on a little-endian machine), rows top to bottom.

#include <cstdint>
#include <vector>

namespace web {

class Bitmap {
  public:
    Bitmap() = default;
    Bitmap(std::uint32_t width, std::uint32_t height);  // cleared to transparent

    bool empty() const { return width_ == 0 || height_ == 0; }
    std::uint32_t width() const { return width_; }        // pixels
    std::uint32_t height() const { return height_; }      // pixels
    std::uint32_t rowBytes() const { return rowBytes_; }  // >= 4 * width

    // Pixel access for the host. Lock/unlock pairs may not nest; the pointer
    // stays valid until unlock, and the pixels stay unchanged between frames.
    void* lockPixels();  // null when empty or already locked
    void unlockPixels();
    bool locked() const { return locked_; }

    std::uint8_t* data() { return pixels_.data(); }  // the engine's own access
    const std::uint8_t* data() const { return pixels_.data(); }
    // BGRA of one pixel packed as 0xAARRGGBB (premultiplied).
    std::uint32_t pixel(std::uint32_t x, std::uint32_t y) const;

  private:
    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
    std::uint32_t rowBytes_ = 0;
    bool locked_ = false;
    std::vector<std::uint8_t> pixels_;
};

// A view's painting target; the bitmap is replaced only by a resize. It is
// dirty from a paint or resize until the host says it has taken the pixels,
// so a host can skip copying a picture that has not changed.
class BitmapSurface {
  public:
    Bitmap& bitmap() { return bitmap_; }
    const Bitmap& bitmap() const { return bitmap_; }
    void resize(std::uint32_t width, std::uint32_t height) {
        bitmap_ = Bitmap(width, height);
        dirty_ = true;
    }
    bool dirty() const { return dirty_; }
    void markDirty() { dirty_ = true; }
    void clearDirty() { dirty_ = false; }

  private:
    Bitmap bitmap_;
    bool dirty_ = true;
};

}  // namespace web
