#pragma once
// The crisp outline of a cone drawn as pie slices: the first side out from the
// apex, the far edge of every slice (stepping in or out where neighbours reach
// differently) and the last side back. High-contrast cones wear it, so a cone
// reads as sight and never as a lamp's soft pool.

#include "core/color.hpp"
#include "render/batch.hpp"

namespace nj {

class ConeOutline {
  public:
    ConeOutline(Batch& batch, float x, float y, const Color& color)
        : batch_(batch), x_(x), y_(y), color_(color) {}

    // The slices in turn, each from angle a0 to a1 at its own radius.
    void slice(float a0, float a1, float radius);
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
