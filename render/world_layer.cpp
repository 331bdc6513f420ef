// The world layer: on a software rasteriser and a viewport wider than 1280
// pixels the play field is drawn into a 1280 x 720 image and scaled up onto
// the screen, and the page is drawn over it at full size. A software
// rasteriser pays for every fragment, and the play field's many stacked
// translucent layers cost it far more at 1920 x 1080 than one scaled copy
// does; the page's text stays sharp. A GPU draws the world at full size, crisp
// at any resolution, and so does everything at 1280 x 720 and below.

#include "render/vulkan_log.hpp"
#include "render/vulkan_renderer.hpp"

namespace nj {

bool VulkanRenderer::worldLayerWanted() const {
    return softwareRasteriser_ && !worldLayerFailed_ &&
           viewport_.width > static_cast<float>(kWorldLayerWidth) + 0.5f;
}

bool VulkanRenderer::createWorldLayer() {
    if (picturePass_ == VK_NULL_HANDLE) return false;
    worldSampler_ = createSampler(VK_FILTER_LINEAR);
    worldDescriptorPool_ = createTexturePool(kFramesInFlight);
    if (worldSampler_ == VK_NULL_HANDLE || worldDescriptorPool_ == VK_NULL_HANDLE) return false;
    // One image per frame slot: a frame may draw the world while the one
    // before it is still being shown from its own.
    for (uint32_t slot = 0; slot < kFramesInFlight; ++slot) {
        if (!createPicture(kWorldLayerWidth, kWorldLayerHeight, surfaceFormat_.format,
                           VK_IMAGE_USAGE_COLOR_ATTACHMENT_BIT | VK_IMAGE_USAGE_SAMPLED_BIT |
                               VK_IMAGE_USAGE_TRANSFER_DST_BIT,
                           picturePass_, worldPictures_[slot])) {
            return false;
        }
        worldSets_[slot] = allocateTextureSet(worldDescriptorPool_);
        if (worldSets_[slot] == VK_NULL_HANDLE) return false;
        writeTextureSet(worldSets_[slot], worldSampler_, worldPictures_[slot].view);
    }
    return true;
}

void VulkanRenderer::destroyWorldLayer() {
    if (device_ == VK_NULL_HANDLE) return;
    for (uint32_t slot = 0; slot < kFramesInFlight; ++slot) {
        destroyPicture(worldPictures_[slot]);
        worldSets_[slot] = VK_NULL_HANDLE;  // freed with the pool
    }
    if (worldDescriptorPool_) vkDestroyDescriptorPool(device_, worldDescriptorPool_, nullptr);
    if (worldSampler_) vkDestroySampler(device_, worldSampler_, nullptr);
    worldDescriptorPool_ = VK_NULL_HANDLE;
    worldSampler_ = VK_NULL_HANDLE;
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
    beginPicturePass(currentCommandBuffer_, worldPictures_[currentFrame_], kWorldLayerWidth,
                     kWorldLayerHeight);
    worldPassOpen_ = true;
    return true;
}

void VulkanRenderer::endWorldLayer() {
    if (!worldPassOpen_ || currentCommandBuffer_ == VK_NULL_HANDLE) return;
    flushBatch();
    endPicturePass(currentCommandBuffer_);
    worldPassOpen_ = false;
    beginScreenPass();
    drawCanvasPicture(worldSets_[currentFrame_]);
}

}  // namespace nj
