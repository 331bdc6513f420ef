#pragma once
// The fixed decorations laid on the floor of every mission.

#include "render/batch.hpp"

namespace nj {

// The three rugs of the grand rooms (casino and embassy floors only).
void drawRugs(Batch& batch);
// The agency's brass seal in the floor by the vault.
void drawAgencySeal(Batch& batch);
// Warm pools under the ceiling lights: eight still, then three that drift
// with `animClock` (drawn in that order).
void drawStillLightPools(Batch& batch);
void drawDriftingLightPools(Batch& batch, float animClock);
// Potted plants whose leaves stir with `animClock`.
void drawPlants(Batch& batch, float animClock);

}  // namespace nj
