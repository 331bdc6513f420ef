#pragma once
// The barrier that moves a whole colour image from one layout to another,
// making `fromAccess` writes visible to `toAccess` (screenshots, the page's
// upload and the kept floor's copy all need one).

#include <volk.h>

namespace nj {

inline VkImageMemoryBarrier layoutChange(VkImage image, VkImageLayout from, VkImageLayout to,
                                         VkAccessFlags fromAccess, VkAccessFlags toAccess) {
    VkImageMemoryBarrier barrier{};
    barrier.sType = VK_STRUCTURE_TYPE_IMAGE_MEMORY_BARRIER;
    barrier.srcAccessMask = fromAccess;
    barrier.dstAccessMask = toAccess;
    barrier.oldLayout = from;
    barrier.newLayout = to;
    barrier.srcQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
    barrier.dstQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
    barrier.image = image;
    barrier.subresourceRange = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 1, 0, 1};
    return barrier;
}

}  // namespace nj
