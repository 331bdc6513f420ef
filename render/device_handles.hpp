#pragma once
// Releasing a device object through its vkDestroy function and forgetting
// it, so that releasing again, or releasing what was never made, does nothing.

#include <volk.h>

namespace nj {

template <typename Handle>
void release(VkDevice device, Handle& handle,
             void(VKAPI_PTR* destroy)(VkDevice, Handle, const VkAllocationCallbacks*)) {
    if (handle != VK_NULL_HANDLE) destroy(device, handle, nullptr);
    handle = VK_NULL_HANDLE;
}

}  // namespace nj
