// Screenshots: copying each presented image to the host and saving the last as PNG.

#include <vector>

#include "render/layout_change.hpp"
#include "render/png_writer.hpp"
#include "render/vulkan_renderer.hpp"

namespace nj {

namespace {

// Byte offsets of red, green and blue in a pixel of the swapchain's format; false
// for formats a screenshot cannot read.
bool channelOrder(VkFormat format, int& r, int& g, int& b) {
    switch (format) {
        case VK_FORMAT_B8G8R8A8_UNORM:
        case VK_FORMAT_B8G8R8A8_SRGB:
            r = 2, g = 1, b = 0;
            return true;
        case VK_FORMAT_R8G8B8A8_UNORM:
        case VK_FORMAT_R8G8B8A8_SRGB:
            r = 0, g = 1, b = 2;
            return true;
        default:
            return false;
    }
}

}  // namespace

void VulkanRenderer::recordFrameCapture() {
    FrameSlot& slot = slots_[currentFrame_];
    slot.captured = false;
    if (showsWindowPixels_) {
        recordWindowImageHandOver();  // the host reads the frame's own image
        return;
    }
    if (!captureFrames_ || !swapchainReadable_) return;
    const VkDeviceSize bytes = VkDeviceSize{swapchainExtent_.width} * swapchainExtent_.height * 4;
    HostBuffer& target = slot.capture;
    if (target.size != bytes) {
        // The slot's previous copy finished when beginFrame waited for its fence.
        destroyHostBuffer(target);
        if (!createHostBuffer(bytes, VK_BUFFER_USAGE_TRANSFER_DST_BIT, target)) {
            destroyHostBuffer(target);
            return;
        }
    }
    const VkImage image = swapchainImages_[imageIndex_];
    const VkCommandBuffer cb = currentCommandBuffer_;

    const VkImageMemoryBarrier toCopy =
        layoutChange(image, VK_IMAGE_LAYOUT_PRESENT_SRC_KHR, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL,
                     VK_ACCESS_COLOR_ATTACHMENT_WRITE_BIT, VK_ACCESS_TRANSFER_READ_BIT);
    vkCmdPipelineBarrier(cb, VK_PIPELINE_STAGE_COLOR_ATTACHMENT_OUTPUT_BIT,
                         VK_PIPELINE_STAGE_TRANSFER_BIT, 0, 0, nullptr, 0, nullptr, 1, &toCopy);

    VkBufferImageCopy copy{};
    copy.imageSubresource = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 0, 1};
    copy.imageExtent = {swapchainExtent_.width, swapchainExtent_.height, 1};
    vkCmdCopyImageToBuffer(cb, image, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL, target.buffer, 1,
                           &copy);

    const VkImageMemoryBarrier toPresent =
        layoutChange(image, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL, VK_IMAGE_LAYOUT_PRESENT_SRC_KHR,
                     VK_ACCESS_TRANSFER_READ_BIT, 0);
    const VkBufferMemoryBarrier toHost = copiedForHost(target.buffer);
    vkCmdPipelineBarrier(cb, VK_PIPELINE_STAGE_TRANSFER_BIT,
                         VK_PIPELINE_STAGE_BOTTOM_OF_PIPE_BIT | VK_PIPELINE_STAGE_HOST_BIT, 0, 0,
                         nullptr, 1, &toHost, 1, &toPresent);
    slot.captured = true;
    slot.capturedExtent = swapchainExtent_;
}

bool VulkanRenderer::saveLastFrame(const std::string& pngPath) {
    if (device_ == VK_NULL_HANDLE || lastSubmittedSlot_ < 0) return false;
    const auto s = static_cast<uint32_t>(lastSubmittedSlot_);
    int r = 0, g = 0, b = 0;
    const FramePixels frame = framePixels(s);
    if (frame.bytes == nullptr || !channelOrder(surfaceFormat_.format, r, g, b)) return false;
    vkDeviceWaitIdle(device_);

    const VkExtent2D extent = frame.extent;
    std::vector<uint8_t> rgb(size_t{extent.width} * extent.height * 3);
    uint8_t* out = rgb.data();
    for (uint32_t y = 0; y < extent.height; ++y) {
        const uint8_t* pixel = frame.bytes + y * frame.rowBytes;
        for (uint32_t x = 0; x < extent.width; ++x, pixel += 4, out += 3) {
            out[0] = pixel[r];
            out[1] = pixel[g];
            out[2] = pixel[b];
        }
    }
    return writePngRgb(pngPath, rgb, extent.width, extent.height);
}

}  // namespace nj
