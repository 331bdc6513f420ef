#pragma once
// The simulation's only door to the platform: sound. The game holds it as a
// plain interface, so it builds and runs headless (a null or silent sink) and
// never sees OpenAL. It sits on the core floor, below the game, so the audio
// engine implements it without seeing game/. Frames and input never pass
// through the game: the shell draws the scene and the page itself and offers
// each key to the page before the game.

namespace nj {

// Cue numbers shared with the audio engine.
enum Cue : int {
    CueFootstep = 0,
    CueChime = 1,  // pickups, safe opened
    CueTick = 2,   // tumbler locked
    CueThud = 3,   // takedown
    CueHiss = 4,   // smoke escape
    CueBuzz = 5,   // denied, trip, miss, discovery
    CueFailure = 6,
    CueSuccess = 7,  // objective or mission complete
};

class AudioSink {
  public:
    virtual ~AudioSink() = default;
    virtual void playCue(int cue) = 0;  // silently ignored while disabled
    virtual bool enabled() const = 0;
    virtual void setEnabled(bool on) = 0;
};

// An audio engine without a device: it only keeps the enabled flag, which the
// page still shows and toggles. Enabled from the start, like a real engine.
class SilentAudio final : public AudioSink {
  public:
    void playCue(int) override {}
    bool enabled() const override { return enabled_; }
    void setEnabled(bool on) override { enabled_ = on; }

  private:
    bool enabled_ = true;
};

}  // namespace nj
