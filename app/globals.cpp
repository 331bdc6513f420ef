// Storage of the shell's two process-wide pointers.
#include "app/globals.hpp"

namespace nj {

Game* g_game = nullptr;
VulkanRenderer* g_renderer = nullptr;
Gamepads* g_gamepads = nullptr;

}  // namespace nj
