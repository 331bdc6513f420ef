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
    vkWaitForFences(device_, 1, &inFlight_[s], VK_TRUE, UINT64_MAX);
    collectCoverage(s);

    if (showsWindowPixels_) {
        imageIndex_ = s;  // each slot draws into its own image
    } else {
        const VkResult acquired = vkAcquireNextImageKHR(
            device_, swapchain_, UINT64_MAX, imageAvailable_[s], VK_NULL_HANDLE, &imageIndex_);
        if (acquired == VK_ERROR_OUT_OF_DATE_KHR) {
            rebuildSwapchain();
            return false;
        }
        if (acquired != VK_SUCCESS && acquired != VK_SUBOPTIMAL_KHR) return false;
    }

    vkResetFences(device_, 1, &inFlight_[s]);
    currentCommandBuffer_ = commandBuffers_[s];
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
    vkCmdBindVertexBuffers(currentCommandBuffer_, 0, 1, &vertexBuffers_[s].buffer, &offset);
    vkCmdBindPipeline(currentCommandBuffer_, VK_PIPELINE_BIND_POINT_GRAPHICS, alphaPipeline_);
    startBatches(static_cast<Vertex*>(vertexBuffers_[s].mapped), kVerticesPerSlot);
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

    // The overlay upload and the static layers' bakes, when there are any, run
    // first in the same submission.
    VkCommandBuffer buffers[3];
    uint32_t bufferCount = 0;
    if (uploadPending_) buffers[bufferCount++] = uploadCommandBuffers_[s];
    if (bakePending_) {
        vkEndCommandBuffer(bakeCommandBuffers_[s]);
        buffers[bufferCount++] = bakeCommandBuffers_[s];
    }
    buffers[bufferCount++] = commandBuffers_[s];
    const VkPipelineStageFlags waitStage = VK_PIPELINE_STAGE_COLOR_ATTACHMENT_OUTPUT_BIT;
    VkSubmitInfo submit{};
    submit.sType = VK_STRUCTURE_TYPE_SUBMIT_INFO;
    // The window's own images need no acquire to wait for and no present to signal.
    const uint32_t semaphores = showsWindowPixels_ ? 0 : 1;
    submit.waitSemaphoreCount = semaphores;
    submit.pWaitSemaphores = &imageAvailable_[s];
    submit.pWaitDstStageMask = &waitStage;
    submit.commandBufferCount = bufferCount;
    submit.pCommandBuffers = buffers;
    submit.signalSemaphoreCount = semaphores;
    submit.pSignalSemaphores = &renderFinished_[s];
    uploadPending_ = false;
    bakePending_ = false;
    if (vkQueueSubmit(graphicsQueue_, 1, &submit, inFlight_[s]) != VK_SUCCESS) {
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
    present.pWaitSemaphores = &renderFinished_[s];
    present.swapchainCount = 1;
    present.pSwapchains = &swapchain_;
    present.pImageIndices = &imageIndex_;
    const VkResult presented = vkQueuePresentKHR(presentQueue_, &present);
    if (presented == VK_ERROR_OUT_OF_DATE_KHR || presented == VK_SUBOPTIMAL_KHR) {
        rebuildSwapchain();
    }
    currentFrame_ = (currentFrame_ + 1) % kFramesInFlight;
}

// Nothing was submitted, so nothing will signal this slot's fence or wait on its
// image-available semaphore, which the acquire signalled: replace both so the
// slot's next frame neither hangs nor reuses a signalled semaphore. The frame
// itself is not presented.
void VulkanRenderer::recoverFromFailedSubmit() {
    const uint32_t s = currentFrame_;
    vkDeviceWaitIdle(device_);
    vkDestroySemaphore(device_, imageAvailable_[s], nullptr);
    vkDestroyFence(device_, inFlight_[s], nullptr);
    imageAvailable_[s] = VK_NULL_HANDLE;
    inFlight_[s] = VK_NULL_HANDLE;
    VkSemaphoreCreateInfo semaphore{};
    semaphore.sType = VK_STRUCTURE_TYPE_SEMAPHORE_CREATE_INFO;
    VkFenceCreateInfo fence{};
    fence.sType = VK_STRUCTURE_TYPE_FENCE_CREATE_INFO;
    fence.flags = VK_FENCE_CREATE_SIGNALED_BIT;
    vkCreateSemaphore(device_, &semaphore, nullptr, &imageAvailable_[s]);
    vkCreateFence(device_, &fence, nullptr, &inFlight_[s]);
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
