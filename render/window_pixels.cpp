// Showing frames through the window's own pixels instead of a swapchain.
//
// A device that draws on the processor (lavapipe) keeps its pictures in
// system memory. Its swapchain on an X server without DRI3 (Xvfb, VNC and
// remote-desktop servers) sends every frame down the display connection: at
// 1920 x 1080 that is 8 MB a frame written into a socket and read back out
// by the server, which cost more processor time than drawing the page. The
// window system's shared-memory path (MIT-SHM under X) hands the same pixels
// over for one copy on the server's side, so for such a device the frame
// slots draw into images of their own, copy each finished frame to the host
// (the screenshot copy, kept on for every frame) and give it to the window.
//
// A frame is handed over once the next one has been submitted, so the
// device draws the new frame while the window takes the old: the same one
// frame of latency a swapchain of two images has.

#include "render/vulkan_log.hpp"
#include "render/vulkan_renderer.hpp"

namespace nj {

bool VulkanRenderer::choosesWindowPixels(const WindowSurface& window) const {
    if (!window.showPixels) return false;
    VkPhysicalDeviceProperties props{};
    vkGetPhysicalDeviceProperties(physicalDevice_, &props);
    return props.deviceType == VK_PHYSICAL_DEVICE_TYPE_CPU;
}

// The slots' images in place of the swapchain's, at the drawable's size.
// Everything that draws into "the swapchain's image" draws into these.
bool VulkanRenderer::buildWindowImages() {
    surfaceFormat_ = {VK_FORMAT_B8G8R8A8_UNORM, VK_COLOR_SPACE_SRGB_NONLINEAR_KHR};
    swapchainExtent_ = {static_cast<uint32_t>(width_), static_cast<uint32_t>(height_)};
    swapchainReadable_ = true;
    swapchainWritable_ = true;
    for (uint32_t s = 0; s < kFramesInFlight; ++s) {
        Picture picture;
        const bool made =
            createPicture(swapchainExtent_.width, swapchainExtent_.height, surfaceFormat_.format,
                          VK_IMAGE_USAGE_COLOR_ATTACHMENT_BIT | VK_IMAGE_USAGE_TRANSFER_SRC_BIT |
                              VK_IMAGE_USAGE_TRANSFER_DST_BIT,
                          VK_NULL_HANDLE, picture);
        // The lists own the parts from here, so a half-made image is released with the rest.
        if (picture.image != VK_NULL_HANDLE) swapchainImages_.push_back(picture.image);
        if (picture.memory != VK_NULL_HANDLE) windowImageMemory_.push_back(picture.memory);
        if (picture.view != VK_NULL_HANDLE) swapchainImageViews_.push_back(picture.view);
        if (!made) {
            logVulkan("Failed to create the window's frame image ", s);
            return false;
        }
    }
    return true;
}

void VulkanRenderer::destroyWindowImages() {
    for (VkImage image : swapchainImages_) vkDestroyImage(device_, image, nullptr);
    for (VkDeviceMemory memory : windowImageMemory_) vkFreeMemory(device_, memory, nullptr);
    windowImageMemory_.clear();
}

// Hands the window the frame submitted before the one just submitted.
void VulkanRenderer::showFinishedFrame() {
    const int slot = unshownSlot_;
    unshownSlot_ = static_cast<int>(currentFrame_);
    if (slot < 0) return;
    const auto s = static_cast<uint32_t>(slot);
    vkWaitForFences(device_, 1, &inFlight_[s], VK_TRUE, UINT64_MAX);
    const VkExtent2D extent = capturedExtent_[s];
    const auto* pixels = static_cast<const uint8_t*>(captureBuffers_[s].mapped);
    // No copy (its buffer could not be made) or no taker: either way the
    // window would stay blank.
    if (!captured_[s] ||
        !showPixels_(pixels, static_cast<int>(extent.width), static_cast<int>(extent.height),
                     static_cast<int>(extent.width * 4))) {
        fallBackToSwapchain();
    }
}

// The window would not take a frame: from now on frames go through the
// swapchain, which the device was chosen to be able to present to.
void VulkanRenderer::fallBackToSwapchain() {
    logVulkan("The window did not take a frame; presenting through the swapchain instead.");
    vkDeviceWaitIdle(device_);
    destroySwapchain();  // the window's images, while the flag still says so
    showsWindowPixels_ = false;
    unshownSlot_ = -1;
    rebuildSwapchain();
}

}  // namespace nj
