#pragma once
// When the controller rumbles: short and subtle, on being spotted, on a
// takedown and on a failed mission. Watches the game's counters from one frame
// to the next; knows nothing of SDL or of the game object.

#include <cstdint>

namespace nj {

struct RumbleCue {
    std::uint16_t low = 0, high = 0;  // motor strengths, 0..65535
    std::uint32_t milliseconds = 0;   // 0: no rumble
};

struct RumbleWatch {
    std::uint32_t timesSpotted = 0;
    bool lunging = false;  // a takedown is under way
    bool failed = false;   // the mission has failed
};

class RumbleWatcher {
  public:
    // The cue for what changed since the last frame; the strongest wins.
    RumbleCue observe(const RumbleWatch& now);

  private:
    bool primed_ = false;
    RumbleWatch last_;
};

}  // namespace nj
