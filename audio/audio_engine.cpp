// Audio engine: voice rotation over a backend, cues prepared once at init.
#include "audio/audio_engine.hpp"

namespace nj {

AudioEngine::AudioEngine() : AudioEngine(makeOpenAlBackend()) {}

AudioEngine::AudioEngine(std::unique_ptr<AudioBackend> backend) : backend_(std::move(backend)) {}

AudioEngine::~AudioEngine() {
    if (initialized_) stop();
}

bool AudioEngine::init() {
    if (initialized_) return true;
    if (!backend_ || !backend_->open()) {
        if (backend_) backend_->close();
        return false;
    }
    for (int v = 0; v < kVoiceCount; ++v) voiceExists_[v] = backend_->createVoice(v);
    cues_ = synthesizeCues();
    for (int c = 0; c < kCueCount; ++c) backend_->prepareCue(c, cues_[c]);
    initialized_ = true;
    // Full volume is the device's own level: nothing to set.
    if (volumePercent_ != 100) setVolume(volumePercent_);
    return true;
}

void AudioEngine::setVolume(int percent) {
    volumePercent_ = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    if (initialized_) backend_->setMasterGain(static_cast<float>(volumePercent_) / 100.0f);
}

void AudioEngine::playCue(int index) {
    if (index < 0) return;
    playCue(static_cast<std::uint32_t>(index));
}

void AudioEngine::playCue(std::uint32_t index) {
    if (!enabled_ || !initialized_ || index >= kCueCount || cues_[index].empty()) return;
    const std::uint32_t voice = nextVoice_;
    nextVoice_ = (nextVoice_ + 1) % kVoiceCount;
    // A voice that could not be created is a silent gap in the rotation.
    if (voiceExists_[voice])
        backend_->restartVoice(static_cast<int>(voice), static_cast<int>(index));
}

void AudioEngine::stop() {
    if (!initialized_) return;
    backend_->close();
    voiceExists_.fill(false);
    initialized_ = false;
}

}  // namespace nj
