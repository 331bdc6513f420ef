#pragma once
// Parts repeated along a length (gate bars, shelves, binders, rug fringe,
// lit windows) are counted in whole numbers, each placed at start + i * step.
// A float counter stops moving once the coordinates are so large that adding
// the step changes nothing, and its loop never ends; a count always runs out.

namespace nj {

// No run of parts is longer, however large a mission makes a piece: the
// field is 960 units across, and the smallest step is 5.
inline constexpr int kMaxRepeatedParts = 1000;

}  // namespace nj
