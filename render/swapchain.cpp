// The swapchain with its views and framebuffers, rebuilt in place, and the render pass.

#include "render/device_choice.hpp"
#include "render/device_handles.hpp"
#include "render/vulkan_log.hpp"
#include "render/vulkan_renderer.hpp"

namespace nj {

bool VulkanRenderer::buildSwapchain() {
    if (showsWindowPixels_) return buildWindowImages();
    VkSurfaceCapabilitiesKHR caps{};
    vkGetPhysicalDeviceSurfaceCapabilitiesKHR(physicalDevice_, surface_, &caps);
    uint32_t formatCount = 0;
    vkGetPhysicalDeviceSurfaceFormatsKHR(physicalDevice_, surface_, &formatCount, nullptr);
    std::vector<VkSurfaceFormatKHR> formats(formatCount);
    vkGetPhysicalDeviceSurfaceFormatsKHR(physicalDevice_, surface_, &formatCount, formats.data());
    formats.resize(formatCount);

    surfaceFormat_ = chooseSurfaceFormat(formats);
    const VkExtent2D extent = chooseSwapExtent(caps, width_, height_);
    // A minimised window has no area; there is nothing to build until it comes
    // back, and the next frame tries again.
    if (extent.width == 0 || extent.height == 0) return false;
    swapchainExtent_ = extent;
    width_ = static_cast<int>(swapchainExtent_.width);
    height_ = static_cast<int>(swapchainExtent_.height);

    // Screenshots copy out of the presented image, so ask for that when offered.
    swapchainReadable_ = (caps.supportedUsageFlags & VK_IMAGE_USAGE_TRANSFER_SRC_BIT) != 0;
    swapchainWritable_ = (caps.supportedUsageFlags & VK_IMAGE_USAGE_TRANSFER_DST_BIT) != 0;
    const uint32_t families[] = {graphicsFamily_, presentFamily_};

    VkSwapchainCreateInfoKHR info{};
    info.sType = VK_STRUCTURE_TYPE_SWAPCHAIN_CREATE_INFO_KHR;
    info.surface = surface_;
    info.minImageCount = chooseImageCount(caps);
    info.imageFormat = surfaceFormat_.format;
    info.imageColorSpace = surfaceFormat_.colorSpace;
    info.imageExtent = swapchainExtent_;
    info.imageArrayLayers = 1;
    info.imageUsage = VK_IMAGE_USAGE_COLOR_ATTACHMENT_BIT;
    if (swapchainReadable_) info.imageUsage |= VK_IMAGE_USAGE_TRANSFER_SRC_BIT;
    if (swapchainWritable_) info.imageUsage |= VK_IMAGE_USAGE_TRANSFER_DST_BIT;
    if (graphicsFamily_ != presentFamily_) {
        info.imageSharingMode = VK_SHARING_MODE_CONCURRENT;
        info.queueFamilyIndexCount = 2;
        info.pQueueFamilyIndices = families;
    } else {
        info.imageSharingMode = VK_SHARING_MODE_EXCLUSIVE;
    }
    info.preTransform = caps.currentTransform;
    info.compositeAlpha = VK_COMPOSITE_ALPHA_OPAQUE_BIT_KHR;
    info.presentMode = VK_PRESENT_MODE_FIFO_KHR;
    info.clipped = VK_TRUE;
    info.oldSwapchain = VK_NULL_HANDLE;
    if (vkCreateSwapchainKHR(device_, &info, nullptr, &swapchain_) != VK_SUCCESS) {
        swapchain_ = VK_NULL_HANDLE;
        logVulkan("Failed to create Swapchain.");
        return false;
    }

    uint32_t imageCount = 0;
    vkGetSwapchainImagesKHR(device_, swapchain_, &imageCount, nullptr);
    swapchainImages_.resize(imageCount);
    vkGetSwapchainImagesKHR(device_, swapchain_, &imageCount, swapchainImages_.data());
    swapchainImages_.resize(imageCount);

    for (uint32_t i = 0; i < imageCount; ++i) {
        VkImageViewCreateInfo view{};
        view.sType = VK_STRUCTURE_TYPE_IMAGE_VIEW_CREATE_INFO;
        view.image = swapchainImages_[i];
        view.viewType = VK_IMAGE_VIEW_TYPE_2D;
        view.format = surfaceFormat_.format;
        view.components = {VK_COMPONENT_SWIZZLE_IDENTITY, VK_COMPONENT_SWIZZLE_IDENTITY,
                           VK_COMPONENT_SWIZZLE_IDENTITY, VK_COMPONENT_SWIZZLE_IDENTITY};
        view.subresourceRange = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 1, 0, 1};
        VkImageView handle = VK_NULL_HANDLE;
        if (vkCreateImageView(device_, &view, nullptr, &handle) != VK_SUCCESS) {
            logVulkan("Failed to create swapchain image view ", i);
            return false;
        }
        swapchainImageViews_.push_back(handle);
    }
    return true;
}

