// The SDL side of the Vulkan surface hand-over.
#include "app/sdl_vulkan_surface.hpp"

#include <SDL2/SDL_vulkan.h>

#include <vector>

namespace nj {

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
