#pragma once
// Our windowed programs as the integration tests run them: under Xvfb, on lavapipe, validated.

#include <filesystem>
#include <string>

#include "tests/support/png_reader.hpp"

namespace nj::test {

struct ProgramRun {
    int exitCode = -1;   // -1 when the program did not exit normally
    std::string output;  // standard output and error together
};

// Runs the shell line `command` in `workDir` in xvfb-run on a `screen` of "1280x1024" (24 bits
// deep) or "1280x1024x16", with `environment` ("NAME=value ...") before it.
ProgramRun runUnderXvfb(const std::filesystem::path& workDir, const std::string& screen,
                        const std::string& command, const std::string& environment = "");

// Runs a shell command line in `workDir` without a display.
ProgramRun runCommand(const std::filesystem::path& workDir, const std::string& command);

// A fresh folder for a run, holding the campaign (and package) built in `buildDir`; removed after.
struct GameFolder {
    GameFolder(const std::string& name, const std::string& buildDir, bool withPackage = true);
    ~GameFolder();
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;
    std::filesystem::path dir;
};

// Colours in the 16:9 play field of a 1280 x 1024 frame (every 7th pixel): dozens when drawn.
std::size_t playFieldColours(const DecodedPng& shot);

// Anything the validation layer says is a fault of ours.
bool hasValidationMessage(const std::string& output);

}  // namespace nj::test
