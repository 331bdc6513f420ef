// The kept static layer: the part of the play field that stays the same from
// one frame to the next (the floor under a mission's walls) is drawn once into
// an image the size of the draw target, then copied onto each frame pixel for
// pixel. A software rasteriser otherwise blends the same few hundred tiles,
// a full screen's worth, every frame.
//
// The copy is exact only where target pixels and image texels line up, so
// the layer is kept only for a viewport at whole-pixel position and size (the
// world layer, a 1280 x 720 window, a letterboxed full screen); elsewhere it
// is drawn as before.

#include <cmath>

#include "render/vulkan_log.hpp"
#include "render/vulkan_renderer.hpp"

namespace nj {

bool VulkanRenderer::staticTargetSize(uint32_t& width, uint32_t& height) const {
    if (worldPassOpen_) {
        width = kWorldLayerWidth;
        height = kWorldLayerHeight;
        return true;
    }
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
                       VK_IMAGE_USAGE_COLOR_ATTACHMENT_BIT | VK_IMAGE_USAGE_SAMPLED_BIT,
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
        drawCanvasPicture(staticSet_);
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

}  // namespace nj
