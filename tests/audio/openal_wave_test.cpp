// End to end through OpenAL Soft: its file-writing backend records what the
// engine plays, so the test needs no sound card.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include <unistd.h>

#include "audio/audio_engine.hpp"

namespace {

namespace fs = std::filesystem;

std::vector<char> readAll(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(f), {});
}

TEST(OpenAlEndToEnd, PlayedCuesReachTheOutput) {
    const fs::path dir = fs::temp_directory_path() / ("nj_al_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path wav = dir / "out.wav";
    const fs::path conf = dir / "alsoft.conf";
    std::ofstream(conf) << "[general]\ndrivers=wave\n[wave]\nfile=" << wav.string() << "\n";
    ::setenv("ALSOFT_CONF", conf.c_str(), 1);

    {
        nj::AudioEngine engine;
        ASSERT_TRUE(engine.init()) << "OpenAL Soft's wave writer should open as a device";
        engine.playCue(nj::CueSuccess);
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        engine.stop();
    }
    const std::vector<char> bytes = readAll(wav);
    ASSERT_GT(bytes.size(), 44u + 1000u);
    std::size_t nonZero = 0;
    for (std::size_t i = 44; i < bytes.size(); ++i) nonZero += bytes[i] != 0;
    EXPECT_GT(nonZero, bytes.size() / 10) << "the recording is silent";
    fs::remove_all(dir);
}

}  // namespace
