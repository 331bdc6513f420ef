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
