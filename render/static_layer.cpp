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
    if (staticImage_ != VK_NULL_HANDLE && width == staticWidth_ && height == staticHeight_) return true;
    if (staticPass_ == VK_NULL_HANDLE && !createSamplingPass(staticPass_)) return false;
    // A frame in flight may still be reading the old picture.
    vkDeviceWaitIdle(device_);
    destroyStaticLayer();
    VkImageCreateInfo image{};
    image.sType = VK_STRUCTURE_TYPE_IMAGE_CREATE_INFO;
    image.imageType = VK_IMAGE_TYPE_2D;
    image.format = surfaceFormat_.format;
    image.extent = {width, height, 1};
    image.mipLevels = 1;
    image.arrayLayers = 1;
    image.samples = VK_SAMPLE_COUNT_1_BIT;
    image.tiling = VK_IMAGE_TILING_OPTIMAL;
    image.usage = VK_IMAGE_USAGE_COLOR_ATTACHMENT_BIT | VK_IMAGE_USAGE_SAMPLED_BIT;
    image.sharingMode = VK_SHARING_MODE_EXCLUSIVE;
    image.initialLayout = VK_IMAGE_LAYOUT_UNDEFINED;
    if (vkCreateImage(device_, &image, nullptr, &staticImage_) != VK_SUCCESS) return false;
    VkMemoryRequirements needs{};
    vkGetImageMemoryRequirements(device_, staticImage_, &needs);
    VkMemoryAllocateInfo alloc{};
    alloc.sType = VK_STRUCTURE_TYPE_MEMORY_ALLOCATE_INFO;
    alloc.allocationSize = needs.size;
    alloc.memoryTypeIndex = findMemoryType(needs.memoryTypeBits, VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT);
    if (vkAllocateMemory(device_, &alloc, nullptr, &staticMemory_) != VK_SUCCESS) return false;
    vkBindImageMemory(device_, staticImage_, staticMemory_, 0);

    VkImageViewCreateInfo view{};
    view.sType = VK_STRUCTURE_TYPE_IMAGE_VIEW_CREATE_INFO;
    view.image = staticImage_;
    view.viewType = VK_IMAGE_VIEW_TYPE_2D;
    view.format = surfaceFormat_.format;
    view.subresourceRange = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 1, 0, 1};
    if (vkCreateImageView(device_, &view, nullptr, &staticView_) != VK_SUCCESS) return false;

    VkFramebufferCreateInfo framebuffer{};
    framebuffer.sType = VK_STRUCTURE_TYPE_FRAMEBUFFER_CREATE_INFO;
    framebuffer.renderPass = staticPass_;
    framebuffer.attachmentCount = 1;
    framebuffer.pAttachments = &staticView_;
    framebuffer.width = width;
    framebuffer.height = height;
    framebuffer.layers = 1;
    if (vkCreateFramebuffer(device_, &framebuffer, nullptr, &staticFramebuffer_) != VK_SUCCESS) return false;

    // Texel centres fall on pixel centres: nearest sampling copies exactly.
    VkSamplerCreateInfo sampler{};
    sampler.sType = VK_STRUCTURE_TYPE_SAMPLER_CREATE_INFO;
    sampler.magFilter = VK_FILTER_NEAREST;
    sampler.minFilter = VK_FILTER_NEAREST;
    sampler.mipmapMode = VK_SAMPLER_MIPMAP_MODE_NEAREST;
    sampler.addressModeU = VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
    sampler.addressModeV = VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
    sampler.addressModeW = VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
    sampler.maxAnisotropy = 1.0f;
    sampler.compareOp = VK_COMPARE_OP_ALWAYS;
    sampler.borderColor = VK_BORDER_COLOR_INT_OPAQUE_BLACK;
    if (vkCreateSampler(device_, &sampler, nullptr, &staticSampler_) != VK_SUCCESS) return false;
    const VkDescriptorPoolSize size{VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER, 1};
    VkDescriptorPoolCreateInfo pool{};
    pool.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_POOL_CREATE_INFO;
    pool.maxSets = 1;
    pool.poolSizeCount = 1;
    pool.pPoolSizes = &size;
    if (vkCreateDescriptorPool(device_, &pool, nullptr, &staticDescriptorPool_) != VK_SUCCESS) return false;
    VkDescriptorSetAllocateInfo set{};
    set.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_SET_ALLOCATE_INFO;
    set.descriptorPool = staticDescriptorPool_;
    set.descriptorSetCount = 1;
    set.pSetLayouts = &overlaySetLayout_;
    if (vkAllocateDescriptorSets(device_, &set, &staticSet_) != VK_SUCCESS) return false;
    const VkDescriptorImageInfo texture{staticSampler_, staticView_, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL};
    VkWriteDescriptorSet write{};
    write.sType = VK_STRUCTURE_TYPE_WRITE_DESCRIPTOR_SET;
    write.dstSet = staticSet_;
    write.dstBinding = 0;
    write.descriptorCount = 1;
    write.descriptorType = VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER;
    write.pImageInfo = &texture;
    vkUpdateDescriptorSets(device_, 1, &write, 0, nullptr);
    staticWidth_ = width;
    staticHeight_ = height;
    return true;
}

