// The SDL side of the Vulkan surface hand-over.
#include "app/sdl_vulkan_surface.hpp"

#include <SDL2/SDL_vulkan.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

namespace nj {
namespace {

// Copies a BGRA frame into the window's own surface and shows it. A window
// resized since the frame was drawn gets the part both share; the next
// frame has the new size.
bool showFramePixels(SDL_Window* window, const uint8_t* bgra, int width, int height, int rowBytes) {
    SDL_Surface* target = SDL_GetWindowSurface(window);
    if (target == nullptr) return false;
    const int w = std::min(width, target->w), h = std::min(height, target->h);
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return false;
    const Uint32 format = target->format->format;
    auto* rows = static_cast<uint8_t*>(target->pixels);
    // In memory, BGRA is what SDL calls ARGB8888 on a little-endian machine;
    // XRGB (RGB888) lays its bytes out the same with the fourth unused.
    if (format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_RGB888) {
        for (int y = 0; y < h; ++y) {
            std::memcpy(rows + static_cast<size_t>(y) * target->pitch,
                        bgra + static_cast<size_t>(y) * rowBytes, static_cast<size_t>(w) * 4);
        }
    } else if (SDL_ConvertPixels(w, h, SDL_PIXELFORMAT_ARGB8888, bgra, rowBytes, format, rows,
                                 target->pitch) != 0) {
        if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
        return false;  // a surface SDL cannot convert to: the swapchain takes over
    }
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    return SDL_UpdateWindowSurface(window) == 0;
}

}  // namespace

WindowSurface vulkanSurfaceFor(SDL_Window* window) {
    WindowSurface surface;
    unsigned count = 0;
    SDL_Vulkan_GetInstanceExtensions(window, &count, nullptr);
    std::vector<const char*> names(count);
    SDL_Vulkan_GetInstanceExtensions(window, &count, names.data());
    for (unsigned i = 0; i < count; ++i) surface.instanceExtensions.emplace_back(names[i]);
    surface.createSurface = [window](VkInstance instance) {
        VkSurfaceKHR handle = VK_NULL_HANDLE;
        if (!SDL_Vulkan_CreateSurface(window, instance, &handle)) return VkSurfaceKHR{};
        return handle;
    };
    // Only X has a path cheaper than a software device's swapchain: without
    // DRI3 that swapchain writes every frame into the display connection,
    // while the window's surface goes through shared memory. SDL must not
    // put a renderer of its own behind that surface.
    if (std::string_view(SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "") == "x11") {
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        surface.showPixels = [window](const uint8_t* bgra, int width, int height, int rowBytes) {
            return showFramePixels(window, bgra, width, height, rowBytes);
        };
    }
    return surface;
}

bool pumpToolWindowEvents(SDL_Window* window, VulkanRenderer& renderer) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) return false;
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            int w = 0, h = 0;
            SDL_Vulkan_GetDrawableSize(window, &w, &h);
            if (w > 0 && h > 0) renderer.resize(w, h);
        }
    }
    return true;
}

}  // namespace nj
