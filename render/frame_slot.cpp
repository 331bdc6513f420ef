// Making and releasing a frame slot's command buffers, synchronisation and buffers.

#include "render/frame_slot.hpp"

#include "render/device_handles.hpp"
#include "render/vertex.hpp"
#include "render/vulkan_log.hpp"

namespace nj {
namespace {

VkSemaphore makeSemaphore(VkDevice device) {
    VkSemaphoreCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_SEMAPHORE_CREATE_INFO;
    VkSemaphore made = VK_NULL_HANDLE;
    if (vkCreateSemaphore(device, &info, nullptr, &made) != VK_SUCCESS) return VK_NULL_HANDLE;
    return made;
}

VkFence makeSignalledFence(VkDevice device) {
    VkFenceCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_FENCE_CREATE_INFO;
    info.flags = VK_FENCE_CREATE_SIGNALED_BIT;
    VkFence made = VK_NULL_HANDLE;
    if (vkCreateFence(device, &info, nullptr, &made) != VK_SUCCESS) return VK_NULL_HANDLE;
    return made;
}

}  // namespace

bool FrameSlot::create(VkDevice device, VkPhysicalDevice physicalDevice, VkCommandPool pool) {
    VkCommandBufferAllocateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_COMMAND_BUFFER_ALLOCATE_INFO;
    info.commandPool = pool;
    info.level = VK_COMMAND_BUFFER_LEVEL_PRIMARY;
    info.commandBufferCount = 3;
    VkCommandBuffer buffers[3] = {};
    if (vkAllocateCommandBuffers(device, &info, buffers) != VK_SUCCESS) {
        logVulkan("Failed to allocate command buffers.");
        return false;
    }
    upload = buffers[0];
    bake = buffers[1];
    frame = buffers[2];

    imageAvailable = makeSemaphore(device);
    renderFinished = makeSemaphore(device);
    inFlight = makeSignalledFence(device);
    if (imageAvailable == VK_NULL_HANDLE || renderFinished == VK_NULL_HANDLE ||
        inFlight == VK_NULL_HANDLE) {
        logVulkan("Failed to create synchronization primitives.");
        return false;
    }

    if (!createHostBuffer(device, physicalDevice, sizeof(Vertex) * VkDeviceSize{kVerticesPerSlot},
                          VK_BUFFER_USAGE_VERTEX_BUFFER_BIT, vertices)) {
        logVulkan("Failed to create vertex buffers.");
        return false;
    }
    return true;
}

void FrameSlot::destroy(VkDevice device, VkCommandPool pool) {
    destroyHostBuffer(device, capture);
    destroyHostBuffer(device, overlayStaging);
    destroyHostBuffer(device, vertices);
    release(device, inFlight, vkDestroyFence);
    release(device, renderFinished, vkDestroySemaphore);
    release(device, imageAvailable, vkDestroySemaphore);
    const VkCommandBuffer buffers[] = {upload, bake, frame};  // null entries are skipped
    if (pool != VK_NULL_HANDLE) vkFreeCommandBuffers(device, pool, 3, buffers);
    *this = FrameSlot{};
}

bool FrameSlot::renewSync(VkDevice device) {
    release(device, imageAvailable, vkDestroySemaphore);
    release(device, inFlight, vkDestroyFence);
    imageAvailable = makeSemaphore(device);
    inFlight = makeSignalledFence(device);
    return imageAvailable != VK_NULL_HANDLE && inFlight != VK_NULL_HANDLE;
}

}  // namespace nj
