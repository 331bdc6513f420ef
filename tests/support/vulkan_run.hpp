#pragma once
// Running one of our windowed programs the way the integration tests do: under
// Xvfb, on lavapipe, with the Khronos validation layer switched on.

#include <filesystem>
#include <string>

#include "tests/support/png_reader.hpp"

namespace nj::test {

struct ProgramRun {
    int exitCode = -1;   // -1 when the program did not exit normally
    std::string output;  // standard output and error together
};

// Runs `command` (a shell line, its program quoted by the caller) in `workDir`
// inside `xvfb-run` on a `screen` of "1280x1024" (24 bits deep) or
// "1280x1024x16", with `environment` ("NAME=value ...") before it.
ProgramRun runUnderXvfb(const std::filesystem::path& workDir, const std::string& screen,
                        const std::string& command, const std::string& environment = "");

// Runs a shell command line in `workDir` without a display.
ProgramRun runCommand(const std::filesystem::path& workDir, const std::string& command);

// A fresh folder for one run of the game, holding the campaign (and the
// package, when asked) that the build put in `buildDir`; removed at the end.
struct GameFolder {
    GameFolder(const std::string& name, const std::string& buildDir, bool withPackage = true);
    ~GameFolder();
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;
    std::filesystem::path dir;
};

// How many colours the 16:9 play field of a 1280 x 1024 frame shows (every
// 7th pixel): a drawn mission shows dozens, a cleared frame one.
std::size_t playFieldColours(const DecodedPng& shot);

// Anything the validation layer says is a fault of ours.
bool hasValidationMessage(const std::string& output);

}  // namespace nj::test
