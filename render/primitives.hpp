#pragma once
// The shapes of the play field. Every primitive only appends triangles to the
// batch; positions and sizes are canvas units, angles radians (0 along +x,
// turning towards +y). A fan is the triangles (centre, P(i), P(i+1)); a band is,
// per step, the quad inner(i), outer(i), outer(i+1), inner(i+1) as the triangles
// (inner(i), outer(i), outer(i+1)) and (inner(i), outer(i+1), inner(i+1)).
// Curves compute each point from i/n directly, so a closed curve ends where it
// began. A primitive that would overflow the frame's vertex room is dropped whole.

#include "core/color.hpp"
#include "render/batch.hpp"

namespace nj {

void fillTriangle(Batch& batch, float x1, float y1, float x2, float y2, float x3, float y3,
                  const Color& color);

//  TL(x,y) ---- TR(x+w,y)       triangles (TL, TR, BR), (TL, BR, BL);
//    |            |             texture coordinates (0,0) (1,0) (1,1) (0,1)
//  BL(x,y+h) -- BR(x+w,y+h)
void fillRect(Batch& batch, float x, float y, float w, float h, const Color& color);
// fillRect's two triangles into room reserved by a primitive made of rectangles.
void writeRect(TriangleWriter& out, float x, float y, float w, float h, const Color& color);
void fillGradientRectH(Batch& batch, float x, float y, float w, float h, const Color& left,
                       const Color& right);
void fillGradientRectV(Batch& batch, float x, float y, float w, float h, const Color& top,
                       const Color& bottom);
// Four bars inside the rectangle: top and bottom full width, the sides between them.
void rectOutline(Batch& batch, float x, float y, float w, float h, float thickness,
                 const Color& color);

// The corner radius is clamped to half the width and half the height.
void fillRoundedRect(Batch& batch, float x, float y, float w, float h, float radius,
                     const Color& color);
void roundedRectOutline(Batch& batch, float x, float y, float w, float h, float radius,
                        float thickness, const Color& color);

// Closed curves use at least 8 segments.
void fillCircle(Batch& batch, float cx, float cy, float radius, const Color& color, int segments);
void fillCircleGradient(Batch& batch, float cx, float cy, float radius, const Color& centre,
                        const Color& rim, int segments);
// A ring between radius - thickness and radius.
void circleOutline(Batch& batch, float cx, float cy, float radius, float thickness,
                   const Color& color, int segments);
void fillEllipse(Batch& batch, float cx, float cy, float rx, float ry, float rotation,
                 const Color& color, int segments);
void ellipseOutline(Batch& batch, float cx, float cy, float rx, float ry, float rotation,
                    float thickness, const Color& color, int segments);

// A pie slice from angle a0 to a1, at least 4 segments; vision cones use it.
void fillSector(Batch& batch, float cx, float cy, float radius, float a0, float a1,
                const Color& centre, const Color& rim, int segments);

// A quad of the given thickness centred on the segment; nothing for a segment
// shorter than 0.0001.
void drawLine(Batch& batch, float x1, float y1, float x2, float y2, float thickness,
              const Color& color);

// A w x h rectangle centred on (cx, cy), turned by `rotation`.
void fillRotatedRect(Batch& batch, float cx, float cy, float w, float h, float rotation,
                     const Color& color);

}  // namespace nj
