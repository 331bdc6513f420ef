#pragma once
// One frame in flight. While the device works through a slot's submission
// the next frame is recorded into the other slot, so nothing a slot holds is
// touched again until its fence has signalled.

#include <volk.h>

#include "render/device_memory.hpp"

namespace nj {

struct FrameSlot {
    // Submitted together in this order: the page's upload and the static
    // layers' bakes (copies and other passes cannot go inside the frame's
    // render pass), then the frame itself.
    VkCommandBuffer upload = VK_NULL_HANDLE;
    VkCommandBuffer bake = VK_NULL_HANDLE;
    VkCommandBuffer frame = VK_NULL_HANDLE;

    VkSemaphore imageAvailable = VK_NULL_HANDLE;  // the acquire signals it, the submission waits
    VkSemaphore renderFinished = VK_NULL_HANDLE;  // the submission signals it, the present waits
    VkFence inFlight = VK_NULL_HANDLE;            // signalled once the submission has run

    HostBuffer vertices;        // kVerticesPerSlot vertices, mapped for life
    HostBuffer overlayStaging;  // the page's bitmap on its way up; made with the overlay texture
    HostBuffer capture;         // the frame as the swapchain stores it; only for screenshots

    // The host can read the slot's last frame (its capture, or the window's
    // image it was drawn into) at capturedExtent.
    bool captured = false;
    VkExtent2D capturedExtent{};

    // The command buffers from `pool`, the semaphores, the fence (signalled,
    // so the first wait for it returns) and the vertex buffer. False after
    // saying on stderr what failed; whatever was made stays for destroy.
    bool create(VkDevice device, VkPhysicalDevice physicalDevice, VkCommandPool pool);
    // Releases everything the slot holds, however far create got, and leaves
    // it empty. The device must be done with the slot.
    void destroy(VkDevice device, VkCommandPool pool);
    // After a submission that never happened: nothing will signal the fence,
    // and the acquire left the semaphore signalled with nothing to wait on
    // it, so both are made anew. The device must be idle.
    bool renewSync(VkDevice device);
};

}  // namespace nj
