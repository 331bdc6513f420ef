// The world layer: on a viewport wider than 1280 pixels the play field is
// drawn into a 1280 x 720 image and scaled up onto the screen, and the page
// is drawn over it at full size. A software rasteriser pays for every
// fragment, and the play field's many stacked translucent layers cost it far
// more at 1920 x 1080 than one scaled copy does; the page's text stays sharp.
// At 1280 x 720 and below the world is drawn straight to the screen.

#include "render/vulkan_log.hpp"
#include "render/vulkan_renderer.hpp"

namespace nj {

namespace {

constexpr VkClearColorValue kWorldClear = {{0.02f, 0.035f, 0.065f, 1.0f}};

}  // namespace

bool VulkanRenderer::worldLayerWanted() const {
    return !worldLayerFailed_ && viewport_.width > static_cast<float>(kWorldLayerWidth) + 0.5f;
}

// The screen pass's twin except that it leaves its image ready for sampling,
// so the same pipelines draw into both (the world layer and the static layer).
bool VulkanRenderer::createSamplingPass(VkRenderPass& out) {
    VkAttachmentDescription colour{};
    colour.format = surfaceFormat_.format;
    colour.samples = VK_SAMPLE_COUNT_1_BIT;
    colour.loadOp = VK_ATTACHMENT_LOAD_OP_CLEAR;
    colour.storeOp = VK_ATTACHMENT_STORE_OP_STORE;
    colour.stencilLoadOp = VK_ATTACHMENT_LOAD_OP_DONT_CARE;
    colour.stencilStoreOp = VK_ATTACHMENT_STORE_OP_DONT_CARE;
    colour.initialLayout = VK_IMAGE_LAYOUT_UNDEFINED;
    colour.finalLayout = VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL;
    VkAttachmentReference colourRef{0, VK_IMAGE_LAYOUT_COLOR_ATTACHMENT_OPTIMAL};
    VkSubpassDescription subpass{};
    subpass.pipelineBindPoint = VK_PIPELINE_BIND_POINT_GRAPHICS;
    subpass.colorAttachmentCount = 1;
    subpass.pColorAttachments = &colourRef;
    VkSubpassDependency dependency{};
    dependency.srcSubpass = VK_SUBPASS_EXTERNAL;
    dependency.dstSubpass = 0;
    dependency.srcStageMask = VK_PIPELINE_STAGE_COLOR_ATTACHMENT_OUTPUT_BIT;
    dependency.dstStageMask = VK_PIPELINE_STAGE_COLOR_ATTACHMENT_OUTPUT_BIT;
    dependency.srcAccessMask = 0;
    dependency.dstAccessMask = VK_ACCESS_COLOR_ATTACHMENT_WRITE_BIT;
    VkRenderPassCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_RENDER_PASS_CREATE_INFO;
    info.attachmentCount = 1;
    info.pAttachments = &colour;
    info.subpassCount = 1;
    info.pSubpasses = &subpass;
    info.dependencyCount = 1;
    info.pDependencies = &dependency;
    return vkCreateRenderPass(device_, &info, nullptr, &out) == VK_SUCCESS;
}

bool VulkanRenderer::createWorldTarget(uint32_t slot) {
    VkImageCreateInfo image{};
    image.sType = VK_STRUCTURE_TYPE_IMAGE_CREATE_INFO;
    image.imageType = VK_IMAGE_TYPE_2D;
    image.format = surfaceFormat_.format;
    image.extent = {kWorldLayerWidth, kWorldLayerHeight, 1};
    image.mipLevels = 1;
    image.arrayLayers = 1;
    image.samples = VK_SAMPLE_COUNT_1_BIT;
    image.tiling = VK_IMAGE_TILING_OPTIMAL;
    image.usage = VK_IMAGE_USAGE_COLOR_ATTACHMENT_BIT | VK_IMAGE_USAGE_SAMPLED_BIT;
    image.sharingMode = VK_SHARING_MODE_EXCLUSIVE;
    image.initialLayout = VK_IMAGE_LAYOUT_UNDEFINED;
    if (vkCreateImage(device_, &image, nullptr, &worldImages_[slot]) != VK_SUCCESS) return false;
    VkMemoryRequirements needs{};
    vkGetImageMemoryRequirements(device_, worldImages_[slot], &needs);
    VkMemoryAllocateInfo alloc{};
    alloc.sType = VK_STRUCTURE_TYPE_MEMORY_ALLOCATE_INFO;
    alloc.allocationSize = needs.size;
    alloc.memoryTypeIndex = findMemoryType(needs.memoryTypeBits, VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT);
    if (vkAllocateMemory(device_, &alloc, nullptr, &worldMemory_[slot]) != VK_SUCCESS) return false;
    vkBindImageMemory(device_, worldImages_[slot], worldMemory_[slot], 0);

    VkImageViewCreateInfo view{};
    view.sType = VK_STRUCTURE_TYPE_IMAGE_VIEW_CREATE_INFO;
    view.image = worldImages_[slot];
    view.viewType = VK_IMAGE_VIEW_TYPE_2D;
    view.format = surfaceFormat_.format;
    view.subresourceRange = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 1, 0, 1};
    if (vkCreateImageView(device_, &view, nullptr, &worldViews_[slot]) != VK_SUCCESS) return false;

