// The kept static layer: the part of the play field that stays the same from
// one frame to the next (the floor under a mission's walls) is drawn once into
// an image the size of the viewport, then put onto each frame pixel for pixel.
// A software rasteriser otherwise blends the same few hundred tiles, a full
// screen's worth, every frame.
//
// Pixels and texels line up only for a viewport at whole-pixel position and
// size (any 16:9 window, a letterboxed full screen), so the layer is kept only
// there; elsewhere it is drawn as before.
//
// The floor is the first thing a frame draws, so the picture is copied in
// rather than drawn: the screen's pass has not opened yet (it opens with the
// first draw), so the picture is copied into the viewport and the pass opened
// on it, and only the letterbox bars, if any, are cleared. A software
// rasteriser copies memory far faster than it samples a screen's worth of
// texels or even clears one, and the pixels are the same. If anything was
// drawn first, the picture is drawn over it as a textured rectangle instead.

#include <cmath>

#include "render/layout_change.hpp"
#include "render/vulkan_log.hpp"
#include "render/vulkan_renderer.hpp"

namespace nj {

bool VulkanRenderer::staticTargetSize(uint32_t& width, uint32_t& height) const {
    const Viewport& v = viewport_;
    const auto whole = [](float f) { return f >= 0.0f && std::floor(f) == f; };
    if (!whole(v.x) || !whole(v.y) || !whole(v.width) || !whole(v.height) || v.width < 1.0f ||
        v.height < 1.0f) {
        return false;
    }
    width = static_cast<uint32_t>(v.width);
    height = static_cast<uint32_t>(v.height);
    return true;
}

bool VulkanRenderer::prepareStaticTarget(uint32_t width, uint32_t height) {
    if (staticPicture_.image != VK_NULL_HANDLE && width == staticWidth_ &&
        height == staticHeight_) {
        return true;
    }
    if (picturePass_ == VK_NULL_HANDLE) return false;
    // A frame in flight may still be reading the old picture.
    vkDeviceWaitIdle(device_);
    destroyStaticLayer();
    if (!createPicture(width, height, surfaceFormat_.format,
                       VK_IMAGE_USAGE_COLOR_ATTACHMENT_BIT | VK_IMAGE_USAGE_SAMPLED_BIT |
                           VK_IMAGE_USAGE_TRANSFER_SRC_BIT,
                       picturePass_, staticPicture_)) {
        return false;
    }
    // Texel centres fall on pixel centres: nearest sampling copies exactly.
    staticSampler_ = createSampler(VK_FILTER_NEAREST);
    staticDescriptorPool_ = createTexturePool(1);
    if (staticSampler_ == VK_NULL_HANDLE || staticDescriptorPool_ == VK_NULL_HANDLE) return false;
    staticSet_ = allocateTextureSet(staticDescriptorPool_);
    if (staticSet_ == VK_NULL_HANDLE) return false;
    writeTextureSet(staticSet_, staticSampler_, staticPicture_.view);
    staticWidth_ = width;
    staticHeight_ = height;
    return true;
}

void VulkanRenderer::destroyStaticLayer() {
    if (device_ == VK_NULL_HANDLE) return;
    if (staticDescriptorPool_) vkDestroyDescriptorPool(device_, staticDescriptorPool_, nullptr);
    if (staticSampler_) vkDestroySampler(device_, staticSampler_, nullptr);
    destroyPicture(staticPicture_);
    staticDescriptorPool_ = VK_NULL_HANDLE;
    staticSet_ = VK_NULL_HANDLE;
    staticSampler_ = VK_NULL_HANDLE;
    staticWidth_ = staticHeight_ = 0;
    staticValid_ = false;
}

bool VulkanRenderer::beginStaticLayer(std::uint64_t key) {
    if (!recordingFrame() || baking_ || currentCommandBuffer_ == VK_NULL_HANDLE) return true;
    uint32_t width = 0, height = 0;
    if (!staticTargetSize(width, height)) return true;  // drawn straight, as always
    if (staticValid_ && key == staticKey_ && width == staticWidth_ && height == staticHeight_) {
        flushBatch();  // anything still pending was drawn first, and opens the pass
        if (screenPassOpen_ || !copyStaticPicture()) drawCanvasPicture(staticSet_);
        return false;
    }
    if (!prepareStaticTarget(width, height)) {
        destroyStaticLayer();
        return true;
    }
    flushBatch();
    const VkCommandBuffer bake = bakeCommandBuffers_[currentFrame_];
    vkResetCommandBuffer(bake, 0);
    VkCommandBufferBeginInfo begin{};
    begin.sType = VK_STRUCTURE_TYPE_COMMAND_BUFFER_BEGIN_INFO;
    begin.flags = VK_COMMAND_BUFFER_USAGE_ONE_TIME_SUBMIT_BIT;
    vkBeginCommandBuffer(bake, &begin);
    beginPicturePass(bake, staticPicture_, width, height);
    const VkDeviceSize offset = 0;
    vkCmdBindVertexBuffers(bake, 0, 1, &vertexBuffers_[currentFrame_].buffer, &offset);
    frameCommandBuffer_ = currentCommandBuffer_;
    currentCommandBuffer_ = bake;
    baking_ = true;
    staticKey_ = key;
    recordPipelineBind(additiveBlend() ? Pipeline::Additive : Pipeline::AlphaBlend);
    return true;
}

void VulkanRenderer::endStaticLayer() {
    if (!baking_) return;
    flushBatch();
    const VkCommandBuffer bake = currentCommandBuffer_;
    endPicturePass(bake);
    vkEndCommandBuffer(bake);
    currentCommandBuffer_ = frameCommandBuffer_;
    frameCommandBuffer_ = VK_NULL_HANDLE;
    baking_ = false;
    bakePending_ = true;
    staticValid_ = true;
    drawCanvasPicture(staticSet_);
}

// Copies the kept picture into the frame's target at the viewport, before
// anything is drawn, and opens the screen's pass on the result. False, with
// nothing recorded, when this target cannot take a copy.
bool VulkanRenderer::copyStaticPicture() {
    if (screenLoadPass_ == VK_NULL_HANDLE || !swapchainWritable_) return false;
    const VkImage target = swapchainImages_[imageIndex_];
    const VkOffset3D at{static_cast<int32_t>(viewport_.x), static_cast<int32_t>(viewport_.y), 0};
    const VkCommandBuffer cb = currentCommandBuffer_;

    // What the target held is of no use: the copy and the bars cover all of it.
    // (The acquire's wait is at the colour output stage, which this barrier
    // starts from, so the copy also waits for the image.)
    const VkImageMemoryBarrier before[] = {
        layoutChange(target, VK_IMAGE_LAYOUT_UNDEFINED, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL, 0,
                     VK_ACCESS_TRANSFER_WRITE_BIT),
        layoutChange(staticPicture_.image, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL,
                     VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL, VK_ACCESS_COLOR_ATTACHMENT_WRITE_BIT,
                     VK_ACCESS_TRANSFER_READ_BIT)};
    vkCmdPipelineBarrier(
        cb, VK_PIPELINE_STAGE_COLOR_ATTACHMENT_OUTPUT_BIT | VK_PIPELINE_STAGE_FRAGMENT_SHADER_BIT,
        VK_PIPELINE_STAGE_TRANSFER_BIT, 0, 0, nullptr, 0, nullptr, 2, before);
    VkImageCopy region{};
    region.srcSubresource = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 0, 1};
    region.dstSubresource = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 0, 1};
    region.dstOffset = at;
    region.extent = {staticWidth_, staticHeight_, 1};
    vkCmdCopyImage(cb, staticPicture_.image, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL, target,
                   VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL, 1, &region);
    const VkImageMemoryBarrier after[] = {
        layoutChange(target, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL,
                     VK_IMAGE_LAYOUT_COLOR_ATTACHMENT_OPTIMAL, VK_ACCESS_TRANSFER_WRITE_BIT,
                     VK_ACCESS_COLOR_ATTACHMENT_READ_BIT | VK_ACCESS_COLOR_ATTACHMENT_WRITE_BIT),
        layoutChange(staticPicture_.image, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL,
                     VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL, 0, VK_ACCESS_SHADER_READ_BIT)};
    vkCmdPipelineBarrier(
        cb, VK_PIPELINE_STAGE_TRANSFER_BIT,
        VK_PIPELINE_STAGE_COLOR_ATTACHMENT_OUTPUT_BIT | VK_PIPELINE_STAGE_FRAGMENT_SHADER_BIT, 0, 0,
        nullptr, 0, nullptr, 2, after);

    VkRenderPassBeginInfo pass{};
    pass.sType = VK_STRUCTURE_TYPE_RENDER_PASS_BEGIN_INFO;
    pass.renderPass = screenLoadPass_;
    pass.framebuffer = framebuffers_[imageIndex_];
    pass.renderArea = {{0, 0}, swapchainExtent_};
    vkCmdBeginRenderPass(cb, &pass, VK_SUBPASS_CONTENTS_INLINE);
    screenPassOpen_ = true;
    clearLetterbox();
    return true;
}

