// The kept static layers: the parts of the play field that stay the same
// from one frame to the next are drawn once into images the size of the
// viewport, then put onto each frame pixel for pixel. A software rasteriser
// otherwise blends the same few hundred tiles, table tops and wall blocks
// every frame, at a cost that grows with their triangles.
//
// Pixels and texels line up only for a viewport at whole-pixel position and
// size (any 16:9 window, a letterboxed full screen), so the layers are kept
// only there; elsewhere they are drawn as before.
//
// The ground (the floor) is the first thing a frame draws, so its picture is
// copied in rather than drawn: the screen's pass has not opened yet (it opens
// with the first draw), so the picture is copied into the viewport and the
// pass opened on it, and only the letterbox bars, if any, are cleared. A
// software rasteriser copies memory far faster than it samples a screen's
// worth of texels or even clears one. If anything was drawn first, the
// picture is drawn over it as a textured rectangle instead.
//
// The layers over things that move (furniture, wall tops) are baked onto a
// transparent picture, which leaves it premultiplied, and blended over the
// frame where they hold pixels. Where those are is read back once after the
// bake; until it arrives (a frame or two) the whole picture is blended.

#include <cmath>

#include "render/layout_change.hpp"
#include "render/vulkan_log.hpp"
#include "render/vulkan_renderer.hpp"

