// Outlines of sliced cones (see cone_outline.hpp).

#include "render/scene/cone_outline.hpp"

#include <cmath>

#include "render/primitives.hpp"

namespace nj {
namespace {

constexpr float kEdgeThickness = 1.2f;

}  // namespace

void ConeOutline::line(float a0, float r0, float a1, float r1) {
    drawLine(batch_, x_ + r0 * std::cos(a0), y_ + r0 * std::sin(a0), x_ + r1 * std::cos(a1),
             y_ + r1 * std::sin(a1), kEdgeThickness, color_);
}

void ConeOutline::slice(float a0, float r0, float a1, float r1) {
    if (!started_) line(a0, 0, a0, r0);
    line(a0, r0, a1, r1);
    started_ = true;
    lastAngle_ = a1;
    lastRadius_ = r1;
}

void ConeOutline::close() {
    if (started_) line(lastAngle_, lastRadius_, lastAngle_, 0);
    started_ = false;
}

}  // namespace nj