// Clears what lies around the viewport, as the cleared pass would have.
void VulkanRenderer::clearLetterbox() {
    const auto vx = static_cast<uint32_t>(viewport_.x), vy = static_cast<uint32_t>(viewport_.y);
    const auto vw = static_cast<uint32_t>(viewport_.width);
    const auto vh = static_cast<uint32_t>(viewport_.height);
    const uint32_t w = swapchainExtent_.width, h = swapchainExtent_.height;
    VkClearRect bars[4];
    uint32_t count = 0;
    const auto add = [&](uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
        if (width > 0 && height > 0)
            bars[count++] = {
                {{static_cast<int32_t>(x), static_cast<int32_t>(y)}, {width, height}}, 0, 1};
    };
    add(0, 0, w, vy);                                     // above
    add(0, vy + vh, w, h > vy + vh ? h - vy - vh : 0);    // below
    add(0, vy, vx, vh);                                   // left
    add(vx + vw, vy, w > vx + vw ? w - vx - vw : 0, vh);  // right
    if (count == 0) return;
    VkClearAttachment colour{};
    colour.aspectMask = VK_IMAGE_ASPECT_COLOR_BIT;
    colour.colorAttachment = 0;
    colour.clearValue.color = kClearColour;
    vkCmdClearAttachments(currentCommandBuffer_, 1, &colour, count, bars);
}

}  // namespace nj
