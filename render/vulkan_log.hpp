#pragma once
// The renderer's diagnostics: one line each on stderr, prefixed "[Vulkan] ".

namespace nj {

void logVulkan(const char* message);
void logVulkan(const char* message, unsigned long number);  // message followed by the number

}  // namespace nj
