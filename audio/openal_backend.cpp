// OpenAL Soft backend: 16 AL sources are the voices, one AL buffer per cue.
#include <AL/al.h>
#include <AL/alc.h>

#include <array>

#include "audio/audio_backend.hpp"

namespace nj {
namespace {

class OpenAlBackend final : public AudioBackend {
  public:
    ~OpenAlBackend() override { close(); }

    bool open() override {
        device_ = alcOpenDevice(nullptr);
        if (!device_) return false;
        context_ = alcCreateContext(device_, nullptr);
        if (!context_ || alcMakeContextCurrent(context_) != ALC_TRUE) return false;
        alGenBuffers(kCueCount, buffers_.data());
        buffersMade_ = alGetError() == AL_NO_ERROR;
        return buffersMade_;
    }

    bool createVoice(int index) override {
        alGetError();
        alGenSources(1, &sources_[index]);
        sourceMade_[index] = alGetError() == AL_NO_ERROR;
        return sourceMade_[index];
    }

    void prepareCue(int cue, const CueSamples& samples) override {
        alBufferData(buffers_[cue], AL_FORMAT_MONO16, samples.data(),
                     static_cast<ALsizei>(samples.size() * sizeof(samples[0])), kSampleRate);
    }

    void restartVoice(int voice, int cue) override {
        const ALuint source = sources_[voice];
        alSourceStop(source);
        alSourcei(source, AL_BUFFER, static_cast<ALint>(buffers_[cue]));
        alSourcePlay(source);
    }

    // The listener's gain scales everything the context plays.
    void setMasterGain(float gain) override { alListenerf(AL_GAIN, gain); }

    void close() override {
        for (std::size_t v = 0; v < sources_.size(); ++v) {
            if (!sourceMade_[v]) continue;
            alSourceStop(sources_[v]);
            alDeleteSources(1, &sources_[v]);
            sourceMade_[v] = false;
        }
        if (buffersMade_) {
            alDeleteBuffers(kCueCount, buffers_.data());
            buffersMade_ = false;
        }
        if (context_) {
            alcMakeContextCurrent(nullptr);
            alcDestroyContext(context_);
            context_ = nullptr;
        }
        if (device_) {
            alcCloseDevice(device_);
            device_ = nullptr;
        }
    }

  private:
    ALCdevice* device_ = nullptr;
    ALCcontext* context_ = nullptr;
    std::array<ALuint, 16> sources_{};
    std::array<bool, 16> sourceMade_{};
    std::array<ALuint, kCueCount> buffers_{};
    bool buffersMade_ = false;
};

}  // namespace

std::unique_ptr<AudioBackend> makeOpenAlBackend() {
    return std::make_unique<OpenAlBackend>();
}

}  // namespace nj
