#pragma once
// Sight rays for cones and wedges, with the obstacles gathered once per origin.

#include <vector>

#include "game/game.hpp"

namespace nj {

// Casts many rays from one origin: aim() collects the obstacles within reach
// of the origin, so a cone of two dozen rays does not walk every wall of the
// mission for every ray.
class VisionRays {
  public:
    explicit VisionRays(const Game& game) : game_(game) {}

    // Gathers what can stop a ray from (x, y) no longer than `reach`.
    void aim(float x, float y, float reach);
    // castVisionRay from the aimed origin; `maxDistance` must not exceed the reach.
    float cast(float angle, float maxDistance) const;

  private:
    struct Box {
        float x, y, w, h;
    };
    const Game& game_;
    float x_ = 0.0f, y_ = 0.0f;
    std::vector<Box> blockers_;  // obstacles that can hold a sample of the aimed rays
};

}  // namespace nj
