#pragma once
// Memory for the renderer's buffers and images: choosing a memory type, and
// the host buffers (vertices, the page's uploads, read-backs) that stay
// mapped for their whole life.

#include <volk.h>

namespace nj {

struct HostBuffer {
    VkBuffer buffer = VK_NULL_HANDLE;
    VkDeviceMemory memory = VK_NULL_HANDLE;
    void* mapped = nullptr;
    VkDeviceSize size = 0;  // bytes
};

// Null when the allocation fails.
VkDeviceMemory allocateMemory(VkDevice device, VkPhysicalDevice physicalDevice,
                              const VkMemoryRequirements& needs, VkMemoryPropertyFlags required);

// A buffer of `size` bytes in memory the host sees coherently, mapped. False
// when any step failed; what was made stays in `out` for destroyHostBuffer.
bool createHostBuffer(VkDevice device, VkPhysicalDevice physicalDevice, VkDeviceSize size,
                      VkBufferUsageFlags usage, HostBuffer& out);
// Releases what `buffer` holds, however far its making got, and empties it.
void destroyHostBuffer(VkDevice device, HostBuffer& buffer);

}  // namespace nj
