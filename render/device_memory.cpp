// Memory types, allocations and the mapped host buffers.

#include "render/device_memory.hpp"

namespace nj {
namespace {

uint32_t findMemoryType(VkPhysicalDevice physicalDevice, uint32_t allowedTypes,
                        VkMemoryPropertyFlags required) {
    VkPhysicalDeviceMemoryProperties props{};
    vkGetPhysicalDeviceMemoryProperties(physicalDevice, &props);
    for (uint32_t i = 0; i < props.memoryTypeCount; ++i) {
        if ((allowedTypes & (1u << i)) &&
            (props.memoryTypes[i].propertyFlags & required) == required) {
            return i;
        }
    }
    return 0;
}

}  // namespace

VkDeviceMemory allocateMemory(VkDevice device, VkPhysicalDevice physicalDevice,
                              const VkMemoryRequirements& needs, VkMemoryPropertyFlags required) {
    VkMemoryAllocateInfo alloc{};
    alloc.sType = VK_STRUCTURE_TYPE_MEMORY_ALLOCATE_INFO;
    alloc.allocationSize = needs.size;
    alloc.memoryTypeIndex = findMemoryType(physicalDevice, needs.memoryTypeBits, required);
    VkDeviceMemory memory = VK_NULL_HANDLE;
    if (vkAllocateMemory(device, &alloc, nullptr, &memory) != VK_SUCCESS) return VK_NULL_HANDLE;
    return memory;
}

bool createHostBuffer(VkDevice device, VkPhysicalDevice physicalDevice, VkDeviceSize size,
                      VkBufferUsageFlags usage, HostBuffer& out) {
    VkBufferCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_BUFFER_CREATE_INFO;
    info.size = size;
    info.usage = usage;
    info.sharingMode = VK_SHARING_MODE_EXCLUSIVE;
    if (vkCreateBuffer(device, &info, nullptr, &out.buffer) != VK_SUCCESS) {
        out.buffer = VK_NULL_HANDLE;
        return false;
    }
    VkMemoryRequirements needs{};
    vkGetBufferMemoryRequirements(device, out.buffer, &needs);
    out.memory =
        allocateMemory(device, physicalDevice, needs,
                       VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT);
    if (out.memory == VK_NULL_HANDLE) return false;
    vkBindBufferMemory(device, out.buffer, out.memory, 0);
    if (vkMapMemory(device, out.memory, 0, size, 0, &out.mapped) != VK_SUCCESS) {
        out.mapped = nullptr;
        return false;
    }
    out.size = size;
    return true;
}

void destroyHostBuffer(VkDevice device, HostBuffer& b) {
    if (b.mapped != nullptr) vkUnmapMemory(device, b.memory);
    if (b.buffer != VK_NULL_HANDLE) vkDestroyBuffer(device, b.buffer, nullptr);
    if (b.memory != VK_NULL_HANDLE) vkFreeMemory(device, b.memory, nullptr);
    b = HostBuffer{};
}

}  // namespace nj
