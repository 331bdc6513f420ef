// The images the renderer draws from rather than into the screen: the page's
// bitmap and the kept floor. Each is an image with its
// memory and view (and a framebuffer when it is drawn into), sampled through a
// descriptor set of the textured pipelines' layout.

#include "render/vulkan_renderer.hpp"

namespace nj {

bool VulkanRenderer::createPicture(uint32_t width, uint32_t height, VkFormat format,
                                   VkImageUsageFlags usage, VkRenderPass pass, Picture& out,
                                   PictureMemory memory) {
    const bool host = memory == PictureMemory::Host;
    VkImageCreateInfo image{};
    image.sType = VK_STRUCTURE_TYPE_IMAGE_CREATE_INFO;
    image.imageType = VK_IMAGE_TYPE_2D;
    image.format = format;
    image.extent = {width, height, 1};
    image.mipLevels = 1;
    image.arrayLayers = 1;
    image.samples = VK_SAMPLE_COUNT_1_BIT;
    image.tiling = host ? VK_IMAGE_TILING_LINEAR : VK_IMAGE_TILING_OPTIMAL;
    image.usage = usage;
    image.sharingMode = VK_SHARING_MODE_EXCLUSIVE;
    image.initialLayout = VK_IMAGE_LAYOUT_UNDEFINED;
    if (vkCreateImage(device_, &image, nullptr, &out.image) != VK_SUCCESS) {
        out.image = VK_NULL_HANDLE;
        return false;
    }
    VkMemoryRequirements needs{};
    vkGetImageMemoryRequirements(device_, out.image, &needs);
    out.memory = allocateMemory(
        device_, physicalDevice_, needs,
        host ? VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT
             : VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT);
    if (out.memory == VK_NULL_HANDLE) return false;
    vkBindImageMemory(device_, out.image, out.memory, 0);

    VkImageViewCreateInfo view{};
    view.sType = VK_STRUCTURE_TYPE_IMAGE_VIEW_CREATE_INFO;
    view.image = out.image;
    view.viewType = VK_IMAGE_VIEW_TYPE_2D;
    view.format = format;
    view.subresourceRange = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 1, 0, 1};
    if (vkCreateImageView(device_, &view, nullptr, &out.view) != VK_SUCCESS) {
        out.view = VK_NULL_HANDLE;
        return false;
    }
    if (pass == VK_NULL_HANDLE) return true;

    VkFramebufferCreateInfo framebuffer{};
    framebuffer.sType = VK_STRUCTURE_TYPE_FRAMEBUFFER_CREATE_INFO;
    framebuffer.renderPass = pass;
    framebuffer.attachmentCount = 1;
    framebuffer.pAttachments = &out.view;
    framebuffer.width = width;
    framebuffer.height = height;
    framebuffer.layers = 1;
    if (vkCreateFramebuffer(device_, &framebuffer, nullptr, &out.framebuffer) != VK_SUCCESS) {
        out.framebuffer = VK_NULL_HANDLE;
        return false;
    }
    return true;
}

void VulkanRenderer::destroyPicture(Picture& picture) {
    if (device_ == VK_NULL_HANDLE) return;
    if (picture.framebuffer) vkDestroyFramebuffer(device_, picture.framebuffer, nullptr);
    if (picture.view) vkDestroyImageView(device_, picture.view, nullptr);
    if (picture.image) vkDestroyImage(device_, picture.image, nullptr);
    if (picture.memory) vkFreeMemory(device_, picture.memory, nullptr);
    picture = Picture{};
}

VkSampler VulkanRenderer::createSampler(VkFilter filter) {
    VkSamplerCreateInfo sampler{};
    sampler.sType = VK_STRUCTURE_TYPE_SAMPLER_CREATE_INFO;
    sampler.magFilter = filter;
    sampler.minFilter = filter;
    sampler.mipmapMode = VK_SAMPLER_MIPMAP_MODE_NEAREST;  // one level: no mipmaps to choose from
    sampler.addressModeU = VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
    sampler.addressModeV = VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
    sampler.addressModeW = VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
    sampler.maxAnisotropy = 1.0f;
    sampler.compareOp = VK_COMPARE_OP_ALWAYS;
    sampler.borderColor = VK_BORDER_COLOR_INT_OPAQUE_BLACK;
    VkSampler made = VK_NULL_HANDLE;
    if (vkCreateSampler(device_, &sampler, nullptr, &made) != VK_SUCCESS) return VK_NULL_HANDLE;
    return made;
}

