// One frame: acquire, record, submit and present, plus the batch's draws and binds.

#include "render/vulkan_log.hpp"
#include "render/vulkan_renderer.hpp"

namespace nj {

bool VulkanRenderer::beginFrame() {
    if (device_ == VK_NULL_HANDLE || frameActive_) return false;
    if ((swapchain_ == VK_NULL_HANDLE && !showsWindowPixels_) || framebuffers_.empty()) {
        rebuildSwapchain();  // minimised, or an earlier rebuild failed: try again, show nothing
        return false;
    }
    const uint32_t s = currentFrame_;
    FrameSlot& slot = slots_[s];
    vkWaitForFences(device_, 1, &slot.inFlight, VK_TRUE, UINT64_MAX);
    collectCoverage(s);

    if (showsWindowPixels_) {
        imageIndex_ = s;  // each slot draws into its own image
    } else {
        const VkResult acquired = vkAcquireNextImageKHR(
            device_, swapchain_, UINT64_MAX, slot.imageAvailable, VK_NULL_HANDLE, &imageIndex_);
        if (acquired == VK_ERROR_OUT_OF_DATE_KHR) {
            rebuildSwapchain();
            return false;
        }
        if (acquired != VK_SUCCESS && acquired != VK_SUBOPTIMAL_KHR) return false;
    }

    vkResetFences(device_, 1, &slot.inFlight);
    currentCommandBuffer_ = slot.frame;
    vkResetCommandBuffer(currentCommandBuffer_, 0);
    VkCommandBufferBeginInfo begin{};
    begin.sType = VK_STRUCTURE_TYPE_COMMAND_BUFFER_BEGIN_INFO;
    vkBeginCommandBuffer(currentCommandBuffer_, &begin);

    viewport_ = fitViewport(width_, height_);
    // The screen's pass opens with the first draw (beginScreenPass): if the
    // kept floor comes first, it is copied in and nothing needs clearing.
    screenPassOpen_ = false;
    const VkViewport vp{viewport_.x, viewport_.y, viewport_.width, viewport_.height, 0.0f, 1.0f};
    vkCmdSetViewport(currentCommandBuffer_, 0, 1, &vp);
    const VkRect2D scissor{{0, 0}, {static_cast<uint32_t>(width_), static_cast<uint32_t>(height_)}};
    vkCmdSetScissor(currentCommandBuffer_, 0, 1, &scissor);

    const VkDeviceSize offset = 0;
    vkCmdBindVertexBuffers(currentCommandBuffer_, 0, 1, &slot.vertices.buffer, &offset);
    vkCmdBindPipeline(currentCommandBuffer_, VK_PIPELINE_BIND_POINT_GRAPHICS, alphaPipeline_);
    startBatches(static_cast<Vertex*>(slot.vertices.mapped), kVerticesPerSlot);
    uploadPending_ = false;
    bakePending_ = false;
    frameActive_ = true;
    return true;
}

void VulkanRenderer::beginScreenPass() {
    VkClearValue clear{};
    clear.color = kClearColour;
    VkRenderPassBeginInfo pass{};
    pass.sType = VK_STRUCTURE_TYPE_RENDER_PASS_BEGIN_INFO;
    pass.renderPass = renderPass_;
    pass.framebuffer = framebuffers_[imageIndex_];
    pass.renderArea = {{0, 0}, swapchainExtent_};
    pass.clearValueCount = 1;
    pass.pClearValues = &clear;
    // Viewport and scissor are dynamic state the command buffer keeps across passes.
    vkCmdBeginRenderPass(currentCommandBuffer_, &pass, VK_SUBPASS_CONTENTS_INLINE);
    screenPassOpen_ = true;
}

void VulkanRenderer::finishRecording() {
    if (!frameActive_ || currentCommandBuffer_ == VK_NULL_HANDLE) return;
    flushBatch();
    stopBatches();
    if (!screenPassOpen_) beginScreenPass();  // nothing drawn: the frame is only cleared
    vkCmdEndRenderPass(currentCommandBuffer_);
    recordFrameCapture();
    vkEndCommandBuffer(currentCommandBuffer_);
    currentCommandBuffer_ = VK_NULL_HANDLE;
}

void VulkanRenderer::submitAndPresent() {
    if (!frameActive_) return;
    if (currentCommandBuffer_ != VK_NULL_HANDLE) finishRecording();
    frameActive_ = false;
    const uint32_t s = currentFrame_;
    FrameSlot& slot = slots_[s];

    // The overlay upload and the static layers' bakes, when there are any, run
    // first in the same submission.
    VkCommandBuffer buffers[3];
    uint32_t bufferCount = 0;
    if (uploadPending_) buffers[bufferCount++] = slot.upload;
    if (bakePending_) {
        vkEndCommandBuffer(slot.bake);
        buffers[bufferCount++] = slot.bake;
    }
    buffers[bufferCount++] = slot.frame;
    const VkPipelineStageFlags waitStage = VK_PIPELINE_STAGE_COLOR_ATTACHMENT_OUTPUT_BIT;
    VkSubmitInfo submit{};
    submit.sType = VK_STRUCTURE_TYPE_SUBMIT_INFO;
    // The window's own images need no acquire to wait for and no present to signal.
    const uint32_t semaphores = showsWindowPixels_ ? 0 : 1;
    submit.waitSemaphoreCount = semaphores;
    submit.pWaitSemaphores = &slot.imageAvailable;
    submit.pWaitDstStageMask = &waitStage;
    submit.commandBufferCount = bufferCount;
    submit.pCommandBuffers = buffers;
    submit.signalSemaphoreCount = semaphores;
    submit.pSignalSemaphores = &slot.renderFinished;
    uploadPending_ = false;
    bakePending_ = false;
    if (vkQueueSubmit(graphicsQueue_, 1, &submit, slot.inFlight) != VK_SUCCESS) {
        logVulkan("Failed to submit draw command buffer.");
        forgetKeptLayers();  // their bakes never ran
        recoverFromFailedSubmit();
        currentFrame_ = (currentFrame_ + 1) % kFramesInFlight;
        return;
    }
    lastSubmittedSlot_ = static_cast<int>(s);
    if (showsWindowPixels_) {
        showFinishedFrame();
        currentFrame_ = (currentFrame_ + 1) % kFramesInFlight;
        return;
    }

    VkPresentInfoKHR present{};
    present.sType = VK_STRUCTURE_TYPE_PRESENT_INFO_KHR;
    present.waitSemaphoreCount = 1;
    present.pWaitSemaphores = &slot.renderFinished;
    present.swapchainCount = 1;
    present.pSwapchains = &swapchain_;
    present.pImageIndices = &imageIndex_;
    const VkResult presented = vkQueuePresentKHR(presentQueue_, &present);
    if (presented == VK_ERROR_OUT_OF_DATE_KHR || presented == VK_SUBOPTIMAL_KHR) {
        rebuildSwapchain();
    }
    currentFrame_ = (currentFrame_ + 1) % kFramesInFlight;
}

// The slot's next frame must neither hang on a fence nothing will signal nor
// reuse a semaphore the acquire left signalled. The frame itself is not presented.
void VulkanRenderer::recoverFromFailedSubmit() {
    vkDeviceWaitIdle(device_);
    if (!slots_[currentFrame_].renewSync(device_)) {
        logVulkan("Failed to create synchronization primitives.");
    }
}

void VulkanRenderer::recordDraw(uint32_t firstVertex, uint32_t vertexCount) {
    if (currentCommandBuffer_ == VK_NULL_HANDLE) return;
    if (!baking_ && !screenPassOpen_) beginScreenPass();
    vkCmdDraw(currentCommandBuffer_, vertexCount, 1, firstVertex, 0);
}

void VulkanRenderer::recordPipelineBind(Pipeline pipeline) {
    if (currentCommandBuffer_ == VK_NULL_HANDLE) return;
    const VkPipeline handle = pipeline == Pipeline::Additive   ? additivePipeline_
                              : pipeline == Pipeline::Textured ? texturedPipeline_
                                                               : alphaPipeline_;
    vkCmdBindPipeline(currentCommandBuffer_, VK_PIPELINE_BIND_POINT_GRAPHICS, handle);
}

CanvasFraction VulkanRenderer::windowToCanvas(uint32_t x, uint32_t y) const {
    return nj::windowToCanvas(viewport_, x, y);
}

}  // namespace nj
