// Colour tags on doors and keycards: cyan a disc, ruby a triangle, emerald a
// square, purple a cross, each on a dark disc ringed in the colour.

#include "render/scene/colour_tags.hpp"

#include "render/primitives.hpp"
#include "render/scene/scene_palette.hpp"

namespace nj {
namespace {

constexpr Color kTagBack{0.03f, 0.04f, 0.06f, 0.95f};

// Halfway to white keeps the colour's hint while standing out on the dark tag.
Color lightened(const Color& c) {
    return {0.5f * (c.r + 1), 0.5f * (c.g + 1), 0.5f * (c.b + 1), 1};
}

// Each shape fills about the same area inside the ring, so none reads as the
// odd one out by its size alone.
void drawShape(Batch& batch, float x, float y, float r, ColourShape shape, const Color& ink) {
    switch (shape) {
        case ColourShape::Disc:
            fillCircle(batch, x, y, 0.56f * r, ink, 16);
            break;
        case ColourShape::Triangle:
            // Point up, its centroid on the tag's centre.
            fillTriangle(batch, x, y - 0.8f * r, x + 0.72f * r, y + 0.42f * r, x - 0.72f * r,
                         y + 0.42f * r, ink);
            break;
        case ColourShape::Square:
            fillRect(batch, x - 0.5f * r, y - 0.5f * r, r, r, ink);
            break;
        case ColourShape::Cross:
            fillRect(batch, x - 0.7f * r, y - 0.19f * r, 1.4f * r, 0.38f * r, ink);
            fillRect(batch, x - 0.19f * r, y - 0.7f * r, 0.38f * r, 1.4f * r, ink);
            break;
    }
}

}  // namespace

ColourShape shapeForName(std::string_view name) {
    if (name == "ruby") return ColourShape::Triangle;
    if (name == "emerald") return ColourShape::Square;
    if (name == "purple") return ColourShape::Cross;
    return ColourShape::Disc;
}

Color tagInkFor(std::string_view name) {
    return lightened(colorForName(name));
}

void drawColourTag(Batch& batch, float x, float y, float radius, std::string_view name) {
    fillCircle(batch, x, y, radius, kTagBack, 20);
    circleOutline(batch, x, y, radius, 1.0f, colorForName(name), 20);
    drawShape(batch, x, y, radius - 1.0f, shapeForName(name), tagInkFor(name));
}

}  // namespace nj
