// A frame slot on lavapipe under the validation layer: a slot that leaks, releases twice or
// waits on a fence nothing will signal shows here, not as a hang at the end of a game run.
#include "render/frame_slot.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace {

// Everything the validation layer says, warnings and errors.
VKAPI_ATTR VkBool32 VKAPI_CALL collect(VkDebugUtilsMessageSeverityFlagBitsEXT,
                                       VkDebugUtilsMessageTypeFlagsEXT,
                                       const VkDebugUtilsMessengerCallbackDataEXT* data,
                                       void* said) {
    *static_cast<std::string*>(said) += std::string(data->pMessage) + "\n";
    return VK_FALSE;
}

struct Device {
    VkInstance instance = VK_NULL_HANDLE;
    VkDebugUtilsMessengerEXT messenger = VK_NULL_HANDLE;
    VkPhysicalDevice physical = VK_NULL_HANDLE;
    VkDevice device = VK_NULL_HANDLE;
    VkCommandPool pool = VK_NULL_HANDLE;
};

bool bringUp(Device& d, std::string& said) {
    const char* lavapipe = "/usr/share/vulkan/icd.d/lvp_icd.x86_64.json";
    if (std::filesystem::exists(lavapipe)) setenv("VK_ICD_FILENAMES", lavapipe, 0);
    if (volkInitialize() != VK_SUCCESS) return false;
    VkDebugUtilsMessengerCreateInfoEXT listen{};
    listen.sType = VK_STRUCTURE_TYPE_DEBUG_UTILS_MESSENGER_CREATE_INFO_EXT;
    listen.messageSeverity = VK_DEBUG_UTILS_MESSAGE_SEVERITY_WARNING_BIT_EXT |
                             VK_DEBUG_UTILS_MESSAGE_SEVERITY_ERROR_BIT_EXT;
    listen.messageType = VK_DEBUG_UTILS_MESSAGE_TYPE_GENERAL_BIT_EXT |
                         VK_DEBUG_UTILS_MESSAGE_TYPE_VALIDATION_BIT_EXT;
    listen.pfnUserCallback = collect;
    listen.pUserData = &said;
    const char* layer = "VK_LAYER_KHRONOS_validation";
    const char* extension = VK_EXT_DEBUG_UTILS_EXTENSION_NAME;
    VkInstanceCreateInfo instance{};
    instance.sType = VK_STRUCTURE_TYPE_INSTANCE_CREATE_INFO;
    instance.enabledLayerCount = 1;
    instance.ppEnabledLayerNames = &layer;
    instance.enabledExtensionCount = 1;
    instance.ppEnabledExtensionNames = &extension;
    if (vkCreateInstance(&instance, nullptr, &d.instance) != VK_SUCCESS) return false;
    volkLoadInstanceOnly(d.instance);
    if (vkCreateDebugUtilsMessengerEXT(d.instance, &listen, nullptr, &d.messenger) != VK_SUCCESS)
        return false;

    uint32_t count = 1;
    vkEnumeratePhysicalDevices(d.instance, &count, &d.physical);
    if (count == 0) return false;
    const float priority = 1.0f;
    VkDeviceQueueCreateInfo queue{};  // lavapipe's one family draws
    queue.sType = VK_STRUCTURE_TYPE_DEVICE_QUEUE_CREATE_INFO;
    queue.queueCount = 1;
    queue.pQueuePriorities = &priority;
    VkDeviceCreateInfo device{};
    device.sType = VK_STRUCTURE_TYPE_DEVICE_CREATE_INFO;
    device.queueCreateInfoCount = 1;
    device.pQueueCreateInfos = &queue;
    if (vkCreateDevice(d.physical, &device, nullptr, &d.device) != VK_SUCCESS) return false;
    volkLoadDevice(d.device);
    VkCommandPoolCreateInfo pool{};
    pool.sType = VK_STRUCTURE_TYPE_COMMAND_POOL_CREATE_INFO;
    pool.flags = VK_COMMAND_POOL_CREATE_RESET_COMMAND_BUFFER_BIT;
    return vkCreateCommandPool(d.device, &pool, nullptr, &d.pool) == VK_SUCCESS;
}

