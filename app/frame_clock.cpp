// Frame steps from the performance counter, and the self-test's pass count.
#include "app/frame_clock.hpp"

#include <algorithm>

namespace nj {

void FrameClock::start(std::uint64_t frequency, std::uint64_t now) {
    frequency_ = frequency == 0 ? 1 : frequency;
    previous_ = now;
}

float FrameClock::step(std::uint64_t now) {
    // A counter that went backwards counts as no time, not as ages.
    const std::uint64_t elapsed = now >= previous_ ? now - previous_ : 0;
    previous_ = now;
    const float dt = static_cast<float>(elapsed) / static_cast<float>(frequency_);
    return std::min(kMaxStep, dt);
}

void FramePacer::start(std::uint64_t frequency, int refreshHz, std::uint64_t now) {
    const std::uint64_t hz = refreshHz >= 1 ? static_cast<std::uint64_t>(refreshHz) : 60;
    period_ = std::max<std::uint64_t>(frequency / hz, 1);
    due_ = now;
}

std::uint64_t FramePacer::waitBeforeNext(std::uint64_t now) {
    due_ += period_;
    if (due_ <= now) {
        due_ = now;
        return 0;
    }
    return due_ - now;
}

SelfTestRun::Pass SelfTestRun::nextPass() {
    const std::uint32_t pass = counter_++;
    if (pass == 29) return Pass::StartMission;
    return counter_ > updates_ ? Pass::Finish : Pass::Continue;
}

}  // namespace nj
