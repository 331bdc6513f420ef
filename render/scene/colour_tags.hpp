#pragma once
// Colour tags: a door's or keycard's colour told by a shape as well, so a
// player who cannot tell ruby from emerald still matches a card to its door.

#include <string_view>

#include "core/color.hpp"
#include "render/batch.hpp"

namespace nj {

// One shape per colour the game knows; a name it does not know is cyan's, as
// its colour is.
enum class ColourShape { Disc, Triangle, Square, Cross };
ColourShape shapeForName(std::string_view name);

// The shape drawn light on the tag.
Color tagInkFor(std::string_view name);

// A dark disc of `radius` ringed in the colour, with the colour's shape on it.
void drawColourTag(Batch& batch, float x, float y, float radius, std::string_view name);

}  // namespace nj