// What the validation layer said while `use` ran on a fresh device, objects left alive included.
std::string onDevice(const std::function<void(const Device&)>& use) {
    std::string said;
    Device d;
    if (bringUp(d, said)) {
        use(d);
    } else {
        ADD_FAILURE() << "no Vulkan device with the validation layer";
    }
    if (d.pool != VK_NULL_HANDLE) vkDestroyCommandPool(d.device, d.pool, nullptr);
    if (d.device != VK_NULL_HANDLE) vkDestroyDevice(d.device, nullptr);
    if (d.messenger != VK_NULL_HANDLE)
        vkDestroyDebugUtilsMessengerEXT(d.instance, d.messenger, nullptr);
    if (d.instance != VK_NULL_HANDLE) vkDestroyInstance(d.instance, nullptr);
    return said;
}

bool holdsNothing(const nj::FrameSlot& s) {
    return s.upload == VK_NULL_HANDLE && s.bake == VK_NULL_HANDLE && s.frame == VK_NULL_HANDLE &&
           s.imageAvailable == VK_NULL_HANDLE && s.renderFinished == VK_NULL_HANDLE &&
           s.inFlight == VK_NULL_HANDLE && s.vertices.buffer == VK_NULL_HANDLE &&
           s.vertices.memory == VK_NULL_HANDLE && s.vertices.mapped == nullptr &&
           s.overlayStaging.buffer == VK_NULL_HANDLE && s.capture.buffer == VK_NULL_HANDLE &&
           !s.captured;
}

// However far a slot got, destroy leaves nothing behind and an empty slot for a second destroy
// (shutdown called again); the page's staging and a screenshot copy are the game runs'.
TEST(FrameSlot, DestroyReleasesWhateverTheSlotHolds) {
    const auto commandBuffersAndASemaphore = [](const Device& d, nj::FrameSlot& slot) {
        VkCommandBufferAllocateInfo info{};
        info.sType = VK_STRUCTURE_TYPE_COMMAND_BUFFER_ALLOCATE_INFO;
        info.commandPool = d.pool;
        info.level = VK_COMMAND_BUFFER_LEVEL_PRIMARY;
        info.commandBufferCount = 1;
        vkAllocateCommandBuffers(d.device, &info, &slot.bake);
        VkSemaphoreCreateInfo semaphore{};
        semaphore.sType = VK_STRUCTURE_TYPE_SEMAPHORE_CREATE_INFO;
        vkCreateSemaphore(d.device, &semaphore, nullptr, &slot.renderFinished);
    };
    const struct {
        const char* name;
        std::function<void(const Device&, nj::FrameSlot&)> fill;
    } cases[] = {
        {"made", [](const Device& d, nj::FrameSlot& s) { s.create(d.device, d.physical, d.pool); }},
        {"half made", commandBuffersAndASemaphore},
        {"never made", [](const Device&, nj::FrameSlot&) {}},
    };
    for (const auto& c : cases) {
        const std::string said = onDevice([&](const Device& d) {
            nj::FrameSlot slot;
            c.fill(d, slot);
            slot.destroy(d.device, d.pool);
            EXPECT_TRUE(holdsNothing(slot)) << c.name;
            slot.destroy(d.device, d.pool);
        });
        EXPECT_EQ(said, "") << c.name;
    }
}

// A submission that failed leaves the fence unsignalled for good.
TEST(FrameSlot, RenewedAfterAFailedSubmissionTheNextFrameDoesNotWaitForever) {
    const std::string said = onDevice([](const Device& d) {
        nj::FrameSlot slot;
        ASSERT_TRUE(slot.create(d.device, d.physical, d.pool));
        vkResetFences(d.device, 1, &slot.inFlight);  // as beginFrame leaves it
        ASSERT_TRUE(slot.renewSync(d.device));
        EXPECT_EQ(vkGetFenceStatus(d.device, slot.inFlight), VK_SUCCESS);
        EXPECT_NE(slot.imageAvailable, VK_NULL_HANDLE);
        slot.destroy(d.device, d.pool);
    });
    EXPECT_EQ(said, "") << "the old fence and semaphore are released";
}

}  // namespace
