#include "render/device_choice.hpp"

#include <gtest/gtest.h>

using nj::DeviceCandidate;
using nj::QueueFamilyAbilities;

namespace {

constexpr QueueFamilyAbilities kBoth{true, true};
constexpr QueueFamilyAbilities kDrawOnly{true, false};
constexpr QueueFamilyAbilities kPresentOnly{false, true};

TEST(QueueFamilies, ScanStopsAtTheFirstIndexWhereBothAreKnown) {
    // Present-only then both: the later family overwrites the earlier present find.
    auto pair = nj::findQueueFamilies(std::vector{kPresentOnly, kBoth});
    ASSERT_TRUE(pair);
    EXPECT_EQ(pair->graphics, 1u);
    EXPECT_EQ(pair->present, 1u);
    // Draw-only then present-only: two different families.
    pair = nj::findQueueFamilies(std::vector{kDrawOnly, kPresentOnly, kBoth});
    ASSERT_TRUE(pair);
    EXPECT_EQ(pair->graphics, 0u);
    EXPECT_EQ(pair->present, 1u);
    EXPECT_FALSE(nj::findQueueFamilies(std::vector{kDrawOnly, kDrawOnly}));
}

TEST(DeviceChoice, DiscreteWinsOtherwiseTheFirstThatQualifies) {
    const std::vector<DeviceCandidate> integratedThenDiscrete = {
        {VK_PHYSICAL_DEVICE_TYPE_INTEGRATED_GPU, {kBoth}},
        {VK_PHYSICAL_DEVICE_TYPE_DISCRETE_GPU, {kDrawOnly, kPresentOnly}}};
    auto choice = nj::chooseDevice(integratedThenDiscrete);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->device, 1u);
    EXPECT_EQ(choice->families.graphics, 0u);
    EXPECT_EQ(choice->families.present, 1u);

    const std::vector<DeviceCandidate> twoIntegrated = {
        {VK_PHYSICAL_DEVICE_TYPE_INTEGRATED_GPU, {kBoth}},
        {VK_PHYSICAL_DEVICE_TYPE_INTEGRATED_GPU, {kBoth}}};
    EXPECT_EQ(nj::chooseDevice(twoIntegrated)->device, 0u);

    // A discrete GPU that cannot present does not count; the first discrete one ends the search.
    const std::vector<DeviceCandidate> mixed = {{VK_PHYSICAL_DEVICE_TYPE_DISCRETE_GPU, {kDrawOnly}},
                                                {VK_PHYSICAL_DEVICE_TYPE_CPU, {kBoth}},
                                                {VK_PHYSICAL_DEVICE_TYPE_DISCRETE_GPU, {kBoth}},
                                                {VK_PHYSICAL_DEVICE_TYPE_DISCRETE_GPU, {kBoth}}};
    EXPECT_EQ(nj::chooseDevice(mixed)->device, 2u);

    EXPECT_FALSE(
        nj::chooseDevice(std::vector<DeviceCandidate>{{VK_PHYSICAL_DEVICE_TYPE_CPU, {kDrawOnly}}}));
}

TEST(SwapchainChoices, FormatExtentAndImageCount) {
    const std::vector<VkSurfaceFormatKHR> formats = {
        {VK_FORMAT_R8G8B8A8_UNORM, VK_COLOR_SPACE_SRGB_NONLINEAR_KHR},
        {VK_FORMAT_B8G8R8A8_UNORM, VK_COLOR_SPACE_EXTENDED_SRGB_LINEAR_EXT},
        {VK_FORMAT_B8G8R8A8_UNORM, VK_COLOR_SPACE_SRGB_NONLINEAR_KHR}};
    EXPECT_EQ(nj::chooseSurfaceFormat(formats).colorSpace, VK_COLOR_SPACE_SRGB_NONLINEAR_KHR);
    EXPECT_EQ(nj::chooseSurfaceFormat(formats).format, VK_FORMAT_B8G8R8A8_UNORM);
    EXPECT_EQ(nj::chooseSurfaceFormat(std::span(formats).first(2)).format,
              VK_FORMAT_R8G8B8A8_UNORM);

    // A surface that sets its own extent (X11, every game run) decides; else the window's, clamped.
    VkSurfaceCapabilitiesKHR caps{};
    caps.currentExtent = {0xFFFFFFFFu, 0xFFFFFFFFu};
    caps.minImageExtent = {1400, 800};
    caps.maxImageExtent = {4096, 4096};
    const VkExtent2D clamped = nj::chooseSwapExtent(caps, 1280, 9000);
    EXPECT_EQ(clamped.width, 1400u);
    EXPECT_EQ(clamped.height, 4096u);

    caps.minImageCount = 2;
    caps.maxImageCount = 0;  // no limit
    EXPECT_EQ(nj::chooseImageCount(caps), 3u);
    caps.maxImageCount = 2;
    EXPECT_EQ(nj::chooseImageCount(caps), 2u);
}

}  // namespace
