#pragma once
// Picking the GPU and its queue families, and the swapchain's format, size and
// image count, from what the driver reports. Pure functions, so the choices can
// be checked without a device.

#include <volk.h>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace nj {

struct QueueFamilyAbilities {
    bool graphics = false;  // has VK_QUEUE_GRAPHICS_BIT
    bool present = false;   // the surface reports present support
};

struct QueueFamilyPair {
    uint32_t graphics = 0;
    uint32_t present = 0;
};

struct DeviceCandidate {
    VkPhysicalDeviceType type = VK_PHYSICAL_DEVICE_TYPE_OTHER;
    std::vector<QueueFamilyAbilities> families;  // in the driver's order
};

struct DeviceChoice {
    uint32_t device = 0;  // index into the candidates
    QueueFamilyPair families;
};

// Scans families from index 0: the last graphics family and the last present
// family seen so far win, and the scan stops as soon as both exist.
std::optional<QueueFamilyPair> findQueueFamilies(std::span<const QueueFamilyAbilities> families);

// The first qualifying discrete GPU, else the first qualifying device.
std::optional<DeviceChoice> chooseDevice(std::span<const DeviceCandidate> candidates);

// B8G8R8A8_UNORM with sRGB non-linear colour space when offered, else the first format.
VkSurfaceFormatKHR chooseSurfaceFormat(std::span<const VkSurfaceFormatKHR> formats);

// The surface's current extent, or the wanted size clamped to the surface's
// limits when the surface leaves the size to the swapchain.
VkExtent2D chooseSwapExtent(const VkSurfaceCapabilitiesKHR& caps, int wantedWidth,
                            int wantedHeight);

// One image more than the minimum, unless that passes a non-zero maximum.
uint32_t chooseImageCount(const VkSurfaceCapabilitiesKHR& caps);

}  // namespace nj