namespace nj {
namespace {

// Kept pictures are blended over these tiles (target pixels) where they hold
// anything: small, because wall blocks and table rims are thin.
constexpr uint32_t kKeptTile = 16;

}  // namespace

bool VulkanRenderer::wholePixelViewport(uint32_t& width, uint32_t& height) const {
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

bool VulkanRenderer::prepareKeptPictures(uint32_t width, uint32_t height) {
    if (keptDescriptorPool_ != VK_NULL_HANDLE && width == keptWidth_ && height == keptHeight_) {
        return true;
    }
    if (picturePass_ == VK_NULL_HANDLE) return false;
    // A frame in flight may still be reading the old pictures.
    vkDeviceWaitIdle(device_);
    destroyStaticLayer();
    // Texel centres fall on pixel centres: nearest sampling copies exactly.
    keptSampler_ = createSampler(VK_FILTER_NEAREST);
    keptDescriptorPool_ = createTexturePool(kStaticLayerCount);
    if (keptSampler_ == VK_NULL_HANDLE || keptDescriptorPool_ == VK_NULL_HANDLE) return false;
    for (KeptLayer& layer : kept_) {
        if (!createPicture(width, height, surfaceFormat_.format,
                           VK_IMAGE_USAGE_COLOR_ATTACHMENT_BIT | VK_IMAGE_USAGE_SAMPLED_BIT |
                               VK_IMAGE_USAGE_TRANSFER_SRC_BIT,
                           picturePass_, layer.picture)) {
            return false;
        }
        layer.set = allocateTextureSet(keptDescriptorPool_);
        if (layer.set == VK_NULL_HANDLE) return false;
        writeTextureSet(layer.set, keptSampler_, layer.picture.view);
    }
    keptWidth_ = width;
    keptHeight_ = height;
    return true;
}

void VulkanRenderer::destroyStaticLayer() {
    if (device_ == VK_NULL_HANDLE) return;
    if (keptDescriptorPool_) vkDestroyDescriptorPool(device_, keptDescriptorPool_, nullptr);
    if (keptSampler_) vkDestroySampler(device_, keptSampler_, nullptr);
    for (KeptLayer& layer : kept_) {
        destroyPicture(layer.picture);
        destroyHostBuffer(layer.readback);
        layer = KeptLayer{};
    }
    keptDescriptorPool_ = VK_NULL_HANDLE;
    keptSampler_ = VK_NULL_HANDLE;
    keptWidth_ = keptHeight_ = 0;
}

void VulkanRenderer::forgetKeptLayers() {
    for (KeptLayer& layer : kept_) {
        layer.valid = false;
        layer.readbackSlot = -1;
    }
}

bool VulkanRenderer::beginStaticLayer(std::uint64_t key, StaticLayer which) {
    if (!recordingFrame() || baking_ || currentCommandBuffer_ == VK_NULL_HANDLE) return true;
    uint32_t width = 0, height = 0;
    if (!wholePixelViewport(width, height)) return true;  // drawn straight, as always
    KeptLayer& layer = kept_[static_cast<size_t>(which)];
    if (layer.valid && key == layer.key && width == keptWidth_ && height == keptHeight_) {
        drawKeptLayer(which);
        return false;
    }
    if (!prepareKeptPictures(width, height)) {
        destroyStaticLayer();
        return true;
    }
    layer.key = key;
    beginBake(layer, which);
    return true;
}

// Switches drawing into the slot's bake buffer (begun with the frame's first
// bake), onto the layer's picture cleared to what it lies over: the night
// blue of the bars for the ground, nothing for the layers over it.
void VulkanRenderer::beginBake(KeptLayer& layer, StaticLayer which) {
    flushBatch();
    const FrameSlot& slot = slots_[currentFrame_];
    const VkCommandBuffer bake = slot.bake;
    if (!bakePending_) {
        vkResetCommandBuffer(bake, 0);
        VkCommandBufferBeginInfo begin{};
        begin.sType = VK_STRUCTURE_TYPE_COMMAND_BUFFER_BEGIN_INFO;
        begin.flags = VK_COMMAND_BUFFER_USAGE_ONE_TIME_SUBMIT_BIT;
        vkBeginCommandBuffer(bake, &begin);
        const VkDeviceSize offset = 0;
        vkCmdBindVertexBuffers(bake, 0, 1, &slot.vertices.buffer, &offset);
        bakePending_ = true;
    }
    // A frame still in flight may be reading the picture this bake redraws
    // (copying the floor, sampling the furniture): the pass waits for it.
    vkCmdPipelineBarrier(
        bake, VK_PIPELINE_STAGE_TRANSFER_BIT | VK_PIPELINE_STAGE_FRAGMENT_SHADER_BIT,
        VK_PIPELINE_STAGE_COLOR_ATTACHMENT_OUTPUT_BIT, 0, 0, nullptr, 0, nullptr, 0, nullptr);
    const VkClearColorValue transparent{{0.0f, 0.0f, 0.0f, 0.0f}};
    beginPicturePass(bake, layer.picture, keptWidth_, keptHeight_,
                     which == StaticLayer::Ground ? kClearColour : transparent);
    frameCommandBuffer_ = currentCommandBuffer_;
    currentCommandBuffer_ = bake;
    baking_ = true;
    bakingLayer_ = which;
    bindBatchPipeline();
}

void VulkanRenderer::endStaticLayer() {
    if (!baking_) return;
    flushBatch();
    KeptLayer& layer = kept_[static_cast<size_t>(bakingLayer_)];
    endPicturePass(currentCommandBuffer_);
    if (bakingLayer_ != StaticLayer::Ground) recordCoverageReadback(layer);
    currentCommandBuffer_ = frameCommandBuffer_;
    frameCommandBuffer_ = VK_NULL_HANDLE;
    baking_ = false;
    layer.valid = true;
    bindBatchPipeline();
    drawKeptLayer(bakingLayer_);
}

// Copies a see-through layer's fresh picture to the host, to learn where it
// holds pixels once the slot's fence has signalled.
void VulkanRenderer::recordCoverageReadback(KeptLayer& layer) {
    layer.coverageKnown = false;
    layer.coverage.clear();
    if (layer.readback.buffer != VK_NULL_HANDLE) {
        vkDeviceWaitIdle(device_);  // an earlier bake's copy may still be on its way
        destroyHostBuffer(layer.readback);
    }
    layer.readbackSlot = -1;
    const VkDeviceSize bytes = VkDeviceSize{keptWidth_} * keptHeight_ * 4;
    if (!createHostBuffer(bytes, VK_BUFFER_USAGE_TRANSFER_DST_BIT, layer.readback)) {
        destroyHostBuffer(layer.readback);
        return;  // the whole picture is blended, as until the copy would have arrived
    }
    const VkCommandBuffer cb = currentCommandBuffer_;
    const VkImageMemoryBarrier toCopy =
        layoutChange(layer.picture.image, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL,
                     VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL, VK_ACCESS_COLOR_ATTACHMENT_WRITE_BIT,
                     VK_ACCESS_TRANSFER_READ_BIT);
    vkCmdPipelineBarrier(cb, VK_PIPELINE_STAGE_COLOR_ATTACHMENT_OUTPUT_BIT,
                         VK_PIPELINE_STAGE_TRANSFER_BIT, 0, 0, nullptr, 0, nullptr, 1, &toCopy);
    VkBufferImageCopy copy{};
    copy.imageSubresource = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 0, 1};
    copy.imageExtent = {keptWidth_, keptHeight_, 1};
    vkCmdCopyImageToBuffer(cb, layer.picture.image, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL,
                           layer.readback.buffer, 1, &copy);
    const VkImageMemoryBarrier toSample =
        layoutChange(layer.picture.image, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL,
                     VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL, 0, VK_ACCESS_SHADER_READ_BIT);
    const VkBufferMemoryBarrier toHost = copiedForHost(layer.readback.buffer);
    vkCmdPipelineBarrier(cb, VK_PIPELINE_STAGE_TRANSFER_BIT,
                         VK_PIPELINE_STAGE_FRAGMENT_SHADER_BIT | VK_PIPELINE_STAGE_HOST_BIT, 0, 0,
                         nullptr, 1, &toHost, 1, &toSample);
    layer.readbackSlot = static_cast<int>(currentFrame_);
}

// Called once the slot's fence has signalled: the read-back pictures are in.
void VulkanRenderer::collectCoverage(uint32_t slot) {
    for (KeptLayer& layer : kept_) {
        if (layer.readbackSlot != static_cast<int>(slot)) continue;
        layer.coverage =
            overlayCoverage(static_cast<const uint8_t*>(layer.readback.mapped), keptWidth_,
                            keptHeight_, size_t{keptWidth_} * 4, 0, kKeptTile);
        layer.coverageKnown = true;
        layer.readbackSlot = -1;
        destroyHostBuffer(layer.readback);
    }
}

void VulkanRenderer::drawKeptLayer(StaticLayer which) {
    const KeptLayer& layer = kept_[static_cast<size_t>(which)];
    if (which != StaticLayer::Ground) {
        drawSeeThroughPicture(layer);
        return;
    }
    flushBatch();  // anything still pending was drawn first, and opens the pass
    if (screenPassOpen_ || !copyStaticPicture()) drawCanvasPicture(layer.set);
}

void VulkanRenderer::drawSeeThroughPicture(const KeptLayer& layer) {
    if (layer.coverageKnown && layer.coverage.empty()) return;
    bindTexture(texturedPipeline_, layer.set);
    if (layer.coverageKnown) {
        pushPictureRuns(layer.coverage, keptWidth_, keptHeight_);
    } else {
        pushTexturedRect(0.0f, 0.0f, kCanvasWidth, kCanvasHeight, 0.0f, 0.0f, 1.0f, 1.0f);
    }
    unbindTexture();
}

// Copies the kept picture into the frame's target at the viewport, before
// anything is drawn, and opens the screen's pass on the result. False, with
// nothing recorded, when this target cannot take a copy.
bool VulkanRenderer::copyStaticPicture() {
    if (screenLoadPass_ == VK_NULL_HANDLE || !swapchainWritable_) return false;
    const VkImage target = swapchainImages_[imageIndex_];
    const VkOffset3D at{static_cast<int32_t>(viewport_.x), static_cast<int32_t>(viewport_.y), 0};
    const VkCommandBuffer cb = currentCommandBuffer_;
    const KeptLayer& ground = kept_[static_cast<size_t>(StaticLayer::Ground)];

    // What the target held is of no use: the copy and the bars cover all of it.
    // (The acquire's wait is at the colour output stage, which this barrier
    // starts from, so the copy also waits for the image.)
    const VkImageMemoryBarrier before[] = {
        layoutChange(target, VK_IMAGE_LAYOUT_UNDEFINED, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL, 0,
                     VK_ACCESS_TRANSFER_WRITE_BIT),
        layoutChange(ground.picture.image, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL,
                     VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL, VK_ACCESS_COLOR_ATTACHMENT_WRITE_BIT,
                     VK_ACCESS_TRANSFER_READ_BIT)};
    vkCmdPipelineBarrier(
        cb, VK_PIPELINE_STAGE_COLOR_ATTACHMENT_OUTPUT_BIT | VK_PIPELINE_STAGE_FRAGMENT_SHADER_BIT,
        VK_PIPELINE_STAGE_TRANSFER_BIT, 0, 0, nullptr, 0, nullptr, 2, before);
    VkImageCopy region{};
    region.srcSubresource = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 0, 1};
    region.dstSubresource = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 0, 1};
    region.dstOffset = at;
    region.extent = {keptWidth_, keptHeight_, 1};
    vkCmdCopyImage(cb, ground.picture.image, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL, target,
                   VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL, 1, &region);
    const VkImageMemoryBarrier after[] = {
        layoutChange(target, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL,
                     VK_IMAGE_LAYOUT_COLOR_ATTACHMENT_OPTIMAL, VK_ACCESS_TRANSFER_WRITE_BIT,
                     VK_ACCESS_COLOR_ATTACHMENT_READ_BIT | VK_ACCESS_COLOR_ATTACHMENT_WRITE_BIT),
        layoutChange(ground.picture.image, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL,
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
