// njtool cues DIR: writes the game's eight synthesised sound cues as WAV
// files, so they can be listened to and checked outside the game.
#include <filesystem>
#include <iostream>

#include "audio/cue_synthesis.hpp"
#include "cli_io.hpp"

namespace njtool {

int runCuesCommand(const Args& args) {
    if (args.size() != 1) throw UsageError("cues: one output DIR expected");
    std::filesystem::create_directories(args[0]);
    const nj::CueBank cues = nj::synthesizeCues();
    for (int c = 0; c < nj::kCueCount; ++c) {
        const std::vector<std::uint8_t> wav = nj::encodeWav(cues[c]);
        const auto path =
            std::filesystem::path(args[0]) / (std::string(nj::cueFileStem(c)) + ".wav");
        writeFile(path.string(), std::string(wav.begin(), wav.end()));
        std::cout << path.string() << " " << cues[c].size() << " samples\n";
    }
    return 0;
}

}  // namespace njtool
