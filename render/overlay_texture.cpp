// The overlay page's bitmap: its texture, its per-slot upload (only when the
// page repainted) and the quads of its covered tiles.

#include "render/bitmap_rows.hpp"
#include "render/vulkan_renderer.hpp"

namespace nj {

bool VulkanRenderer::createOverlayTexture(int width, int height) {
    if (device_ == VK_NULL_HANDLE) return false;
    if (width < 1 || height < 1) {
        width = 1280;
        height = 720;
    }
    const auto w = static_cast<uint32_t>(width);
    const auto h = static_cast<uint32_t>(height);

    VkImageCreateInfo image{};
    image.sType = VK_STRUCTURE_TYPE_IMAGE_CREATE_INFO;
    image.imageType = VK_IMAGE_TYPE_2D;
    image.format = VK_FORMAT_B8G8R8A8_UNORM;
    image.extent = {w, h, 1};
    image.mipLevels = 1;
    image.arrayLayers = 1;
    image.samples = VK_SAMPLE_COUNT_1_BIT;
    image.tiling = VK_IMAGE_TILING_OPTIMAL;
    image.usage = VK_IMAGE_USAGE_TRANSFER_DST_BIT | VK_IMAGE_USAGE_SAMPLED_BIT;
    image.sharingMode = VK_SHARING_MODE_EXCLUSIVE;
    image.initialLayout = VK_IMAGE_LAYOUT_UNDEFINED;
    if (vkCreateImage(device_, &image, nullptr, &overlayImage_) != VK_SUCCESS) {
        overlayImage_ = VK_NULL_HANDLE;
        return false;
    }
    VkMemoryRequirements needs{};
    vkGetImageMemoryRequirements(device_, overlayImage_, &needs);
    VkMemoryAllocateInfo alloc{};
    alloc.sType = VK_STRUCTURE_TYPE_MEMORY_ALLOCATE_INFO;
    alloc.allocationSize = needs.size;
    alloc.memoryTypeIndex =
        findMemoryType(needs.memoryTypeBits, VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT);
    if (vkAllocateMemory(device_, &alloc, nullptr, &overlayMemory_) != VK_SUCCESS) {
        overlayMemory_ = VK_NULL_HANDLE;
        return false;
    }
    vkBindImageMemory(device_, overlayImage_, overlayMemory_, 0);

    VkImageViewCreateInfo view{};
    view.sType = VK_STRUCTURE_TYPE_IMAGE_VIEW_CREATE_INFO;
    view.image = overlayImage_;
    view.viewType = VK_IMAGE_VIEW_TYPE_2D;
    view.format = VK_FORMAT_B8G8R8A8_UNORM;
    view.subresourceRange = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 1, 0, 1};
    if (vkCreateImageView(device_, &view, nullptr, &overlayView_) != VK_SUCCESS) {
        overlayView_ = VK_NULL_HANDLE;
        return false;
    }

    VkSamplerCreateInfo sampler{};
    sampler.sType = VK_STRUCTURE_TYPE_SAMPLER_CREATE_INFO;
    sampler.magFilter = VK_FILTER_LINEAR;
    sampler.minFilter = VK_FILTER_LINEAR;
    sampler.mipmapMode = VK_SAMPLER_MIPMAP_MODE_LINEAR;
    sampler.addressModeU = VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
    sampler.addressModeV = VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
    sampler.addressModeW = VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
    sampler.maxAnisotropy = 1.0f;
    sampler.compareOp = VK_COMPARE_OP_ALWAYS;
    sampler.borderColor = VK_BORDER_COLOR_INT_OPAQUE_BLACK;
    if (vkCreateSampler(device_, &sampler, nullptr, &overlaySampler_) != VK_SUCCESS) {
        overlaySampler_ = VK_NULL_HANDLE;
        return false;
    }
    overlayWidth_ = w;
    overlayHeight_ = h;
    overlayFilled_ = false;
    overlayRuns_.clear();

    for (HostBuffer& staging : overlayStaging_) {
        createHostBuffer(VkDeviceSize{w} * h * 4, VK_BUFFER_USAGE_TRANSFER_SRC_BIT, staging);
    }

