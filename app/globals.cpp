// Storage of the shell's process-wide pointers.
#include "app/globals.hpp"

namespace nj {

Game* g_game = nullptr;
VulkanRenderer* g_renderer = nullptr;

}  // namespace nj
