#pragma once
// The game's sound effects: eight synthesised cues played through a pool of
// 16 voices taken in turn, so the 17th overlapping cue cuts off the oldest.

#include <array>
#include <cstdint>
#include <memory>

#include "audio/audio_backend.hpp"
#include "audio/cue_synthesis.hpp"
#include "core/links.hpp"

namespace nj {

inline constexpr int kVoiceCount = 16;

class AudioEngine final : public AudioSink {
  public:
    AudioEngine();  // OpenAL Soft
    explicit AudioEngine(std::unique_ptr<AudioBackend> backend);
    ~AudioEngine() override;
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    // Opens the device, creates the voices and synthesises the cues. False
    // (and silence) when there is no device; true at once when already up.
    bool init();
    // Cuts the oldest voice and plays cue `index` (0..7) on it. Nothing
    // happens, and the rotation stays, while disabled, before init or for an
    // index out of range.
    void playCue(int index) override;
    void playCue(std::uint32_t index);
    // Releases the voices and the device; init may bring them up again.
    void stop();

    // The master volume, 0..100 %, held across a stop and init; the mute
    // (setEnabled) stays a switch of its own over it.
    void setVolume(int percent);
    int volume() const { return volumePercent_; }

    bool enabled() const override { return enabled_; }
    void setEnabled(bool on) override { enabled_ = on; }
    bool initialized() const { return initialized_; }
    std::uint32_t nextVoice() const { return nextVoice_; }
    const CueBank& cues() const { return cues_; }

  private:
    std::unique_ptr<AudioBackend> backend_;
    std::array<bool, kVoiceCount> voiceExists_{};
    std::uint32_t nextVoice_ = 0;  // voice the next cue takes
    bool enabled_ = true;
    bool initialized_ = false;
    int volumePercent_ = 100;
    CueBank cues_;
};

}  // namespace nj
