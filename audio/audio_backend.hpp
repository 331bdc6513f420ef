#pragma once
// What the audio engine needs from a sound API: a device, a fixed set of
// voices, one prepared buffer per cue, and "cut this voice and play that cue
// on it". OpenAL Soft is the backend on Linux; another can stand beside it.

#include <cstdint>
#include <memory>

#include "audio/cue_synthesis.hpp"

namespace nj {

class AudioBackend {
  public:
    virtual ~AudioBackend() = default;
    // Opens the output device; false when there is none.
    virtual bool open() = 0;
    // Creates voice `index`; false leaves a gap in the rotation.
    virtual bool createVoice(int index) = 0;
    // Hands the backend a cue's samples once; they stay unchanged while it plays them.
    virtual void prepareCue(int cue, const CueSamples& samples) = 0;
    // Stops whatever `voice` plays, queues the cue's buffer on it and starts it.
    virtual void restartVoice(int voice, int cue) = 0;
    // Releases voices, buffers and the device; safe when open() failed.
    virtual void close() = 0;
    // The master volume, 0..1, over every voice; only called while open.
    virtual void setMasterGain(float gain) = 0;
};

std::unique_ptr<AudioBackend> makeOpenAlBackend();

}  // namespace nj