void VulkanRenderer::destroyStaticLayer() {
    if (device_ == VK_NULL_HANDLE) return;
    if (staticDescriptorPool_) vkDestroyDescriptorPool(device_, staticDescriptorPool_, nullptr);
    if (staticSampler_) vkDestroySampler(device_, staticSampler_, nullptr);
    if (staticFramebuffer_) vkDestroyFramebuffer(device_, staticFramebuffer_, nullptr);
    if (staticView_) vkDestroyImageView(device_, staticView_, nullptr);
    if (staticImage_) vkDestroyImage(device_, staticImage_, nullptr);
    if (staticMemory_) vkFreeMemory(device_, staticMemory_, nullptr);
    staticDescriptorPool_ = VK_NULL_HANDLE;
    staticSet_ = VK_NULL_HANDLE;
    staticSampler_ = VK_NULL_HANDLE;
    staticFramebuffer_ = VK_NULL_HANDLE;
    staticView_ = VK_NULL_HANDLE;
    staticImage_ = VK_NULL_HANDLE;
    staticMemory_ = VK_NULL_HANDLE;
    staticWidth_ = staticHeight_ = 0;
    staticValid_ = false;
}

void VulkanRenderer::destroyStaticPass() {
    if (device_ != VK_NULL_HANDLE && staticPass_ != VK_NULL_HANDLE) {
        vkDestroyRenderPass(device_, staticPass_, nullptr);
    }
    staticPass_ = VK_NULL_HANDLE;
}

bool VulkanRenderer::beginStaticLayer(std::uint64_t key) {
    if (!recordingFrame() || baking_ || currentCommandBuffer_ == VK_NULL_HANDLE) return true;
    uint32_t width = 0, height = 0;
    if (!staticTargetSize(width, height)) return true;  // drawn straight, as always
    if (staticValid_ && key == staticKey_ && width == staticWidth_ && height == staticHeight_) {
        drawStaticPicture();
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
    VkClearValue clear{};
    clear.color = {{0.02f, 0.035f, 0.065f, 1.0f}};
    VkRenderPassBeginInfo pass{};
    pass.sType = VK_STRUCTURE_TYPE_RENDER_PASS_BEGIN_INFO;
    pass.renderPass = staticPass_;
    pass.framebuffer = staticFramebuffer_;
    pass.renderArea = {{0, 0}, {width, height}};
    pass.clearValueCount = 1;
    pass.pClearValues = &clear;
    vkCmdBeginRenderPass(bake, &pass, VK_SUBPASS_CONTENTS_INLINE);
    const VkViewport vp{0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height), 0.0f, 1.0f};
    vkCmdSetViewport(bake, 0, 1, &vp);
    const VkRect2D scissor{{0, 0}, {width, height}};
    vkCmdSetScissor(bake, 0, 1, &scissor);
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
    vkCmdEndRenderPass(bake);
    VkMemoryBarrier written{};
    written.sType = VK_STRUCTURE_TYPE_MEMORY_BARRIER;
    written.srcAccessMask = VK_ACCESS_COLOR_ATTACHMENT_WRITE_BIT;
    written.dstAccessMask = VK_ACCESS_SHADER_READ_BIT;
    vkCmdPipelineBarrier(bake, VK_PIPELINE_STAGE_COLOR_ATTACHMENT_OUTPUT_BIT,
                         VK_PIPELINE_STAGE_FRAGMENT_SHADER_BIT, 0, 1, &written, 0, nullptr, 0, nullptr);
    vkEndCommandBuffer(bake);
    currentCommandBuffer_ = frameCommandBuffer_;
    frameCommandBuffer_ = VK_NULL_HANDLE;
    baking_ = false;
    bakePending_ = true;
    staticValid_ = true;
    drawStaticPicture();
}

void VulkanRenderer::drawStaticPicture() {
    flushBatch();
    vkCmdBindPipeline(currentCommandBuffer_, VK_PIPELINE_BIND_POINT_GRAPHICS, copyPipeline_);
    vkCmdBindDescriptorSets(currentCommandBuffer_, VK_PIPELINE_BIND_POINT_GRAPHICS, pipelineLayout_,
                            1, 1, &staticSet_, 0, nullptr);
    const Color white{1.0f, 1.0f, 1.0f, 1.0f};
    const Vertex tl{0.0f, 0.0f, white, 0.0f, 0.0f};
    const Vertex tr{kCanvasWidth, 0.0f, white, 1.0f, 0.0f};
    const Vertex br{kCanvasWidth, kCanvasHeight, white, 1.0f, 1.0f};
    const Vertex bl{0.0f, kCanvasHeight, white, 0.0f, 1.0f};
    pushTriangle(tl, tr, br);
    pushTriangle(tl, br, bl);
    flushBatch();
    recordPipelineBind(additiveBlend() ? Pipeline::Additive : Pipeline::AlphaBlend);
}

}  // namespace nj