void VulkanRenderer::destroyFramebuffers() {
    for (VkFramebuffer fb : framebuffers_) vkDestroyFramebuffer(device_, fb, nullptr);
    framebuffers_.clear();
}

// With its framebuffers, which stand on its views.
void VulkanRenderer::destroySwapchain() {
    destroyFramebuffers();
    for (VkImageView view : swapchainImageViews_) vkDestroyImageView(device_, view, nullptr);
    swapchainImageViews_.clear();
    if (showsWindowPixels_) destroyWindowImages();
    if (swapchain_ != VK_NULL_HANDLE) vkDestroySwapchainKHR(device_, swapchain_, nullptr);
    swapchain_ = VK_NULL_HANDLE;
    swapchainImages_.clear();
}

bool VulkanRenderer::rebuildSwapchain() {
    if (device_ == VK_NULL_HANDLE || width_ < 1 || height_ < 1) return false;
    vkDeviceWaitIdle(device_);
    destroySwapchain();
    return buildSwapchain() && createFramebuffers();
}

void VulkanRenderer::resize(int width, int height) {
    if (width <= 0 || height <= 0) return;
    width_ = width;
    height_ = height;
    rebuildSwapchain();
}

bool VulkanRenderer::createRenderPass() {
    if (!createColourPass(VK_IMAGE_LAYOUT_PRESENT_SRC_KHR, renderPass_)) {
        renderPass_ = VK_NULL_HANDLE;
        logVulkan("Failed to create RenderPass.");
        return false;
    }
    // Without it the floor is simply not kept.
    if (!createColourPass(VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL, picturePass_)) {
        picturePass_ = VK_NULL_HANDLE;
    }
    // Without it the kept floor is drawn as a picture instead of copied.
    if (!createColourPass(VK_IMAGE_LAYOUT_PRESENT_SRC_KHR, screenLoadPass_, true)) {
        screenLoadPass_ = VK_NULL_HANDLE;
    }
    return true;
}

void VulkanRenderer::destroyRenderPasses() {
    for (VkRenderPass* pass : {&screenLoadPass_, &picturePass_, &renderPass_}) {
        release(device_, *pass, vkDestroyRenderPass);
    }
}

// Everything but the final layout (and, for a pass reopened on what it holds,
// the load) is the same for every pass, so the pipelines made for the screen's
// pass draw into the others too.
bool VulkanRenderer::createColourPass(VkImageLayout finalLayout, VkRenderPass& out,
                                      bool keepContents) {
    VkAttachmentDescription colour{};
    colour.format = surfaceFormat_.format;
    colour.samples = VK_SAMPLE_COUNT_1_BIT;
    colour.loadOp = keepContents ? VK_ATTACHMENT_LOAD_OP_LOAD : VK_ATTACHMENT_LOAD_OP_CLEAR;
    colour.storeOp = VK_ATTACHMENT_STORE_OP_STORE;
    colour.stencilLoadOp = VK_ATTACHMENT_LOAD_OP_DONT_CARE;
    colour.stencilStoreOp = VK_ATTACHMENT_STORE_OP_DONT_CARE;
    colour.initialLayout =
        keepContents ? VK_IMAGE_LAYOUT_COLOR_ATTACHMENT_OPTIMAL : VK_IMAGE_LAYOUT_UNDEFINED;
    colour.finalLayout = finalLayout;

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
    // The same dependency for every pass, or the passes stop being compatible;
    // a reopened pass's reads are covered by the barrier after its copy.
    dependency.dstAccessMask = VK_ACCESS_COLOR_ATTACHMENT_WRITE_BIT;

    VkRenderPassCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_RENDER_PASS_CREATE_INFO;
    info.attachmentCount = 1;
    info.pAttachments = &colour;
    info.subpassCount = 1;
    info.pSubpasses = &subpass;
    info.dependencyCount = 1;
    info.pDependencies = &dependency;
    if (vkCreateRenderPass(device_, &info, nullptr, &out) != VK_SUCCESS) {
        out = VK_NULL_HANDLE;
        return false;
    }
    return true;
}

bool VulkanRenderer::createFramebuffers() {
    for (size_t i = 0; i < swapchainImageViews_.size(); ++i) {
        VkFramebufferCreateInfo info{};
        info.sType = VK_STRUCTURE_TYPE_FRAMEBUFFER_CREATE_INFO;
        info.renderPass = renderPass_;
        info.attachmentCount = 1;
        info.pAttachments = &swapchainImageViews_[i];
        info.width = swapchainExtent_.width;
        info.height = swapchainExtent_.height;
        info.layers = 1;
        VkFramebuffer fb = VK_NULL_HANDLE;
        if (vkCreateFramebuffer(device_, &info, nullptr, &fb) != VK_SUCCESS) {
            logVulkan("Failed to create Framebuffer ", i);
            return false;
        }
        framebuffers_.push_back(fb);
    }
    return true;
}

}  // namespace nj
