// screen_grab OUT.png: saves what the X screen shows, to check frames reach the game's window
// (the game's own screenshots are copied out before the window gets them).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>

#include <cstdint>
#include <cstdio>

// A channel of a screen pixel in 8 bits whatever the depth (5 or 6 bits a channel at 16).
std::uint32_t channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    while ((mask & 1) == 0) {
        mask >>= 1;
        pixel >>= 1;
    }
    return static_cast<std::uint32_t>((pixel & mask) * 255 / mask);
}

int main(int argc, char** argv) {
    Display* display = argc == 2 ? XOpenDisplay(nullptr) : nullptr;
    if (display == nullptr) {
        std::fprintf(stderr, "usage: screen_grab OUT.png, on an X display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XWindowAttributes size{};
    XGetWindowAttributes(display, root, &size);
    XImage* image = XGetImage(display, root, 0, 0, size.width, size.height, AllPlanes, ZPixmap);
    if (image == nullptr) return 1;
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, size.width, size.height);
    auto* rows = cairo_image_surface_get_data(out);
    const int stride = cairo_image_surface_get_stride(out);
    for (int y = 0; y < size.height; ++y) {
        auto* row =
            reinterpret_cast<std::uint32_t*>(rows + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < size.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            row[x] = channel(pixel, image->red_mask) << 16 |
                     channel(pixel, image->green_mask) << 8 | channel(pixel, image->blue_mask);
        }
    }
    cairo_surface_mark_dirty(out);
    const bool written = cairo_surface_write_to_png(out, argv[1]) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(out);
    XDestroyImage(image);
    XCloseDisplay(display);
    return written ? 0 : 1;
}
