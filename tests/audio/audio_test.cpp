#include "audio/audio_engine.hpp"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "audio/cue_synthesis.hpp"

namespace {

struct Recording {
    bool deviceAvailable = true;
    std::set<int> failingVoices{};
    std::vector<std::pair<int, int>> restarts{};  // (voice, cue)
    int prepared = 0, opens = 0, closes = 0;
    std::vector<float> gains{};
};

struct RecordingBackend final : nj::AudioBackend {
    explicit RecordingBackend(Recording& r) : r_(r) {}
    bool open() override { return ++r_.opens, r_.deviceAvailable; }
    bool createVoice(int index) override { return r_.failingVoices.count(index) == 0; }
    void prepareCue(int, const nj::CueSamples& s) override { r_.prepared += !s.empty(); }
    void restartVoice(int voice, int cue) override { r_.restarts.emplace_back(voice, cue); }
    void close() override { ++r_.closes; }
    void setMasterGain(float gain) override { r_.gains.push_back(gain); }
    Recording& r_;
};

// A voice not made is a silent gap that still advances; a refused cue (before init, out of
// range, sound off) advances nothing.
TEST(AudioEngine, VoicesAreTakenInTurnAndTheSeventeenthRetakesTheFirst) {
    Recording r{.failingVoices = {5}};
    nj::AudioEngine engine(std::make_unique<RecordingBackend>(r));
    engine.playCue(1);
    ASSERT_TRUE(engine.init());
    EXPECT_EQ(r.prepared, 8);
    for (const int cue : {8, -1}) engine.playCue(cue);
    engine.playCue(std::uint32_t{0xFFFFFFFF});
    for (int i = 0; i < 17; ++i) engine.playCue(i % 8);
    ASSERT_EQ(r.restarts.size(), 16u);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(r.restarts[i].first, i < 5 ? i : i + 1);
    EXPECT_EQ(r.restarts[15], (std::pair<int, int>{0, 0}));
    engine.setEnabled(false);
    engine.playCue(3);
    EXPECT_EQ(r.restarts.size(), 16u);
    EXPECT_EQ(engine.nextVoice(), 1u);
}

// The volume waits for a device and survives a restart; a fresh engine at full volume sets none.
TEST(AudioEngine, NoDeviceMeansSilenceAndStopInitAndTheVolumeCanRepeat) {
    Recording none{.deviceAvailable = false};
    nj::AudioEngine silent(std::make_unique<RecordingBackend>(none));
    EXPECT_FALSE(silent.init());

    Recording r;
    {
        nj::AudioEngine engine(std::make_unique<RecordingBackend>(r));
        ASSERT_TRUE(engine.init());
        EXPECT_TRUE(engine.init());  // already up: no second open
        for (const int volume : {35, 250, -4}) engine.setVolume(volume);
        EXPECT_EQ(r.gains, (std::vector<float>{0.35f, 1.0f, 0.0f}));
        for (int i = 0; i < 2; ++i) engine.stop();  // a second stop closes nothing
        r.gains.clear();
        engine.setVolume(45);  // no device now: kept for the next one
        ASSERT_TRUE(engine.init());
        EXPECT_EQ(r.opens, 2);
        EXPECT_EQ(r.gains, (std::vector<float>{0.45f}));
    }
    EXPECT_EQ(r.closes, 2);  // the destructor stops a running engine
}

const nj::CueBank& bank() {
    static const nj::CueBank cues = nj::synthesizeCues();
    return cues;
}

// 0.4 s counted in single precision; a new note enters near its trough: a sharp step.
TEST(CueSynthesis, TheLastSuccessNoteStartsAtSample17639) {
    EXPECT_EQ(nj::successNoteStarts().back(), 17639u);
    const auto& s = bank()[7];
    EXPECT_LT(s[17639] - s[17638], -5000);
    EXPECT_LT(std::abs(s[17640] - s[17639]), 2500);
}

// The hiss is seeded afresh each synthesis; a WAV is a 44-byte header, then 16-bit LE samples.
TEST(CueSynthesis, EveryCueFadesNeverClipsIsWrittenAsWavAndTheHissRepeats) {
    EXPECT_EQ(nj::synthesizeCues()[4], bank()[4]);
    for (int c = 0; c < nj::kCueCount; ++c) {
        const auto& s = bank()[c];
        const std::size_t window = s.size() / 10;
        auto peak = [&](std::size_t from, std::size_t to) {
            int p = 0;
            for (std::size_t i = from; i < to; ++i) p = std::max(p, std::abs(int{s[i]}));
            return p;
        };
        const int head = peak(0, window);
        SCOPED_TRACE(nj::cueFileStem(c));
        EXPECT_GT(head, 1000);
        EXPECT_LT(peak(s.size() - window / 4, s.size()), head / 8) << "should fade out";
        EXPECT_LE(peak(0, s.size()), 32767);
        const auto wav = nj::encodeWav(s);
        ASSERT_EQ(wav.size(), 44 + 2 * s.size());
        const std::size_t at = 44 + 2 * window;
        EXPECT_EQ(static_cast<std::int16_t>(wav[at] | (wav[at + 1] << 8)), s[window]);
    }
}

}  // namespace
