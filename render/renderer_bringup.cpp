// Renderer bring-up and tear-down: library, instance, surface, device, frame slots.

#include <dlfcn.h>

#include <cstdio>
#include <cstring>

#include "core/page_size.hpp"
#include "render/device_choice.hpp"
#include "render/device_handles.hpp"
#include "render/vulkan_log.hpp"
#include "render/vulkan_renderer.hpp"

namespace nj {

void logVulkan(const char* message) {
    std::fprintf(stderr, "[Vulkan] %s\n", message);
}

void logVulkan(const char* message, unsigned long number) {
    std::fprintf(stderr, "[Vulkan] %s%lu\n", message, number);
}

VulkanRenderer::~VulkanRenderer() {
    shutdown();
}

bool VulkanRenderer::init(const WindowSurface& window, int width, int height) {
    width_ = width < 1 ? 1280 : width;
    height_ = height < 1 ? 720 : height;

    if (!loadVulkanLibrary()) {
        logVulkan("Failed to load Vulkan library on host system.");
        return false;
    }
    if (!createInstance(window)) return false;
    if (!createSurface(window)) return false;
    if (!pickPhysicalDevice()) return false;
    if (!createDevice()) return false;
    showsWindowPixels_ = choosesWindowPixels(window);
    if (showsWindowPixels_) showPixels_ = window.showPixels;
    if (!buildSwapchain()) return false;
    if (!createRenderPass()) return false;
    if (!createFramebuffers()) return false;
    if (!createCommandPool()) return false;
    if (!createFrameSlots()) return false;
    if (!createLayouts()) return false;
    if (!createPipelines()) return false;
    // The page is laid out at its own size; the texture follows it when it changes.
    return createOverlayTexture(int(kPageWidth), int(kPageHeight));
}

bool VulkanRenderer::loadVulkanLibrary() {
    for (const char* name : {"libvulkan.so.1", "libvulkan.so"}) {
        vulkanLibrary_ = dlopen(name, RTLD_NOW | RTLD_LOCAL);
        if (vulkanLibrary_ != nullptr) break;
    }
    if (vulkanLibrary_ == nullptr) return false;
    auto getInstanceProcAddr =
        reinterpret_cast<PFN_vkGetInstanceProcAddr>(dlsym(vulkanLibrary_, "vkGetInstanceProcAddr"));
    if (getInstanceProcAddr == nullptr) return false;
    volkInitializeCustom(getInstanceProcAddr);
    return vkCreateInstance != nullptr && vkEnumerateInstanceExtensionProperties != nullptr;
}

bool VulkanRenderer::createInstance(const WindowSurface& window) {
    VkApplicationInfo app{};
    app.sType = VK_STRUCTURE_TYPE_APPLICATION_INFO;
    app.pApplicationName = "Nightjar: Glass Harbor";
    app.applicationVersion = VK_MAKE_VERSION(2, 0, 0);
    app.pEngineName = "Nightjar Cross-Platform Engine";
    app.engineVersion = VK_MAKE_VERSION(2, 0, 0);
    app.apiVersion = VK_API_VERSION_1_0;

    std::vector<const char*> extensions = {VK_KHR_SURFACE_EXTENSION_NAME};
    for (const std::string& name : window.instanceExtensions) {
        if (name != VK_KHR_SURFACE_EXTENSION_NAME) extensions.push_back(name.c_str());
    }

    VkInstanceCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_INSTANCE_CREATE_INFO;
    info.pApplicationInfo = &app;
    info.enabledExtensionCount = static_cast<uint32_t>(extensions.size());
    info.ppEnabledExtensionNames = extensions.data();
    if (vkCreateInstance(&info, nullptr, &instance_) != VK_SUCCESS) {
        instance_ = VK_NULL_HANDLE;
        logVulkan("Failed to create VkInstance.");
        return false;
    }
    volkLoadInstanceOnly(instance_);
    return true;
}

bool VulkanRenderer::createSurface(const WindowSurface& window) {
    if (window.createSurface) surface_ = window.createSurface(instance_);
    if (surface_ == VK_NULL_HANDLE) {
        logVulkan("Failed to create window surface.");
        return false;
    }
    return true;
}

bool VulkanRenderer::pickPhysicalDevice() {
    uint32_t count = 0;
    vkEnumeratePhysicalDevices(instance_, &count, nullptr);
    if (count == 0) {
        logVulkan("No physical GPUs found with Vulkan support.");
        return false;
    }
    std::vector<VkPhysicalDevice> devices(count);
    vkEnumeratePhysicalDevices(instance_, &count, devices.data());
    devices.resize(count);

    std::vector<DeviceCandidate> candidates(devices.size());
    for (size_t d = 0; d < devices.size(); ++d) {
        uint32_t familyCount = 0;
        vkGetPhysicalDeviceQueueFamilyProperties(devices[d], &familyCount, nullptr);
        std::vector<VkQueueFamilyProperties> families(familyCount);
        vkGetPhysicalDeviceQueueFamilyProperties(devices[d], &familyCount, families.data());
        for (uint32_t i = 0; i < familyCount; ++i) {
            VkBool32 present = VK_FALSE;
            vkGetPhysicalDeviceSurfaceSupportKHR(devices[d], i, surface_, &present);
            candidates[d].families.push_back(
                {(families[i].queueFlags & VK_QUEUE_GRAPHICS_BIT) != 0, present == VK_TRUE});
        }
        VkPhysicalDeviceProperties props{};
        vkGetPhysicalDeviceProperties(devices[d], &props);
        candidates[d].type = props.deviceType;
    }
    const auto choice = chooseDevice(candidates);
    if (!choice) {
        logVulkan("Failed to find suitable GPU supporting graphics and presentation.");
        return false;
    }
    physicalDevice_ = devices[choice->device];
    graphicsFamily_ = choice->families.graphics;
    presentFamily_ = choice->families.present;
    return true;
}

bool VulkanRenderer::createDevice() {
    const float priority = 1.0f;
    std::vector<VkDeviceQueueCreateInfo> queues;
    for (uint32_t family : {graphicsFamily_, presentFamily_}) {
        if (!queues.empty() && queues.front().queueFamilyIndex == family) continue;
        VkDeviceQueueCreateInfo q{};
        q.sType = VK_STRUCTURE_TYPE_DEVICE_QUEUE_CREATE_INFO;
        q.queueFamilyIndex = family;
        q.queueCount = 1;
        q.pQueuePriorities = &priority;
        queues.push_back(q);
    }
    const char* extensions[] = {VK_KHR_SWAPCHAIN_EXTENSION_NAME};
    VkPhysicalDeviceFeatures features{};

    VkDeviceCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_DEVICE_CREATE_INFO;
    info.queueCreateInfoCount = static_cast<uint32_t>(queues.size());
    info.pQueueCreateInfos = queues.data();
    info.enabledExtensionCount = 1;
    info.ppEnabledExtensionNames = extensions;
    info.pEnabledFeatures = &features;
    if (vkCreateDevice(physicalDevice_, &info, nullptr, &device_) != VK_SUCCESS) {
        device_ = VK_NULL_HANDLE;
        logVulkan("Failed to create logical VkDevice.");
        return false;
    }
    volkLoadDevice(device_);
    vkGetDeviceQueue(device_, graphicsFamily_, 0, &graphicsQueue_);
    vkGetDeviceQueue(device_, presentFamily_, 0, &presentQueue_);
    return true;
}

bool VulkanRenderer::createCommandPool() {
    VkCommandPoolCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_COMMAND_POOL_CREATE_INFO;
    info.flags = VK_COMMAND_POOL_CREATE_RESET_COMMAND_BUFFER_BIT;
    info.queueFamilyIndex = graphicsFamily_;
    if (vkCreateCommandPool(device_, &info, nullptr, &commandPool_) != VK_SUCCESS) {
        commandPool_ = VK_NULL_HANDLE;
        logVulkan("Failed to create command pool.");
        return false;
    }
    return true;
}

bool VulkanRenderer::createFrameSlots() {
    for (FrameSlot& slot : slots_) {
        if (!slot.create(device_, physicalDevice_, commandPool_)) return false;
    }
    return true;
}

void VulkanRenderer::shutdown() {
    stopBatches();
    frameActive_ = false;
    currentCommandBuffer_ = VK_NULL_HANDLE;
    if (device_ != VK_NULL_HANDLE) {
        vkDeviceWaitIdle(device_);
        releaseDeviceObjects();
    }
    releaseInstance();
}

// The reverse of init's order; the static layers, made as frames first ask
// for them, go first.
void VulkanRenderer::releaseDeviceObjects() {
    destroyStaticLayer();
    destroyOverlayTexture();
    destroyOverlaySets();
    destroyPipelines();
    destroyLayouts();
    destroyFrameSlots();
    destroyCommandPool();
    destroyFramebuffers();
    destroyRenderPasses();
    destroySwapchain();
    destroyDevice();
}

void VulkanRenderer::destroyFrameSlots() {
    for (FrameSlot& slot : slots_) slot.destroy(device_, commandPool_);
    lastSubmittedSlot_ = -1;
    unshownSlot_ = -1;
}

void VulkanRenderer::destroyCommandPool() {
    release(device_, commandPool_, vkDestroyCommandPool);
}

void VulkanRenderer::destroyDevice() {
    vkDestroyDevice(device_, nullptr);
    device_ = VK_NULL_HANDLE;
    graphicsQueue_ = VK_NULL_HANDLE;
    presentQueue_ = VK_NULL_HANDLE;
}

void VulkanRenderer::releaseInstance() {
    if (instance_ != VK_NULL_HANDLE && surface_ != VK_NULL_HANDLE) {
        vkDestroySurfaceKHR(instance_, surface_, nullptr);
    }
    surface_ = VK_NULL_HANDLE;
    if (instance_ != VK_NULL_HANDLE) vkDestroyInstance(instance_, nullptr);
    instance_ = VK_NULL_HANDLE;
    physicalDevice_ = VK_NULL_HANDLE;
    if (vulkanLibrary_ != nullptr) dlclose(vulkanLibrary_);
    vulkanLibrary_ = nullptr;
}

}  // namespace nj