    if (descriptorPool_ == VK_NULL_HANDLE) {
        const VkDescriptorPoolSize size{VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER, 1};
        VkDescriptorPoolCreateInfo pool{};
        pool.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_POOL_CREATE_INFO;
        pool.maxSets = 1;
        pool.poolSizeCount = 1;
        pool.pPoolSizes = &size;
        if (vkCreateDescriptorPool(device_, &pool, nullptr, &descriptorPool_) != VK_SUCCESS) {
            descriptorPool_ = VK_NULL_HANDLE;
        }
    }
    if (overlaySet_ == VK_NULL_HANDLE && descriptorPool_ != VK_NULL_HANDLE) {
        VkDescriptorSetAllocateInfo set{};
        set.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_SET_ALLOCATE_INFO;
        set.descriptorPool = descriptorPool_;
        set.descriptorSetCount = 1;
        set.pSetLayouts = &overlaySetLayout_;
        if (vkAllocateDescriptorSets(device_, &set, &overlaySet_) != VK_SUCCESS) {
            overlaySet_ = VK_NULL_HANDLE;
        }
    }
    if (overlaySet_ != VK_NULL_HANDLE) {
        const VkDescriptorImageInfo texture{overlaySampler_, overlayView_,
                                            VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL};
        VkWriteDescriptorSet write{};
        write.sType = VK_STRUCTURE_TYPE_WRITE_DESCRIPTOR_SET;
        write.dstSet = overlaySet_;
        write.dstBinding = 0;
        write.descriptorCount = 1;
        write.descriptorType = VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER;
        write.pImageInfo = &texture;
        vkUpdateDescriptorSets(device_, 1, &write, 0, nullptr);
    }
    return true;
}

void VulkanRenderer::destroyOverlayTexture() {
    if (device_ == VK_NULL_HANDLE) return;
    for (HostBuffer& staging : overlayStaging_) destroyHostBuffer(staging);
    if (overlaySampler_ != VK_NULL_HANDLE) vkDestroySampler(device_, overlaySampler_, nullptr);
    if (overlayView_ != VK_NULL_HANDLE) vkDestroyImageView(device_, overlayView_, nullptr);
    if (overlayImage_ != VK_NULL_HANDLE) vkDestroyImage(device_, overlayImage_, nullptr);
    if (overlayMemory_ != VK_NULL_HANDLE) vkFreeMemory(device_, overlayMemory_, nullptr);
    overlaySampler_ = VK_NULL_HANDLE;
    overlayView_ = VK_NULL_HANDLE;
    overlayImage_ = VK_NULL_HANDLE;
    overlayMemory_ = VK_NULL_HANDLE;
    overlayWidth_ = 0;
    overlayHeight_ = 0;
}

void VulkanRenderer::drawOverlayBitmap(const uint8_t* pixels, int width, int height, int rowBytes,
                                       bool changed) {
    if (pixels == nullptr || width < 1 || height < 1 || !recordingFrame() ||
        currentCommandBuffer_ == VK_NULL_HANDLE) {
        return;
    }
    if (overlayImage_ == VK_NULL_HANDLE || static_cast<uint32_t>(width) != overlayWidth_ ||
        static_cast<uint32_t>(height) != overlayHeight_) {
        vkDeviceWaitIdle(device_);
        destroyOverlayTexture();
        if (!createOverlayTexture(width, height)) return;
    }
    if (overlaySet_ == VK_NULL_HANDLE) return;
    endWorldLayer();  // the page is drawn at full size over the scaled world
    flushBatch();
    if (changed || !overlayFilled_) {
        if (!recordOverlayUpload(pixels, width, height, rowBytes)) return;
        overlayFilled_ = true;
        overlayRuns_ = overlayCoverage(pixels, overlayWidth_, overlayHeight_,
                                       rowBytes > 0 ? static_cast<size_t>(rowBytes) : 0);
    }
    if (overlayRuns_.empty()) return;

    vkCmdBindPipeline(currentCommandBuffer_, VK_PIPELINE_BIND_POINT_GRAPHICS, texturedPipeline_);
    vkCmdBindDescriptorSets(currentCommandBuffer_, VK_PIPELINE_BIND_POINT_GRAPHICS, pipelineLayout_,
                            1, 1, &overlaySet_, 0, nullptr);
    // Each covered run is a quad of the canvas with the same texture mapping
    // the whole-canvas quad would give it.
    const Color white{1.0f, 1.0f, 1.0f, 1.0f};
    const float toU = 1.0f / static_cast<float>(overlayWidth_);
    const float toV = 1.0f / static_cast<float>(overlayHeight_);
    for (const PixelRect& r : overlayRuns_) {
        const float u0 = static_cast<float>(r.x) * toU, u1 = static_cast<float>(r.x + r.w) * toU;
        const float v0 = static_cast<float>(r.y) * toV, v1 = static_cast<float>(r.y + r.h) * toV;
        const float x0 = u0 * kCanvasWidth, x1 = u1 * kCanvasWidth;
        const float y0 = v0 * kCanvasHeight, y1 = v1 * kCanvasHeight;
        const Vertex tl{x0, y0, white, u0, v0};
        const Vertex tr{x1, y0, white, u1, v0};
        const Vertex br{x1, y1, white, u1, v1};
        const Vertex bl{x0, y1, white, u0, v1};
        pushTriangle(tl, tr, br);
        pushTriangle(tl, br, bl);
    }
    flushBatch();
    recordPipelineBind(additiveBlend() ? Pipeline::Additive : Pipeline::AlphaBlend);
}

