#include "audio/audio_engine.hpp"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

// Records what the engine asks of its sound API.
struct Recording {
    bool deviceAvailable = true;
    std::set<int> failingVoices;
    std::vector<std::pair<int, int>> restarts;  // (voice, cue)
    int prepared = 0;
    int opens = 0, closes = 0;
    std::vector<float> gains;
};

class RecordingBackend final : public nj::AudioBackend {
  public:
    explicit RecordingBackend(Recording& r) : r_(r) {}
    bool open() override {
        ++r_.opens;
        return r_.deviceAvailable;
    }
    bool createVoice(int index) override { return r_.failingVoices.count(index) == 0; }
    void prepareCue(int, const nj::CueSamples& samples) override {
        r_.prepared += !samples.empty();
    }
    void restartVoice(int voice, int cue) override { r_.restarts.emplace_back(voice, cue); }
    void close() override { ++r_.closes; }
    void setMasterGain(float gain) override { r_.gains.push_back(gain); }

  private:
    Recording& r_;
};

TEST(AudioEngine, VoicesAreTakenInTurnAndTheSeventeenthRetakesTheFirst) {
    Recording r;
    nj::AudioEngine engine(std::make_unique<RecordingBackend>(r));
    ASSERT_TRUE(engine.init());
    EXPECT_EQ(r.prepared, 8);
    for (int i = 0; i < 17; ++i) engine.playCue(i % 8);
    ASSERT_EQ(r.restarts.size(), 17u);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(r.restarts[i].first, i);
    EXPECT_EQ(r.restarts[16], (std::pair<int, int>{0, 0}));
    EXPECT_EQ(engine.nextVoice(), 1u);
}

TEST(AudioEngine, RefusedCuesDoNotAdvanceTheRotation) {
    Recording r;
    nj::AudioEngine engine(std::make_unique<RecordingBackend>(r));
    engine.playCue(1);  // before init
    EXPECT_EQ(engine.nextVoice(), 0u);
    ASSERT_TRUE(engine.init());
    engine.playCue(8);
    engine.playCue(std::uint32_t{0xFFFFFFFF});
    engine.playCue(-1);
    EXPECT_EQ(engine.nextVoice(), 0u);
    engine.setEnabled(false);
    engine.playCue(3);
    EXPECT_EQ(engine.nextVoice(), 0u);
    EXPECT_TRUE(r.restarts.empty());
    engine.setEnabled(true);
    engine.playCue(3);
    EXPECT_EQ(r.restarts.size(), 1u);
}

TEST(AudioEngine, AMissingVoiceIsASilentGapThatStillAdvances) {
    Recording r;
    r.failingVoices = {1};
    nj::AudioEngine engine(std::make_unique<RecordingBackend>(r));
    ASSERT_TRUE(engine.init());
    engine.playCue(0);
    engine.playCue(1);  // falls on voice 1: skipped
    engine.playCue(2);
    ASSERT_EQ(r.restarts.size(), 2u);
    EXPECT_EQ(r.restarts[1], (std::pair<int, int>{2, 2}));
    EXPECT_EQ(engine.nextVoice(), 3u);
}

TEST(AudioEngine, NoDeviceMeansSilenceAndStopAndInitCanRepeat) {
    Recording none;
    none.deviceAvailable = false;
    nj::AudioEngine silent(std::make_unique<RecordingBackend>(none));
    EXPECT_FALSE(silent.init());
    EXPECT_FALSE(silent.initialized());
    silent.playCue(0);
    EXPECT_TRUE(none.restarts.empty());
    EXPECT_TRUE(silent.enabled());  // the page still shows and toggles it

    Recording r;
    {
        nj::AudioEngine engine(std::make_unique<RecordingBackend>(r));
        ASSERT_TRUE(engine.init());
        EXPECT_TRUE(engine.init());  // already up: no second open
        EXPECT_EQ(r.opens, 1);
        engine.stop();
        engine.stop();
        EXPECT_EQ(r.closes, 1);
        ASSERT_TRUE(engine.init());
        EXPECT_EQ(r.opens, 2);
    }
    EXPECT_EQ(r.closes, 2);  // the destructor stops a running engine
}

}  // namespace

namespace {

// The options' master volume is the listener's gain; it waits for a device,
// survives a restart, and full volume on a fresh engine touches nothing.
TEST(AudioEngine, TheMasterVolumeIsTheListenersGain) {
    Recording r;
    nj::AudioEngine engine(std::make_unique<RecordingBackend>(r));
    ASSERT_TRUE(engine.init());
    EXPECT_TRUE(r.gains.empty());
    engine.setVolume(35);
    engine.setVolume(250);
    engine.setVolume(-4);
    EXPECT_EQ(r.gains, (std::vector<float>{0.35f, 1.0f, 0.0f}));
    engine.setVolume(60);
    engine.stop();
    r.gains.clear();
    engine.setVolume(45);  // no device now
    EXPECT_TRUE(r.gains.empty());
    ASSERT_TRUE(engine.init());
    EXPECT_EQ(r.gains, (std::vector<float>{0.45f}));
    EXPECT_EQ(engine.volume(), 45);
}

}  // namespace
