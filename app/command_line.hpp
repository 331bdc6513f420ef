#pragma once
// The game's command line: "--test" anywhere (even inside a longer argument)
// runs the fixed 60-frame self-test; "--screenshot PATH" saves the last
// presented frame as PNG.

#include <string>

namespace nj {

struct CommandLine {
    bool testMode = false;
    std::string screenshotPath;  // empty: no screenshot
};

// The arguments are joined with blanks, program path included, and searched
// as one text, the way the self-test switch has always been found.
CommandLine parseCommandLine(int argc, const char* const* argv);

}  // namespace nj
