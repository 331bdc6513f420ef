#pragma once
// The game's command line: "--test" anywhere (even inside a longer argument)
// runs the fixed 60-frame self-test; "--screenshot PATH" saves the last
// presented frame as PNG; "--frames N" runs the self-test for N frames and
// reports the frame rate; "--pad-script PATH" drives a virtual controller;
// "--fixed-step" and "--swapchain" are for comparing pictures and paths.

#include <string>

namespace nj {

struct CommandLine {
    bool testMode = false;
    std::string screenshotPath;  // empty: no screenshot
    // "--frames N": a longer self-test run of N updates that reports the
    // frame rate on exit (for measuring); 0 when not given.
    unsigned frames = 0;
    // "--pad-script PATH": plays a virtual game controller from a script
    // (for the controller tests); empty when not given.
    std::string padScriptPath;
    // "--fixed-step": every update advances exactly 1/60 s whatever the clock
    // says, so a given frame always shows the same picture (for comparing
    // pictures across renderer changes).
    bool fixedStep = false;
    // "--swapchain": frames always go through the Vulkan swapchain, even on a
    // device that draws on the processor, where the window's own pixels are
    // cheaper (for testing that path, or a window system that shows them badly).
    bool swapchainOnly = false;
    // "--mission FILE.json": plays that mission file on its own (a campaign
    // of one, no save.dat); "--campaign FILE": plays that campaign file from
    // disk instead of the package's. Empty when not given.
    std::string missionPath;
    std::string campaignPath;
    // "--replay FILE.njr": opens the game watching that recorded run; the
    // player leaves it for the dossier. Empty when not given.
    std::string replayPath;
    // "--edit FILE.json": opens the game in the mission editor on that file
    // (a file that is not there yet is a new mission saved there); leaving
    // goes to the dossier. Empty when not given.
    std::string editPath;
};

// The arguments are joined with blanks, program path included, and searched
// as one text, the way the self-test switch has always been found.
CommandLine parseCommandLine(int argc, const char* const* argv);

}  // namespace nj
