#pragma once
// What an SDL window lends the renderer: the instance extensions SDL needs
// and a callback that makes the window's Vulkan surface. Shared by the game
// and the tools that open a window.

#include <SDL2/SDL.h>

#include "render/vulkan_renderer.hpp"

namespace nj {

WindowSurface vulkanSurfaceFor(SDL_Window* window);

// Drains pending events, passing size changes to the renderer. False when
// the window was closed. For tools; the game has its own window procedure.
bool pumpToolWindowEvents(SDL_Window* window, VulkanRenderer& renderer);

}  // namespace nj
