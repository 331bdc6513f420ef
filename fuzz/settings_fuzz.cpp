// Settings files: any bytes are read without crashing, every option comes out
// inside its range, and what the game would write back reads as it was.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "data/settings_file.hpp"

namespace {

bool inRanges(const nj::Settings& s) {
    const std::set<int> keys(s.keys.begin(), s.keys.end());
    const std::set<int> pad(s.padButtons.begin(), s.padButtons.end());
    return s.volume >= 0 && s.volume <= 100 && s.volume % nj::kVolumeStep == 0 &&
           s.rumbleStrength >= 0 && s.rumbleStrength <= 100 &&
           s.stickDeadZone >= nj::kDeadZoneMin && s.stickDeadZone <= nj::kDeadZoneMax &&
           std::ranges::count(nj::kTextSizes, s.textSize) == 1 &&
           std::ranges::count(nj::kGameSpeeds, s.gameSpeed) == 1 && keys.size() == s.keys.size() &&
           *keys.begin() >= 1 && *keys.rbegin() <= nj::kMaxScancode &&
           pad.size() == s.padButtons.size() && *pad.begin() >= 0 &&
           *pad.rbegin() < static_cast<int>(nj::kPadRoleCount) &&
           (!s.window.known() ||
            (s.window.width >= nj::kMinWindowWidth && s.window.height >= nj::kMinWindowHeight));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const nj::SettingsLoad load =
        nj::parseSettingsText(std::string(reinterpret_cast<const char*>(data), size));
    if (!inRanges(load.settings)) std::abort();
    if (load.damaged == load.problem.empty()) std::abort();
    const nj::SettingsLoad again = nj::parseSettingsText(nj::formatSettingsText(load.settings));
    if (again.damaged || !(again.settings == load.settings)) std::abort();
    return 0;
}
