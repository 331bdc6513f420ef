// Choosing the physical device, queue families and swapchain parameters.

#include "render/device_choice.hpp"

#include <algorithm>

namespace nj {

std::optional<QueueFamilyPair> findQueueFamilies(std::span<const QueueFamilyAbilities> families) {
    std::optional<uint32_t> graphics;
    std::optional<uint32_t> present;
    for (uint32_t i = 0; i < families.size(); ++i) {
        if (families[i].graphics) graphics = i;
        if (families[i].present) present = i;
        if (graphics && present) return QueueFamilyPair{*graphics, *present};
    }
    return std::nullopt;
}

std::optional<DeviceChoice> chooseDevice(std::span<const DeviceCandidate> candidates) {
    std::optional<DeviceChoice> chosen;
    for (uint32_t i = 0; i < candidates.size(); ++i) {
        const auto families = findQueueFamilies(candidates[i].families);
        if (!families) continue;
        const bool discrete = candidates[i].type == VK_PHYSICAL_DEVICE_TYPE_DISCRETE_GPU;
        if (!chosen || discrete) chosen = DeviceChoice{i, *families};
        if (discrete) break;
    }
    return chosen;
}

VkSurfaceFormatKHR chooseSurfaceFormat(std::span<const VkSurfaceFormatKHR> formats) {
    for (const VkSurfaceFormatKHR& f : formats) {
        if (f.format == VK_FORMAT_B8G8R8A8_UNORM &&
            f.colorSpace == VK_COLOR_SPACE_SRGB_NONLINEAR_KHR) {
            return f;
        }
    }
    if (!formats.empty()) return formats.front();
    return {VK_FORMAT_B8G8R8A8_UNORM, VK_COLOR_SPACE_SRGB_NONLINEAR_KHR};
}

VkExtent2D chooseSwapExtent(const VkSurfaceCapabilitiesKHR& caps, int wantedWidth,
                            int wantedHeight) {
    if (caps.currentExtent.width != 0xFFFFFFFFu) return caps.currentExtent;
    const auto clampTo = [](int wanted, uint32_t lo, uint32_t hi) {
        const uint32_t w = wanted > 0 ? static_cast<uint32_t>(wanted) : 0u;
        return std::clamp(w, lo, std::max(lo, hi));
    };
    return {clampTo(wantedWidth, caps.minImageExtent.width, caps.maxImageExtent.width),
            clampTo(wantedHeight, caps.minImageExtent.height, caps.maxImageExtent.height)};
}

uint32_t chooseImageCount(const VkSurfaceCapabilitiesKHR& caps) {
    uint32_t count = caps.minImageCount + 1;
    if (caps.maxImageCount > 0 && count > caps.maxImageCount) count = caps.maxImageCount;
    return count;
}

}  // namespace nj
