#pragma once
// The crisp outline of a cone drawn as pie slices: the first side out from the
// apex, the far edge through the ends of the sight rays that bound the slices,
// and the last side back. High-contrast cones wear it, so a cone reads as sight
// and never as a lamp's soft pool.

#include "core/color.hpp"
#include "render/batch.hpp"

namespace nj {

class ConeOutline {
  public:
    ConeOutline(Batch& batch, float x, float y, const Color& color)
        : batch_(batch), x_(x), y_(y), color_(color) {}

    // The slices in turn, each from the ray at angle a0 reaching r0 to the ray
    // at a1 reaching r1.
    void slice(float a0, float r0, float a1, float r1);
    // The last side, back to the apex.
    void close();

  private:
    void line(float a0, float r0, float a1, float r1);

    Batch& batch_;
    float x_, y_;
    Color color_;
    bool started_ = false;
    float lastAngle_ = 0.0f, lastRadius_ = 0.0f;
};

}  // namespace nj
