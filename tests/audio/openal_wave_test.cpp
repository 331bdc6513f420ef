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
    std::ofstream(conf)
        << "[general]\ndrivers=wave\nsample-type=int16\nchannels=mono\n[wave]\nfile="
        << wav.string() << "\n";
    ::setenv("ALSOFT_CONF", conf.c_str(), 1);

    {
        nj::AudioEngine engine;
        ASSERT_TRUE(engine.init()) << "OpenAL Soft's wave writer should open as a device";
        engine.playCue(nj::CueSuccess);
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        engine.stop();
    }
    const std::vector<char> bytes = readAll(wav);
    const std::string text(bytes.begin(), bytes.end());
    const std::size_t data = text.find("data");
    ASSERT_NE(data, std::string::npos);
    ASSERT_GT(bytes.size(), data + 8 + 1000u);
    // 16-bit mono at the engine's rate: the success fanfare is loud for most
    // of the 0.4 s the test waits.
    std::size_t loud = 0, samples = 0;
    for (std::size_t i = data + 8; i + 1 < bytes.size(); i += 2, ++samples) {
        const int sample = static_cast<std::int16_t>(
            static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
        loud += std::abs(sample) > 500;
    }
    EXPECT_GT(loud, samples / 10) << "the recording is silent";
    fs::remove_all(dir);
}

}  // namespace
