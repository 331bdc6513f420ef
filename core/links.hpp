#pragma once
// The simulation's only doors to the platform: sound, the page overlay and the
// renderer. The game holds these as plain interfaces, so it builds and runs
// headless (null links) and never sees SDL, Vulkan, OpenAL or the page engine.
// They sit on the core floor, below the game, so the audio engine and the
// renderer implement them without seeing game/.

#include <cstdint>

namespace nj {

// Only named here: the overlay and the scene renderer are handed the game itself
// each frame and read its public fields, so the links must name it; defining
// it would pull game/ under the floor that game/ stands on.
class Game;

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

// The HTML overlay as the game sees it. The game owns it and hands every key
// and mouse event to it before acting on the event itself.
class RendererLink;

class OverlayLink {
  public:
    virtual ~OverlayLink() = default;
    virtual bool initialize(int width, int height) = 0;
    virtual void teardown() = 0;
    // Near the end of each frame: push the game's state to the page, let it
    // paint, and hand its bitmap to the renderer.
    virtual void renderFrame(Game& game, RendererLink* renderer) = 0;
    virtual void forwardKeyDown(std::uint32_t key) = 0;
    virtual void forwardKeyUp(std::uint32_t key) = 0;
    virtual void forwardMouseMove(std::uint32_t x, std::uint32_t y) = 0;  // page units
    virtual void forwardMouseButton(bool down) = 0;
};

// The renderer as the game sees it.
class RendererLink {
  public:
    virtual ~RendererLink() = default;
    // Window pixel -> fraction 0..1 of the letterboxed drawing area.
    virtual void windowToCanvas(std::uint32_t x, std::uint32_t y, float& fx, float& fy) const = 0;
    // Draws the world from the game's public fields, then the overlay's frame.
    virtual void drawFrame(Game& game) = 0;
};

}  // namespace nj
