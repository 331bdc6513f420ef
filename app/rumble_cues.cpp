// Rumble cues from the changes between two frames.
#include "app/rumble_cues.hpp"

namespace nj {
namespace {

constexpr RumbleCue kFailedCue{0x9000, 0x6000, 350};
constexpr RumbleCue kTakedownCue{0x6000, 0x3000, 120};
constexpr RumbleCue kSpottedCue{0x4000, 0x2000, 160};

}  // namespace

RumbleCue RumbleWatcher::observe(const RumbleWatch& now) {
    RumbleCue cue;
    // The first frame only sets the baseline: a game that starts failed or
    // mid-lunge does not rumble.
    if (primed_) {
        if (now.failed && !last_.failed) {
            cue = kFailedCue;
        } else if (now.lunging && !last_.lunging) {
            cue = kTakedownCue;
        } else if (now.timesSpotted > last_.timesSpotted) {
            cue = kSpottedCue;  // a new mission resets the count: no rumble for that
        }
    }
    primed_ = true;
    last_ = now;
    return cue;
}

}  // namespace nj
