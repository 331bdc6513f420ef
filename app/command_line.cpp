// Reading the game's switches.
#include "app/command_line.hpp"

#include <cstdlib>
#include <string_view>

namespace nj {

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine result;
    std::string joined;
    for (int i = 0; i < argc; ++i) {
        if (i > 0) joined += ' ';
        joined += argv[i];
        if (std::string_view(argv[i]) == "--screenshot" && i + 1 < argc) {
            result.screenshotPath = argv[i + 1];
        }
        if (std::string_view(argv[i]) == "--fixed-step") result.fixedStep = true;
        if (std::string_view(argv[i]) == "--swapchain") result.swapchainOnly = true;
        if (std::string_view(argv[i]) == "--pad-script" && i + 1 < argc) {
            result.padScriptPath = argv[i + 1];
        }
        if (std::string_view(argv[i]) == "--mission" && i + 1 < argc) {
            result.missionPath = argv[i + 1];
        }
        if (std::string_view(argv[i]) == "--campaign" && i + 1 < argc) {
            result.campaignPath = argv[i + 1];
        }
        if (std::string_view(argv[i]) == "--replay" && i + 1 < argc) {
            result.replayPath = argv[i + 1];
        }
        if (std::string_view(argv[i]) == "--edit" && i + 1 < argc) {
            result.editPath = argv[i + 1];
        }
        if (std::string_view(argv[i]) == "--frames" && i + 1 < argc) {
            const long long n = std::atoll(argv[i + 1]);
            result.frames = n > 0 && n < 1000000 ? static_cast<unsigned>(n) : 0;
        }
    }
    result.testMode = joined.find("--test") != std::string::npos || result.frames > 0;
    return result;
}

}  // namespace nj