    VkFramebufferCreateInfo framebuffer{};
    framebuffer.sType = VK_STRUCTURE_TYPE_FRAMEBUFFER_CREATE_INFO;
    framebuffer.renderPass = worldPass_;
    framebuffer.attachmentCount = 1;
    framebuffer.pAttachments = &worldViews_[slot];
    framebuffer.width = kWorldLayerWidth;
    framebuffer.height = kWorldLayerHeight;
    framebuffer.layers = 1;
    if (vkCreateFramebuffer(device_, &framebuffer, nullptr, &worldFramebuffers_[slot]) != VK_SUCCESS) {
        return false;
    }

    VkDescriptorSetAllocateInfo set{};
    set.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_SET_ALLOCATE_INFO;
    set.descriptorPool = worldDescriptorPool_;
    set.descriptorSetCount = 1;
    set.pSetLayouts = &overlaySetLayout_;
    if (vkAllocateDescriptorSets(device_, &set, &worldSets_[slot]) != VK_SUCCESS) return false;
    const VkDescriptorImageInfo texture{worldSampler_, worldViews_[slot],
                                        VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL};
    VkWriteDescriptorSet write{};
    write.sType = VK_STRUCTURE_TYPE_WRITE_DESCRIPTOR_SET;
    write.dstSet = worldSets_[slot];
    write.dstBinding = 0;
    write.descriptorCount = 1;
    write.descriptorType = VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER;
    write.pImageInfo = &texture;
    vkUpdateDescriptorSets(device_, 1, &write, 0, nullptr);
    return true;
}

bool VulkanRenderer::createWorldLayer() {
    if (!createSamplingPass(worldPass_)) return false;
    VkSamplerCreateInfo sampler{};
    sampler.sType = VK_STRUCTURE_TYPE_SAMPLER_CREATE_INFO;
    sampler.magFilter = VK_FILTER_LINEAR;
    sampler.minFilter = VK_FILTER_LINEAR;
    sampler.mipmapMode = VK_SAMPLER_MIPMAP_MODE_NEAREST;
    sampler.addressModeU = VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
    sampler.addressModeV = VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
    sampler.addressModeW = VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
    sampler.maxAnisotropy = 1.0f;
    sampler.compareOp = VK_COMPARE_OP_ALWAYS;
    sampler.borderColor = VK_BORDER_COLOR_INT_OPAQUE_BLACK;
    if (vkCreateSampler(device_, &sampler, nullptr, &worldSampler_) != VK_SUCCESS) return false;
    const VkDescriptorPoolSize size{VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER, kFramesInFlight};
    VkDescriptorPoolCreateInfo pool{};
    pool.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_POOL_CREATE_INFO;
    pool.maxSets = kFramesInFlight;
    pool.poolSizeCount = 1;
    pool.pPoolSizes = &size;
    if (vkCreateDescriptorPool(device_, &pool, nullptr, &worldDescriptorPool_) != VK_SUCCESS) return false;
    for (uint32_t slot = 0; slot < kFramesInFlight; ++slot) {
        if (!createWorldTarget(slot)) return false;
    }
    return true;
}

