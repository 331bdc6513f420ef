// Showing frames through the window's own pixels instead of a swapchain.
//
// A device that draws on the processor (lavapipe) keeps its pictures in
// system memory. Its swapchain on an X server without DRI3 (Xvfb, VNC and
// remote-desktop servers) sends every frame down the display connection: at
// 1920 x 1080 that is 8 MB a frame written into a socket and read back out
// by the server, which cost more processor time than drawing the page. The
// window system's shared-memory path (MIT-SHM under X) hands the same pixels
// over for one copy on the server's side. So for such a device each frame
// slot draws into a linear image in host memory, and the finished frame is
// read straight out of it into the window.
//
// A frame is handed over once the next one has been submitted, so the
// device draws the new frame while the window takes the old: the same one
// frame of latency a swapchain of two images has.

#include "render/layout_change.hpp"
#include "render/vulkan_log.hpp"
#include "render/vulkan_renderer.hpp"

namespace nj {

bool VulkanRenderer::choosesWindowPixels(const WindowSurface& window) const {
    if (!window.showPixels) return false;
    VkPhysicalDeviceProperties props{};
    vkGetPhysicalDeviceProperties(physicalDevice_, &props);
    if (props.deviceType != VK_PHYSICAL_DEVICE_TYPE_CPU) return false;
    // Drawn into, blended into and copied into (the kept floor), while linear.
    VkFormatProperties format{};
    vkGetPhysicalDeviceFormatProperties(physicalDevice_, VK_FORMAT_B8G8R8A8_UNORM, &format);
    const VkFormatFeatureFlags needed = VK_FORMAT_FEATURE_COLOR_ATTACHMENT_BIT |
                                        VK_FORMAT_FEATURE_COLOR_ATTACHMENT_BLEND_BIT |
                                        VK_FORMAT_FEATURE_TRANSFER_DST_BIT;
    return (format.linearTilingFeatures & needed) == needed;
}

// The slots' images in place of the swapchain's, at the drawable's size.
// Everything that draws into "the swapchain's image" draws into these.
bool VulkanRenderer::buildWindowImages() {
    surfaceFormat_ = {VK_FORMAT_B8G8R8A8_UNORM, VK_COLOR_SPACE_SRGB_NONLINEAR_KHR};
    swapchainExtent_ = {static_cast<uint32_t>(width_), static_cast<uint32_t>(height_)};
    swapchainReadable_ = false;  // no copy needed: the host reads the image itself
    swapchainWritable_ = true;
    for (uint32_t s = 0; s < kFramesInFlight; ++s) {
        if (!createWindowImage()) {
            logVulkan("Failed to create the window's frame image ", s);
            return false;
        }
    }
    return true;
}

// One linear image with its memory mapped and its view. The lists own each
// part as soon as it exists, so a half-made image is released with the rest.
bool VulkanRenderer::createWindowImage() {
    Picture picture;
    const bool made =
        createPicture(swapchainExtent_.width, swapchainExtent_.height, surfaceFormat_.format,
                      VK_IMAGE_USAGE_COLOR_ATTACHMENT_BIT | VK_IMAGE_USAGE_TRANSFER_DST_BIT,
                      VK_NULL_HANDLE, picture, PictureMemory::Host);
    if (picture.image != VK_NULL_HANDLE) swapchainImages_.push_back(picture.image);
    if (picture.view != VK_NULL_HANDLE) swapchainImageViews_.push_back(picture.view);
    WindowImage& held = windowImages_.emplace_back();
    held.memory = picture.memory;
    if (!made) return false;

    void* mapped = nullptr;
    if (vkMapMemory(device_, held.memory, 0, VK_WHOLE_SIZE, 0, &mapped) != VK_SUCCESS) return false;
    const VkImageSubresource colour{VK_IMAGE_ASPECT_COLOR_BIT, 0, 0};
    VkSubresourceLayout layout{};
    vkGetImageSubresourceLayout(device_, picture.image, &colour, &layout);
    held.pixels = static_cast<const uint8_t*>(mapped) + layout.offset;
    held.rowBytes = static_cast<size_t>(layout.rowPitch);
    return true;
}

void VulkanRenderer::destroyWindowImages() {
    for (VkImage image : swapchainImages_) vkDestroyImage(device_, image, nullptr);
    for (const WindowImage& held : windowImages_) {
        if (held.memory != VK_NULL_HANDLE) vkFreeMemory(device_, held.memory, nullptr);  // unmaps
    }
    windowImages_.clear();
    // Nothing the slots finished survives its image.
    unshownSlot_ = -1;
    for (FrameSlot& slot : slots_) slot.captured = false;
}

// Makes the frame's drawing visible to the host once its fence has signalled.
void VulkanRenderer::recordWindowImageHandOver() {
    FrameSlot& slot = slots_[currentFrame_];
    const VkImageMemoryBarrier toHost = layoutChange(
        swapchainImages_[imageIndex_], VK_IMAGE_LAYOUT_PRESENT_SRC_KHR, VK_IMAGE_LAYOUT_GENERAL,
        VK_ACCESS_COLOR_ATTACHMENT_WRITE_BIT, VK_ACCESS_HOST_READ_BIT);
    vkCmdPipelineBarrier(currentCommandBuffer_, VK_PIPELINE_STAGE_COLOR_ATTACHMENT_OUTPUT_BIT,
                         VK_PIPELINE_STAGE_HOST_BIT, 0, 0, nullptr, 0, nullptr, 1, &toHost);
    slot.captured = true;
    slot.capturedExtent = swapchainExtent_;
}

VulkanRenderer::FramePixels VulkanRenderer::framePixels(uint32_t s) const {
    const FrameSlot& slot = slots_[s];
    if (!slot.captured) return {};
    const VkExtent2D extent = slot.capturedExtent;
    if (showsWindowPixels_) {
        if (s >= windowImages_.size()) return {};
        return {windowImages_[s].pixels, extent, windowImages_[s].rowBytes};
    }
    return {static_cast<const uint8_t*>(slot.capture.mapped), extent, size_t{extent.width} * 4};
}

// Hands the window the frame submitted before the one just submitted.
void VulkanRenderer::showFinishedFrame() {
    const int slot = unshownSlot_;
    unshownSlot_ = static_cast<int>(currentFrame_);
    if (slot < 0) return;
    const auto s = static_cast<uint32_t>(slot);
    vkWaitForFences(device_, 1, &slots_[s].inFlight, VK_TRUE, UINT64_MAX);
    const FramePixels frame = framePixels(s);
    if (frame.bytes == nullptr) return;
    if (!showPixels_(frame.bytes, static_cast<int>(frame.extent.width),
                     static_cast<int>(frame.extent.height), static_cast<int>(frame.rowBytes))) {
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
