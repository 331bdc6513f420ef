// Scratch directories for the rule tests.
#include "tests/game/game_test_support.hpp"

#include <atomic>
#include <string>

#include <unistd.h>

namespace nj::testing {

ScratchDir::ScratchDir() : previous_(std::filesystem::current_path()) {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("nj-game-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
    std::filesystem::current_path(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace nj::testing
