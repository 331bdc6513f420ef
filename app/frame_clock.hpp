#pragma once
// Frame timing and the self-test's fixed run.

#include <cstdint>

namespace nj {

inline constexpr float kMaxStep = 0.05f;  // s; a stall never advances the game further

// Turns performance-counter readings into simulation steps.
class FrameClock {
  public:
    void start(std::uint64_t frequency, std::uint64_t now);
    // Seconds since the previous reading, capped at kMaxStep.
    float step(std::uint64_t now);

  private:
    std::uint64_t frequency_ = 1;
    std::uint64_t previous_ = 0;
};

// Keeps frames at the display's rate when nothing else does. A swapchain
// waits for the display; frames put straight into the window (a software
// device's) do not, and the game would draw as fast as the processor allows,
// far more often than the screen shows, on every core.
class FramePacer {
  public:
    // `refreshHz` below 1 (unknown) counts as 60.
    void start(std::uint64_t frequency, int refreshHz, std::uint64_t now);
    // Counter ticks to wait before the next frame; 0 when it is due. A frame
    // that ran late moves the schedule on instead of owing frames: a stall is
    // never followed by a burst.
    std::uint64_t waitBeforeNext(std::uint64_t now);

  private:
    std::uint64_t period_ = 1;
    std::uint64_t due_ = 0;
};

// The --test run: 60 loop updates after the first (or as many as asked
// for), with the selected mission started on the 30th pass.
class SelfTestRun {
  public:
    explicit SelfTestRun(std::uint32_t updates = 60) : updates_(updates) {}
    enum class Pass { Continue, StartMission, Finish };
    // Called once at the top of every loop pass, after the message drain.
    Pass nextPass();
    std::uint32_t passes() const { return counter_; }

  private:
    std::uint32_t counter_ = 0;
    std::uint32_t updates_;
};

}  // namespace nj
