// Storage of the shell's process-wide pointers.
#include "app/globals.hpp"

namespace nj {

Game* g_game = nullptr;
VulkanRenderer* g_renderer = nullptr;
Gamepads* g_gamepads = nullptr;
OptionsShell* g_optionsShell = nullptr;

}  // namespace nj
