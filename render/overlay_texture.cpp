// The overlay page's bitmap: its texture, its per-slot upload (only when the
// page repainted) and the quads of its covered tiles.

#include <utility>

#include "core/page_size.hpp"
#include "render/bitmap_rows.hpp"
#include "render/device_handles.hpp"
#include "render/layout_change.hpp"
#include "render/vulkan_renderer.hpp"

namespace nj {

bool VulkanRenderer::createOverlayTexture(int width, int height) {
    if (device_ == VK_NULL_HANDLE) return false;
    if (width < 1 || height < 1) {
        width = int(kPageWidth);
        height = int(kPageHeight);
    }
    const auto w = static_cast<uint32_t>(width);
    const auto h = static_cast<uint32_t>(height);
    if (!createPicture(w, h, VK_FORMAT_B8G8R8A8_UNORM,
                       VK_IMAGE_USAGE_TRANSFER_DST_BIT | VK_IMAGE_USAGE_SAMPLED_BIT, VK_NULL_HANDLE,
                       overlayPicture_)) {
        return false;
    }
    overlaySampler_ = createSampler(VK_FILTER_LINEAR);
    overlayNearestSampler_ = createSampler(VK_FILTER_NEAREST);
    if (overlaySampler_ == VK_NULL_HANDLE || overlayNearestSampler_ == VK_NULL_HANDLE) return false;
    overlayWidth_ = w;
    overlayHeight_ = h;
    overlayFilled_ = false;
    overlayRuns_.clear();

    for (FrameSlot& slot : slots_) {
        createHostBuffer(VkDeviceSize{w} * h * 4, VK_BUFFER_USAGE_TRANSFER_SRC_BIT,
                         slot.overlayStaging);
    }
    // The sets outlive the texture: a new size only rewrites them.
    if (descriptorPool_ == VK_NULL_HANDLE) descriptorPool_ = createTexturePool(2);
    if (descriptorPool_ == VK_NULL_HANDLE) return true;
    for (auto [set, sampler] : {std::pair{&overlaySet_, overlaySampler_},
                                std::pair{&overlayNearestSet_, overlayNearestSampler_}}) {
        if (*set == VK_NULL_HANDLE) *set = allocateTextureSet(descriptorPool_);
        if (*set != VK_NULL_HANDLE) writeTextureSet(*set, sampler, overlayPicture_.view);
    }
    return true;
}

void VulkanRenderer::destroyOverlayTexture() {
    if (device_ == VK_NULL_HANDLE) return;
    for (FrameSlot& slot : slots_) destroyHostBuffer(slot.overlayStaging);
    for (VkSampler* sampler : {&overlaySampler_, &overlayNearestSampler_}) {
        if (*sampler != VK_NULL_HANDLE) vkDestroySampler(device_, *sampler, nullptr);
        *sampler = VK_NULL_HANDLE;
    }
    destroyPicture(overlayPicture_);
    overlayWidth_ = 0;
    overlayHeight_ = 0;
}

void VulkanRenderer::destroyOverlaySets() {
    release(device_, descriptorPool_, vkDestroyDescriptorPool);
    overlaySet_ = VK_NULL_HANDLE;  // freed with their pool
    overlayNearestSet_ = VK_NULL_HANDLE;
}

void VulkanRenderer::drawOverlayBitmap(const uint8_t* pixels, int width, int height, int rowBytes,
                                       bool changed) {
    if (pixels == nullptr || width < 1 || height < 1 || !recordingFrame() ||
        currentCommandBuffer_ == VK_NULL_HANDLE) {
        return;
    }
    if (overlayPicture_.image == VK_NULL_HANDLE || static_cast<uint32_t>(width) != overlayWidth_ ||
        static_cast<uint32_t>(height) != overlayHeight_) {
        vkDeviceWaitIdle(device_);
        destroyOverlayTexture();
        if (!createOverlayTexture(width, height)) return;
    }
    if (overlaySet_ == VK_NULL_HANDLE) return;
    flushBatch();
    if (changed || !overlayFilled_) {
        if (!recordOverlayUpload(pixels, width, height, rowBytes)) return;
        overlayFilled_ = true;
        overlayRuns_ = overlayCoverage(pixels, overlayWidth_, overlayHeight_,
                                       rowBytes > 0 ? static_cast<size_t>(rowBytes) : 0);
    }
    if (overlayRuns_.empty()) return;

    // A page laid out at the viewport's own size is sampled one texel to a
    // pixel: nearest sampling gives the same pixels as filtering, for a
    // fraction of a software rasteriser's work.
    uint32_t viewportWidth = 0, viewportHeight = 0;
    const bool oneToOne = wholePixelViewport(viewportWidth, viewportHeight) &&
                          viewportWidth == overlayWidth_ && viewportHeight == overlayHeight_ &&
                          overlayNearestSet_ != VK_NULL_HANDLE;
    bindTexture(texturedPipeline_, oneToOne ? overlayNearestSet_ : overlaySet_);
    pushPictureRuns(overlayRuns_, overlayWidth_, overlayHeight_);
    unbindTexture();
}

// Each run of a whole-canvas picture is a quad of the canvas with the same
// texture mapping the whole-canvas quad would give it.
void VulkanRenderer::pushPictureRuns(const std::vector<PixelRect>& runs, uint32_t width,
                                     uint32_t height) {
    const float toU = 1.0f / static_cast<float>(width);
    const float toV = 1.0f / static_cast<float>(height);
    for (const PixelRect& r : runs) {
        const float u0 = static_cast<float>(r.x) * toU, u1 = static_cast<float>(r.x + r.w) * toU;
        const float v0 = static_cast<float>(r.y) * toV, v1 = static_cast<float>(r.y + r.h) * toV;
        pushTexturedRect(u0 * kCanvasWidth, v0 * kCanvasHeight, u1 * kCanvasWidth,
                         v1 * kCanvasHeight, u0, v0, u1, v1);
    }
}

// Copies the bitmap into this slot's staging buffer and records its upload into
// the slot's upload command buffer, which is submitted ahead of the frame: copies
// are not allowed inside the render pass the frame is recording.
bool VulkanRenderer::recordOverlayUpload(const uint8_t* pixels, int width, int height,
                                         int rowBytes) {
    FrameSlot& slot = slots_[currentFrame_];
    HostBuffer& staging = slot.overlayStaging;
    const size_t packedRow = static_cast<size_t>(width) * 4;
    if (staging.mapped == nullptr || staging.size < packedRow * static_cast<size_t>(height)) {
        return false;
    }
    packBitmapRows(static_cast<uint8_t*>(staging.mapped), pixels, width, height,
                   rowBytes > 0 ? static_cast<size_t>(rowBytes) : 0);

    const VkCommandBuffer cb = slot.upload;
    VkCommandBufferBeginInfo begin{};
    begin.sType = VK_STRUCTURE_TYPE_COMMAND_BUFFER_BEGIN_INFO;
    begin.flags = VK_COMMAND_BUFFER_USAGE_ONE_TIME_SUBMIT_BIT;
    vkBeginCommandBuffer(cb, &begin);

    const VkImageMemoryBarrier toTransfer =
        layoutChange(overlayPicture_.image, VK_IMAGE_LAYOUT_UNDEFINED,
                     VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL, 0, VK_ACCESS_TRANSFER_WRITE_BIT);
    vkCmdPipelineBarrier(cb, VK_PIPELINE_STAGE_FRAGMENT_SHADER_BIT, VK_PIPELINE_STAGE_TRANSFER_BIT,
                         0, 0, nullptr, 0, nullptr, 1, &toTransfer);

    VkBufferImageCopy copy{};
    copy.imageSubresource = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 0, 1};
    copy.imageExtent = {static_cast<uint32_t>(width), static_cast<uint32_t>(height), 1};
    vkCmdCopyBufferToImage(cb, staging.buffer, overlayPicture_.image,
                           VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL, 1, &copy);

    const VkImageMemoryBarrier toShader =
        layoutChange(overlayPicture_.image, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL,
                     VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL, VK_ACCESS_TRANSFER_WRITE_BIT,
                     VK_ACCESS_SHADER_READ_BIT);
    vkCmdPipelineBarrier(cb, VK_PIPELINE_STAGE_TRANSFER_BIT, VK_PIPELINE_STAGE_FRAGMENT_SHADER_BIT,
                         0, 0, nullptr, 0, nullptr, 1, &toShader);
    vkEndCommandBuffer(cb);
    uploadPending_ = true;
    return true;
}

}  // namespace nj