// Copies the bitmap into this slot's staging buffer and records its upload into
// the slot's upload command buffer, which is submitted ahead of the frame: copies
// are not allowed inside the render pass the frame is recording.
bool VulkanRenderer::recordOverlayUpload(const uint8_t* pixels, int width, int height,
                                         int rowBytes) {
    HostBuffer& staging = overlayStaging_[currentFrame_];
    const size_t packedRow = static_cast<size_t>(width) * 4;
    if (staging.mapped == nullptr || staging.size < packedRow * static_cast<size_t>(height)) {
        return false;
    }
    packBitmapRows(static_cast<uint8_t*>(staging.mapped), pixels, width, height,
                   rowBytes > 0 ? static_cast<size_t>(rowBytes) : 0);

    const VkCommandBuffer cb = uploadCommandBuffers_[currentFrame_];
    VkCommandBufferBeginInfo begin{};
    begin.sType = VK_STRUCTURE_TYPE_COMMAND_BUFFER_BEGIN_INFO;
    begin.flags = VK_COMMAND_BUFFER_USAGE_ONE_TIME_SUBMIT_BIT;
    vkBeginCommandBuffer(cb, &begin);

    VkImageMemoryBarrier toTransfer{};
    toTransfer.sType = VK_STRUCTURE_TYPE_IMAGE_MEMORY_BARRIER;
    toTransfer.srcAccessMask = 0;
    toTransfer.dstAccessMask = VK_ACCESS_TRANSFER_WRITE_BIT;
    toTransfer.oldLayout = VK_IMAGE_LAYOUT_UNDEFINED;
    toTransfer.newLayout = VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL;
    toTransfer.srcQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
    toTransfer.dstQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
    toTransfer.image = overlayImage_;
    toTransfer.subresourceRange = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 1, 0, 1};
    vkCmdPipelineBarrier(cb, VK_PIPELINE_STAGE_FRAGMENT_SHADER_BIT, VK_PIPELINE_STAGE_TRANSFER_BIT,
                         0, 0, nullptr, 0, nullptr, 1, &toTransfer);

    VkBufferImageCopy copy{};
    copy.imageSubresource = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 0, 1};
    copy.imageExtent = {static_cast<uint32_t>(width), static_cast<uint32_t>(height), 1};
    vkCmdCopyBufferToImage(cb, staging.buffer, overlayImage_, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL,
                           1, &copy);

    VkImageMemoryBarrier toShader = toTransfer;
    toShader.srcAccessMask = VK_ACCESS_TRANSFER_WRITE_BIT;
    toShader.dstAccessMask = VK_ACCESS_SHADER_READ_BIT;
    toShader.oldLayout = VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL;
    toShader.newLayout = VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL;
    vkCmdPipelineBarrier(cb, VK_PIPELINE_STAGE_TRANSFER_BIT, VK_PIPELINE_STAGE_FRAGMENT_SHADER_BIT,
                         0, 0, nullptr, 0, nullptr, 1, &toShader);
    vkEndCommandBuffer(cb);
    uploadPending_ = true;
    return true;
}

}  // namespace nj
