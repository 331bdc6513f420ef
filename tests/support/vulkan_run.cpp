#include "tests/support/vulkan_run.hpp"

#include <unistd.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "tests/support/scratch_dir.hpp"

namespace nj::test {

ProgramRun runCommand(const std::filesystem::path& workDir, const std::string& command) {
    std::filesystem::create_directories(workDir);
    const std::filesystem::path log = workDir / "run-output.txt";
    const std::string line =
        "cd '" + workDir.string() + "' && " + command + " > '" + log.string() + "' 2>&1";
    const int status = std::system(line.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, fileText(log)};
}

ProgramRun runUnderXvfb(const std::filesystem::path& workDir, const std::string& screen,
                        const std::string& command, const std::string& environment) {
    const std::string depth = std::count(screen.begin(), screen.end(), 'x') == 1 ? "x24" : "";
    // Where xvfb-run starts looking for a free display: tests side by side (ctest -j) starting at
    // one number would race two servers for one display, and the loser fails to start.
    const std::string firstDisplay = std::to_string(100 + (::getpid() % 200) * 4);
    // Our own authority file: xvfb-run's own temporary folder sometimes fails to go away under
    // load, and xvfb-run then exits 5 whatever the game did.
    static int runs = 0;
    const std::filesystem::path auth =
        std::filesystem::temp_directory_path() /
        ("nj-xauth-" + std::to_string(::getpid()) + "-" + std::to_string(runs++));
    ProgramRun run =
        runCommand(workDir,
                   "VK_INSTANCE_LAYERS=VK_LAYER_KHRONOS_validation "
                   "VK_ICD_FILENAMES=/usr/share/vulkan/icd.d/lvp_icd.x86_64.json " +
                       environment + " timeout 300 xvfb-run -a -n " + firstDisplay + " -f '" +
                       auth.string() + "' -s '-screen 0 " + screen + depth + "' " + command);
    std::error_code ignored;
    std::filesystem::remove(auth, ignored);
    return run;
}

GameFolder::GameFolder(const std::string& name, const std::string& buildDir, bool withPackage)
    : dir(std::filesystem::temp_directory_path() /
          ("nj_game_" + name + "_" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    for (const char* file : {"campaign_maps.json", "game.nj3p"}) {
        const std::filesystem::path from = std::filesystem::path(buildDir) / file;
        if (std::filesystem::exists(from) && (withPackage || from.extension() != ".nj3p")) {
            std::filesystem::copy_file(from, dir / file);
        }
    }
}

GameFolder::~GameFolder() {
    std::filesystem::remove_all(dir);
}

std::size_t playFieldColours(const DecodedPng& shot) {
    std::set<std::uint32_t> colours;
    for (std::uint32_t y = 160; y < 864 && y < shot.height; y += 7) {
        for (std::uint32_t x = 0; x < shot.width; x += 7) colours.insert(shot.pixel(x, y));
    }
    return colours.size();
}

bool hasValidationMessage(const std::string& output) {
    for (const char* marker : {"Validation", "VUID-", "UNASSIGNED-"}) {
        if (output.find(marker) != std::string::npos) return true;
    }
    return false;
}

}  // namespace nj::test