void VulkanRenderer::destroyWorldLayer() {
    if (device_ == VK_NULL_HANDLE) return;
    for (uint32_t slot = 0; slot < kFramesInFlight; ++slot) {
        if (worldFramebuffers_[slot]) vkDestroyFramebuffer(device_, worldFramebuffers_[slot], nullptr);
        if (worldViews_[slot]) vkDestroyImageView(device_, worldViews_[slot], nullptr);
        if (worldImages_[slot]) vkDestroyImage(device_, worldImages_[slot], nullptr);
        if (worldMemory_[slot]) vkFreeMemory(device_, worldMemory_[slot], nullptr);
        worldFramebuffers_[slot] = VK_NULL_HANDLE;
        worldViews_[slot] = VK_NULL_HANDLE;
        worldImages_[slot] = VK_NULL_HANDLE;
        worldMemory_[slot] = VK_NULL_HANDLE;
        worldSets_[slot] = VK_NULL_HANDLE;  // freed with the pool
    }
    if (worldDescriptorPool_) vkDestroyDescriptorPool(device_, worldDescriptorPool_, nullptr);
    if (worldSampler_) vkDestroySampler(device_, worldSampler_, nullptr);
    if (worldPass_) vkDestroyRenderPass(device_, worldPass_, nullptr);
    worldDescriptorPool_ = VK_NULL_HANDLE;
    worldSampler_ = VK_NULL_HANDLE;
    worldPass_ = VK_NULL_HANDLE;
    worldLayerReady_ = false;
}

// Called once the frame is recording: opens the world pass when this frame
// draws the world through the layer. False: the caller opens the screen pass.
bool VulkanRenderer::beginWorldLayer() {
    if (!worldLayerWanted()) return false;
    if (!worldLayerReady_) {
        worldLayerReady_ = createWorldLayer();
        if (!worldLayerReady_) {
            // Without the layer the world is drawn straight, as at 1280 x 720.
            logVulkan("World layer unavailable; drawing at full size.");
            destroyWorldLayer();
            worldLayerFailed_ = true;
            return false;
        }
    }
    VkClearValue clear{};
    clear.color = kWorldClear;
    VkRenderPassBeginInfo pass{};
    pass.sType = VK_STRUCTURE_TYPE_RENDER_PASS_BEGIN_INFO;
    pass.renderPass = worldPass_;
    pass.framebuffer = worldFramebuffers_[currentFrame_];
    pass.renderArea = {{0, 0}, {kWorldLayerWidth, kWorldLayerHeight}};
    pass.clearValueCount = 1;
    pass.pClearValues = &clear;
    vkCmdBeginRenderPass(currentCommandBuffer_, &pass, VK_SUBPASS_CONTENTS_INLINE);
    const VkViewport vp{0.0f, 0.0f, static_cast<float>(kWorldLayerWidth),
                        static_cast<float>(kWorldLayerHeight), 0.0f, 1.0f};
    vkCmdSetViewport(currentCommandBuffer_, 0, 1, &vp);
    const VkRect2D scissor{{0, 0}, {kWorldLayerWidth, kWorldLayerHeight}};
    vkCmdSetScissor(currentCommandBuffer_, 0, 1, &scissor);
    worldPassOpen_ = true;
    return true;
}

void VulkanRenderer::endWorldLayer() {
    if (!worldPassOpen_ || currentCommandBuffer_ == VK_NULL_HANDLE) return;
    flushBatch();
    vkCmdEndRenderPass(currentCommandBuffer_);
    worldPassOpen_ = false;
    // The world's pixels are written before the screen pass samples them.
    VkMemoryBarrier written{};
    written.sType = VK_STRUCTURE_TYPE_MEMORY_BARRIER;
    written.srcAccessMask = VK_ACCESS_COLOR_ATTACHMENT_WRITE_BIT;
    written.dstAccessMask = VK_ACCESS_SHADER_READ_BIT;
    vkCmdPipelineBarrier(currentCommandBuffer_, VK_PIPELINE_STAGE_COLOR_ATTACHMENT_OUTPUT_BIT,
                         VK_PIPELINE_STAGE_FRAGMENT_SHADER_BIT, 0, 1, &written, 0, nullptr, 0, nullptr);
    beginScreenPass();

    vkCmdBindPipeline(currentCommandBuffer_, VK_PIPELINE_BIND_POINT_GRAPHICS, copyPipeline_);
    vkCmdBindDescriptorSets(currentCommandBuffer_, VK_PIPELINE_BIND_POINT_GRAPHICS, pipelineLayout_,
                            1, 1, &worldSets_[currentFrame_], 0, nullptr);
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
