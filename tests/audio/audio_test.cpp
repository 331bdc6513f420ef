#include "audio/audio_engine.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "audio/cue_synthesis.hpp"

namespace {

// Records what the engine asks of its sound API.
struct Recording {
    bool deviceAvailable = true;
    std::set<int> failingVoices;
    std::vector<std::pair<int, int>> restarts;  // (voice, cue)
    int prepared = 0, opens = 0, closes = 0;
    std::vector<float> gains;
};

class RecordingBackend final : public nj::AudioBackend {
  public:
    explicit RecordingBackend(Recording& r) : r_(r) {}
    bool open() override { return ++r_.opens, r_.deviceAvailable; }
    bool createVoice(int index) override { return r_.failingVoices.count(index) == 0; }
    void prepareCue(int, const nj::CueSamples& s) override { r_.prepared += !s.empty(); }
    void restartVoice(int voice, int cue) override { r_.restarts.emplace_back(voice, cue); }
    void close() override { ++r_.closes; }
    void setMasterGain(float gain) override { r_.gains.push_back(gain); }

  private:
    Recording& r_;
};

// A voice that could not be made is a silent gap that still advances.
TEST(AudioEngine, VoicesAreTakenInTurnAndTheSeventeenthRetakesTheFirst) {
    Recording r;
    r.failingVoices = {5};
    nj::AudioEngine engine(std::make_unique<RecordingBackend>(r));
    ASSERT_TRUE(engine.init());
    EXPECT_EQ(r.prepared, 8);
    for (int i = 0; i < 17; ++i) engine.playCue(i % 8);
    ASSERT_EQ(r.restarts.size(), 16u);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(r.restarts[i].first, i < 5 ? i : i + 1);
    EXPECT_EQ(r.restarts[15], (std::pair<int, int>{0, 0}));
    EXPECT_EQ(engine.nextVoice(), 1u);
}

TEST(AudioEngine, RefusedCuesDoNotAdvanceTheRotation) {
    Recording r;
    nj::AudioEngine engine(std::make_unique<RecordingBackend>(r));
    engine.playCue(1);  // before init
    ASSERT_TRUE(engine.init());
    for (const int cue : {8, -1}) engine.playCue(cue);
    engine.playCue(std::uint32_t{0xFFFFFFFF});
    engine.setEnabled(false);
    engine.playCue(3);
    EXPECT_EQ(engine.nextVoice(), 0u);
    EXPECT_TRUE(r.restarts.empty());
}

// With no device the page still shows and toggles the sound; the options'
// volume, the listener's gain, waits for a device and survives a restart.
TEST(AudioEngine, NoDeviceMeansSilenceAndStopInitAndTheVolumeCanRepeat) {
    Recording none;
    none.deviceAvailable = false;
    nj::AudioEngine silent(std::make_unique<RecordingBackend>(none));
    EXPECT_FALSE(silent.init());
    silent.playCue(0);
    EXPECT_TRUE(none.restarts.empty());
    EXPECT_TRUE(silent.enabled());

    Recording r;
    {
        nj::AudioEngine engine(std::make_unique<RecordingBackend>(r));
        ASSERT_TRUE(engine.init());
        EXPECT_TRUE(engine.init());    // already up: no second open
        EXPECT_TRUE(r.gains.empty());  // full volume on a fresh engine touches nothing
        for (const int volume : {35, 250, -4}) engine.setVolume(volume);
        EXPECT_EQ(r.gains, (std::vector<float>{0.35f, 1.0f, 0.0f}));
        engine.stop();
        engine.stop();
        EXPECT_EQ(r.closes, 1);
        r.gains.clear();
        engine.setVolume(45);  // no device now
        EXPECT_TRUE(r.gains.empty());
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

// 17639 (0.4 s counted in single precision), not 17640; a new triangle note
// enters near its trough, so its start is a sharp step in the mix.
TEST(CueSynthesis, TheLastSuccessNoteStartsAtSample17639) {
    EXPECT_EQ(nj::successNoteStarts().back(), 17639u);
    const auto& s = bank()[7];
    EXPECT_LT(s[17639] - s[17638], -5000);
    EXPECT_LT(std::abs(s[17640] - s[17639]), 2500);
}

// The seeded hiss's generator is made afresh for each synthesis.
TEST(CueSynthesis, EveryCueFadesToAboutOnePercentAndNeverClipsAndTheHissRepeats) {
    EXPECT_EQ(nj::synthesizeCues()[4], bank()[4]);
    for (int c = 0; c < nj::kCueCount; ++c) {
        const auto& s = bank()[c];
        const std::size_t window = s.size() / 10;
        auto peak = [&](std::size_t from, std::size_t to) {
            int p = 0;
            for (std::size_t i = from; i < to; ++i)
                p = std::max(p, std::abs(static_cast<int>(s[i])));
            return p;
        };
        const int head = peak(0, window);
        SCOPED_TRACE(nj::cueFileStem(c));
        EXPECT_GT(head, 1000);
        EXPECT_LT(peak(s.size() - window / 4, s.size()), head / 8) << "should fade out";
        EXPECT_LE(peak(0, s.size()), 32767);
    }
}

// A 44-byte header, then the samples as 16-bit little-endian words.
TEST(CueSynthesis, WavFilesCarryTheSamplesAfterTheHeader) {
    const auto wav = nj::encodeWav(bank()[2]);
    ASSERT_EQ(wav.size(), 44 + 2 * bank()[2].size());
    EXPECT_EQ(static_cast<std::int16_t>(wav[44] | (wav[45] << 8)), bank()[2][0]);
}

}  // namespace
