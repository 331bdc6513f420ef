// Save files: any text reads without crashing, and the unlock index stays inside the campaign.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "data/save_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    nj::SaveRecord record;
    nj::applySaveText(std::string(reinterpret_cast<const char*>(data), size), record,
                      nj::kSaveMissionSlots);
    if (record.highestUnlocked >= nj::kSaveMissionSlots) std::abort();
    return 0;
}
