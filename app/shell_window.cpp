// The SDL window behind the game: creation, full-screen toggle, icon, surface.
#include "app/shell_window.hpp"

#include "app/sdl_vulkan_surface.hpp"

#include <SDL2/SDL_vulkan.h>
#include <cairo.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "data/package.hpp"
#include "data/regular_file.hpp"

namespace nj {
namespace {

// cairo reads PNG from a stream; this one walks a buffer in memory.
struct PngSource {
    const unsigned char* data;
    std::size_t size;
    std::size_t pos = 0;
};

cairo_status_t readPng(void* closure, unsigned char* out, unsigned int length) {
    auto* src = static_cast<PngSource*>(closure);
    if (src->size - src->pos < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, src->data + src->pos, length);
    src->pos += length;
    return CAIRO_STATUS_SUCCESS;
}

std::vector<unsigned char> iconBytes() {
    std::size_t size = 0;
    if (const char* data = NJ3Package::instance().find("logo/game_icon.png", size)) {
        return std::vector<unsigned char>(data, data + size);
    }
    std::string loose;
    if (!readRegularFile("assets/logo/game_icon.png", 1024 * 1024, loose)) return {};
    return std::vector<unsigned char>(loose.begin(), loose.end());
}

// The primary display's area; full screen is a borderless window covering it,
// which behaves the same with or without a window manager.
SDL_Rect primaryDisplay() {
    SDL_Rect bounds{0, 0, kWindowedWidth, kWindowedHeight};
    SDL_GetDisplayBounds(0, &bounds);
    return bounds;
}

}  // namespace

ShellWindow::~ShellWindow() {
    if (window_) SDL_DestroyWindow(window_);
}

bool ShellWindow::create() {
    const SDL_Rect screen = primaryDisplay();
    window_ = SDL_CreateWindow(
        kWindowTitle, screen.x, screen.y, screen.w, screen.h,
        SDL_WINDOW_VULKAN | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_BORDERLESS);
    if (!window_) {
        error_ = SDL_GetError();
        return false;
    }
    fullScreen_ = true;
    return true;
}

void ShellWindow::show() {
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
}

// True when some display shows a part of the window's title bar region.
static bool onSomeDisplay(const WindowPlacement& p) {
    const SDL_Rect top{p.x, p.y, p.width, 32};
    for (int d = 0; d < SDL_GetNumVideoDisplays(); ++d) {
        SDL_Rect bounds{};
        SDL_Rect overlap{};
        if (SDL_GetDisplayBounds(d, &bounds) == 0 && SDL_IntersectRect(&top, &bounds, &overlap))
            return true;
    }
    return false;
}

WindowPlacement ShellWindow::windowedPlacement() const {
    WindowPlacement p;
    SDL_GetWindowPosition(window_, &p.x, &p.y);
    SDL_GetWindowSize(window_, &p.width, &p.height);
    return p;
}

void ShellWindow::toggleFullScreen() {
    const bool wasFullScreen = fullScreen_;
    fullScreen_ = !fullScreen_;
    if (wasFullScreen && windowed_.known() && onSomeDisplay(windowed_)) {
        // Where the player left it in the last run; once only; later
        // switches within a run go back to the game's own window.
        SDL_SetWindowBordered(window_, SDL_TRUE);
        SDL_SetWindowResizable(window_, SDL_TRUE);
        SDL_SetWindowSize(window_, windowed_.width, windowed_.height);
        SDL_SetWindowPosition(window_, windowed_.x, windowed_.y);
        windowed_ = {};
    } else if (wasFullScreen) {
        // Windowed: 1280 x 720 drawable pixels, centred, however the window
        // was moved or sized before.
        SDL_SetWindowBordered(window_, SDL_TRUE);
        SDL_SetWindowResizable(window_, SDL_TRUE);
        int w = 0, h = 0, dw = 0, dh = 0;
        SDL_GetWindowSize(window_, &w, &h);
        SDL_Vulkan_GetDrawableSize(window_, &dw, &dh);
        const float scale =
            (w > 0 && dw > 0) ? static_cast<float>(dw) / static_cast<float>(w) : 1.0f;
        SDL_SetWindowSize(window_, static_cast<int>(kWindowedWidth / scale),
                          static_cast<int>(kWindowedHeight / scale));
        SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED_DISPLAY(0),
                              SDL_WINDOWPOS_CENTERED_DISPLAY(0));
    } else {
        const SDL_Rect screen = primaryDisplay();
        SDL_SetWindowResizable(window_, SDL_FALSE);
        SDL_SetWindowBordered(window_, SDL_FALSE);
        SDL_SetWindowPosition(window_, screen.x, screen.y);
        SDL_SetWindowSize(window_, screen.w, screen.h);
    }
    SDL_RaiseWindow(window_);
}

void ShellWindow::drawableSize(int& width, int& height) const {
    SDL_Vulkan_GetDrawableSize(window_, &width, &height);
}

void ShellWindow::toDrawable(int x, int y, int& px, int& py) const {
    int w = 0, h = 0, dw = 0, dh = 0;
    SDL_GetWindowSize(window_, &w, &h);
    SDL_Vulkan_GetDrawableSize(window_, &dw, &dh);
    px = w > 0 ? static_cast<int>(static_cast<long long>(x) * dw / w) : x;
    py = h > 0 ? static_cast<int>(static_cast<long long>(y) * dh / h) : y;
}

void ShellWindow::loadIcon() {
    std::vector<unsigned char> bytes = iconBytes();
    if (bytes.empty()) return;
    PngSource source{bytes.data(), bytes.size()};
    cairo_surface_t* image = cairo_image_surface_create_from_png_stream(readPng, &source);
    const cairo_format_t format = cairo_image_surface_get_format(image);
    if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS &&
        (format == CAIRO_FORMAT_ARGB32 || format == CAIRO_FORMAT_RGB24)) {
        cairo_surface_flush(image);
        // cairo packs pixels as native-endian 0xAARRGGBB (premultiplied, or
        // with an unused top byte for an opaque PNG); SDL reads the same
        // packing as ARGB8888 / RGB888 (close enough for an icon).
        SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
            cairo_image_surface_get_data(image), cairo_image_surface_get_width(image),
            cairo_image_surface_get_height(image), 32, cairo_image_surface_get_stride(image),
            format == CAIRO_FORMAT_ARGB32 ? SDL_PIXELFORMAT_ARGB8888 : SDL_PIXELFORMAT_RGB888);
        if (icon) {
            SDL_SetWindowIcon(window_, icon);
            SDL_FreeSurface(icon);
        }
    }
    cairo_surface_destroy(image);
}

WindowSurface ShellWindow::surface() const {
    return vulkanSurfaceFor(window_);
}

void showErrorMessage(const char* caption, const char* text, SDL_Window* owner) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, owner);
}

}  // namespace nj