VkDescriptorPool VulkanRenderer::createTexturePool(uint32_t sets) {
    const VkDescriptorPoolSize size{VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER, sets};
    VkDescriptorPoolCreateInfo pool{};
    pool.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_POOL_CREATE_INFO;
    pool.maxSets = sets;
    pool.poolSizeCount = 1;
    pool.pPoolSizes = &size;
    VkDescriptorPool made = VK_NULL_HANDLE;
    if (vkCreateDescriptorPool(device_, &pool, nullptr, &made) != VK_SUCCESS) return VK_NULL_HANDLE;
    return made;
}

VkDescriptorSet VulkanRenderer::allocateTextureSet(VkDescriptorPool pool) {
    VkDescriptorSetAllocateInfo set{};
    set.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_SET_ALLOCATE_INFO;
    set.descriptorPool = pool;
    set.descriptorSetCount = 1;
    set.pSetLayouts = &overlaySetLayout_;
    VkDescriptorSet made = VK_NULL_HANDLE;
    if (vkAllocateDescriptorSets(device_, &set, &made) != VK_SUCCESS) return VK_NULL_HANDLE;
    return made;
}

void VulkanRenderer::writeTextureSet(VkDescriptorSet set, VkSampler sampler, VkImageView view) {
    const VkDescriptorImageInfo texture{sampler, view, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL};
    VkWriteDescriptorSet write{};
    write.sType = VK_STRUCTURE_TYPE_WRITE_DESCRIPTOR_SET;
    write.dstSet = set;
    write.dstBinding = 0;
    write.descriptorCount = 1;
    write.descriptorType = VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER;
    write.pImageInfo = &texture;
    vkUpdateDescriptorSets(device_, 1, &write, 0, nullptr);
}

void VulkanRenderer::bindTexture(VkPipeline pipeline, VkDescriptorSet set) {
    flushBatch();
    vkCmdBindPipeline(currentCommandBuffer_, VK_PIPELINE_BIND_POINT_GRAPHICS, pipeline);
    vkCmdBindDescriptorSets(currentCommandBuffer_, VK_PIPELINE_BIND_POINT_GRAPHICS, pipelineLayout_,
                            1, 1, &set, 0, nullptr);
}

void VulkanRenderer::pushTexturedRect(float x0, float y0, float x1, float y1, float u0, float v0,
                                      float u1, float v1) {
    const Color white{1.0f, 1.0f, 1.0f, 1.0f};
    const Vertex tl{x0, y0, white, u0, v0};
    const Vertex tr{x1, y0, white, u1, v0};
    const Vertex br{x1, y1, white, u1, v1};
    const Vertex bl{x0, y1, white, u0, v1};
    pushTriangle(tl, tr, br);
    pushTriangle(tl, br, bl);
}

void VulkanRenderer::unbindTexture() {
    flushBatch();
    bindBatchPipeline();
}

void VulkanRenderer::drawCanvasPicture(VkDescriptorSet set) {
    bindTexture(copyPipeline_, set);
    pushTexturedRect(0.0f, 0.0f, kCanvasWidth, kCanvasHeight, 0.0f, 0.0f, 1.0f, 1.0f);
    unbindTexture();
}

void VulkanRenderer::beginPicturePass(VkCommandBuffer cb, const Picture& picture, uint32_t width,
                                      uint32_t height, const VkClearColorValue& background) {
    VkClearValue clear{};
    clear.color = background;
    VkRenderPassBeginInfo pass{};
    pass.sType = VK_STRUCTURE_TYPE_RENDER_PASS_BEGIN_INFO;
    pass.renderPass = picturePass_;
    pass.framebuffer = picture.framebuffer;
    pass.renderArea = {{0, 0}, {width, height}};
    pass.clearValueCount = 1;
    pass.pClearValues = &clear;
    vkCmdBeginRenderPass(cb, &pass, VK_SUBPASS_CONTENTS_INLINE);
    const VkViewport vp{0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height),
                        0.0f, 1.0f};
    vkCmdSetViewport(cb, 0, 1, &vp);
    const VkRect2D scissor{{0, 0}, {width, height}};
    vkCmdSetScissor(cb, 0, 1, &scissor);
}

void VulkanRenderer::endPicturePass(VkCommandBuffer cb) {
    vkCmdEndRenderPass(cb);
    VkMemoryBarrier written{};
    written.sType = VK_STRUCTURE_TYPE_MEMORY_BARRIER;
    written.srcAccessMask = VK_ACCESS_COLOR_ATTACHMENT_WRITE_BIT;
    written.dstAccessMask = VK_ACCESS_SHADER_READ_BIT;
    vkCmdPipelineBarrier(cb, VK_PIPELINE_STAGE_COLOR_ATTACHMENT_OUTPUT_BIT,
                         VK_PIPELINE_STAGE_FRAGMENT_SHADER_BIT, 0, 1, &written, 0, nullptr, 0,
                         nullptr);
}

}  // namespace nj
