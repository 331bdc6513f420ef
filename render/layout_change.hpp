#pragma once
// Barriers. The one that moves a whole colour image from one layout to another,
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

// The barrier that makes a copy into a whole host buffer readable by the host
// (screenshots, a kept picture's coverage).
inline VkBufferMemoryBarrier copiedForHost(VkBuffer buffer) {
    VkBufferMemoryBarrier barrier{};
    barrier.sType = VK_STRUCTURE_TYPE_BUFFER_MEMORY_BARRIER;
    barrier.srcAccessMask = VK_ACCESS_TRANSFER_WRITE_BIT;
    barrier.dstAccessMask = VK_ACCESS_HOST_READ_BIT;
    barrier.srcQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
    barrier.dstQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
    barrier.buffer = buffer;
    barrier.size = VK_WHOLE_SIZE;
    return barrier;
}

}  // namespace nj
