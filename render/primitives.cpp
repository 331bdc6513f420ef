// Rectangles, curves, lines and gradients turned into triangles for the batch.

#include "render/primitives.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace nj {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr int kCornerSteps = 8;     // per quarter circle of a rounded rectangle
constexpr int kMinClosedSteps = 8;  // circles, rings and ellipses
constexpr int kMinSectorSteps = 4;

Vertex at(float x, float y, const Color& color, float u = 0.0f, float v = 0.0f) {
    return Vertex{x, y, color, u, v};
}

void writeShadedRect(TriangleWriter& out, float x, float y, float w, float h, const Color& tl,
                     const Color& tr, const Color& br, const Color& bl) {
    const Vertex a = at(x, y, tl, 0.0f, 0.0f);
    const Vertex b = at(x + w, y, tr, 1.0f, 0.0f);
    const Vertex c = at(x + w, y + h, br, 1.0f, 1.0f);
    const Vertex d = at(x, y + h, bl, 0.0f, 1.0f);
    out.add(a, b, c);
    out.add(a, c, d);
}

// cos and sin of one step's angle.
struct Direction {
    float c, s;
};

// An axis-aligned ellipse of radii (rx, ry) around (cx, cy), then turned about
// its centre; a circle is rx == ry with no turn.
struct Ellipse {
    float cx, cy, rx, ry;
    float cosTurn = 1.0f, sinTurn = 0.0f;

    Vertex point(Direction d, const Color& color) const {
        const float px = rx * d.c;
        const float py = ry * d.s;
        return at(cx + px * cosTurn - py * sinTurn, cy + px * sinTurn + py * cosTurn, color);
    }
};

Ellipse turned(float cx, float cy, float rx, float ry, float rotation) {
    return Ellipse{cx, cy, rx, ry, std::cos(rotation), std::sin(rotation)};
}

// An arc from `start` sweeping `sweep` radians in `steps` steps; step i's angle
// is computed from i / steps so the arc ends exactly at start + sweep.
struct Arc {
    float start, sweep;
    int steps;
    float angle(int i) const { return start + sweep * static_cast<float>(i) / steps; }
};

// Whole circles with the usual segment counts share one table of directions per
// count: the same values as computing each step, without the trigonometry.
constexpr int kCachedTurnSteps = 128;

const Direction* cachedFullTurn(const Arc& arc) {
    thread_local std::array<std::vector<Direction>, kCachedTurnSteps + 1> tables;
    std::vector<Direction>& table = tables[static_cast<size_t>(arc.steps)];
    if (table.empty()) {
        for (int i = 0; i <= arc.steps; ++i) {
            table.push_back({std::cos(arc.angle(i)), std::sin(arc.angle(i))});
        }
    }
    return table.data();
}

class ArcDirections {
  public:
    ArcDirections(const Arc& arc, bool fullTurn)
        : arc_(arc),
          table_(fullTurn && arc.steps <= kCachedTurnSteps ? cachedFullTurn(arc) : nullptr) {}

    Direction at(int i) const {
        if (table_ != nullptr) return table_[i];
        const float a = arc_.angle(i);
        return {std::cos(a), std::sin(a)};
    }
    int steps() const { return arc_.steps; }

  private:
    Arc arc_;
    const Direction* table_;  // steps + 1 directions, or null to compute each
};

void writeFan(TriangleWriter& out, const Ellipse& rim, const ArcDirections& arc,
              const Color& centreColor, const Color& rimColor) {
    const Vertex centre = at(rim.cx, rim.cy, centreColor);
    Vertex previous = rim.point(arc.at(0), rimColor);
    for (int i = 0; i < arc.steps(); ++i) {
        const Vertex next = rim.point(arc.at(i + 1), rimColor);
        out.add(centre, previous, next);
        previous = next;
    }
}

void writeBand(TriangleWriter& out, const Ellipse& inner, const Ellipse& outer,
               const ArcDirections& arc, const Color& color) {
    Direction d = arc.at(0);
    Vertex in0 = inner.point(d, color);
    Vertex out0 = outer.point(d, color);
    for (int i = 0; i < arc.steps(); ++i) {
        d = arc.at(i + 1);
        const Vertex in1 = inner.point(d, color);
        const Vertex out1 = outer.point(d, color);
        out.add(in0, out0, out1);
        out.add(in0, out1, in1);
        in0 = in1;
        out0 = out1;
    }
}

ArcDirections fullTurn(int segments) {
    return ArcDirections(Arc{0.0f, 2.0f * kPi, std::max(segments, kMinClosedSteps)}, true);
}

ArcDirections quarterTurn(float start) {
    return ArcDirections(Arc{start, kPi / 2.0f, kCornerSteps}, false);
}

// The four rounded corners, clockwise from bottom-right, each a quarter turn.
struct Corner {
    float cx, cy, startAngle;
};

struct RoundedCorners {
    float r;  // radius after clamping to half the width and height
    Corner corners[4];
};

RoundedCorners roundedCorners(float x, float y, float w, float h, float radius) {
    const float r = std::min({radius, w / 2.0f, h / 2.0f});
    return RoundedCorners{r,
                          {{x + w - r, y + h - r, 0.0f},
                           {x + r, y + h - r, kPi / 2.0f},
                           {x + r, y + r, kPi},
                           {x + w - r, y + r, 3.0f * kPi / 2.0f}}};
}

}  // namespace

void writeRect(TriangleWriter& out, float x, float y, float w, float h, const Color& color) {
    writeShadedRect(out, x, y, w, h, color, color, color, color);
}

void fillTriangle(Batch& batch, float x1, float y1, float x2, float y2, float x3, float y3,
                  const Color& color) {
    batch.pushTriangle(at(x1, y1, color), at(x2, y2, color), at(x3, y3, color));
}

void fillRect(Batch& batch, float x, float y, float w, float h, const Color& color) {
    TriangleWriter out = batch.reserve(2);
    writeRect(out, x, y, w, h, color);
}

void fillGradientRectH(Batch& batch, float x, float y, float w, float h, const Color& left,
                       const Color& right) {
    TriangleWriter out = batch.reserve(2);
    writeShadedRect(out, x, y, w, h, left, right, right, left);
}

void fillGradientRectV(Batch& batch, float x, float y, float w, float h, const Color& top,
                       const Color& bottom) {
    TriangleWriter out = batch.reserve(2);
    writeShadedRect(out, x, y, w, h, top, top, bottom, bottom);
}

void rectOutline(Batch& batch, float x, float y, float w, float h, float thickness,
                 const Color& color) {
    const float t = thickness;
    TriangleWriter out = batch.reserve(8);
    writeRect(out, x, y, w, t, color);
    writeRect(out, x, y + h - t, w, t, color);
    writeRect(out, x, y + t, t, h - 2 * t, color);
    writeRect(out, x + w - t, y + t, t, h - 2 * t, color);
}

void fillRoundedRect(Batch& batch, float x, float y, float w, float h, float radius,
                     const Color& color) {
    const RoundedCorners rc = roundedCorners(x, y, w, h, radius);
    const float r = rc.r;
    TriangleWriter out = batch.reserve(3 * 2 + 4 * kCornerSteps);
    if (!out) return;
    writeRect(out, x + r, y, w - 2 * r, h, color);
    writeRect(out, x, y + r, r, h - 2 * r, color);
    writeRect(out, x + w - r, y + r, r, h - 2 * r, color);
    for (const Corner& c : rc.corners) {
        writeFan(out, Ellipse{c.cx, c.cy, r, r}, quarterTurn(c.startAngle), color, color);
    }
}

void roundedRectOutline(Batch& batch, float x, float y, float w, float h, float radius,
                        float thickness, const Color& color) {
    const RoundedCorners rc = roundedCorners(x, y, w, h, radius);
    const float r = rc.r;
    const float t = thickness;
    TriangleWriter out = batch.reserve(4 * 2 + 4 * 2 * kCornerSteps);
    if (!out) return;
    writeRect(out, x + r, y, w - 2 * r, t, color);
    writeRect(out, x + r, y + h - t, w - 2 * r, t, color);
    writeRect(out, x, y + r, t, h - 2 * r, color);
    writeRect(out, x + w - t, y + r, t, h - 2 * r, color);
    for (const Corner& c : rc.corners) {
        writeBand(out, Ellipse{c.cx, c.cy, r - t, r - t}, Ellipse{c.cx, c.cy, r, r},
                  quarterTurn(c.startAngle), color);
    }
}

void fillCircle(Batch& batch, float cx, float cy, float radius, const Color& color, int segments) {
    fillCircleGradient(batch, cx, cy, radius, color, color, segments);
}

void fillCircleGradient(Batch& batch, float cx, float cy, float radius, const Color& centre,
                        const Color& rim, int segments) {
    const ArcDirections arc = fullTurn(segments);
    TriangleWriter out = batch.reserve(static_cast<uint64_t>(arc.steps()));
    if (!out) return;
    writeFan(out, Ellipse{cx, cy, radius, radius}, arc, centre, rim);
}

void circleOutline(Batch& batch, float cx, float cy, float radius, float thickness,
                   const Color& color, int segments) {
    const ArcDirections arc = fullTurn(segments);
    TriangleWriter out = batch.reserve(2 * static_cast<uint64_t>(arc.steps()));
    if (!out) return;
    const float inner = radius - thickness;
    writeBand(out, Ellipse{cx, cy, inner, inner}, Ellipse{cx, cy, radius, radius}, arc, color);
}

void fillEllipse(Batch& batch, float cx, float cy, float rx, float ry, float rotation,
                 const Color& color, int segments) {
    const ArcDirections arc = fullTurn(segments);
    TriangleWriter out = batch.reserve(static_cast<uint64_t>(arc.steps()));
    if (!out) return;
    writeFan(out, turned(cx, cy, rx, ry, rotation), arc, color, color);
}

void ellipseOutline(Batch& batch, float cx, float cy, float rx, float ry, float rotation,
                    float thickness, const Color& color, int segments) {
    const ArcDirections arc = fullTurn(segments);
    TriangleWriter out = batch.reserve(2 * static_cast<uint64_t>(arc.steps()));
    if (!out) return;
    writeBand(out, turned(cx, cy, rx - thickness, ry - thickness, rotation),
              turned(cx, cy, rx, ry, rotation), arc, color);
}

void fillSector(Batch& batch, float cx, float cy, float radius, float a0, float a1,
                const Color& centre, const Color& rim, int segments) {
    const ArcDirections arc(Arc{a0, a1 - a0, std::max(segments, kMinSectorSteps)}, false);
    TriangleWriter out = batch.reserve(static_cast<uint64_t>(arc.steps()));
    if (!out) return;
    writeFan(out, Ellipse{cx, cy, radius, radius}, arc, centre, rim);
}

//   A ------------- B     A, B = ends + o; C, D = ends - o, where o is the
//   p1 ----------- p2     segment's left normal times half the thickness;
//   D ------------- C     texture coordinates (0,0) (1,0) (1,1) (0,1)
void drawLine(Batch& batch, float x1, float y1, float x2, float y2, float thickness,
              const Color& color) {
    const float dx = x2 - x1;
    const float dy = y2 - y1;
    const float length = std::hypot(dx, dy);
    if (!(length >= 0.0001f)) return;
    const float ox = -dy / length * thickness / 2.0f;
    const float oy = dx / length * thickness / 2.0f;
    const Vertex a = at(x1 + ox, y1 + oy, color, 0.0f, 0.0f);
    const Vertex b = at(x2 + ox, y2 + oy, color, 1.0f, 0.0f);
    const Vertex c = at(x2 - ox, y2 - oy, color, 1.0f, 1.0f);
    const Vertex d = at(x1 - ox, y1 - oy, color, 0.0f, 1.0f);
    TriangleWriter out = batch.reserve(2);
    out.add(a, b, c);
    out.add(a, c, d);
}

void fillRotatedRect(Batch& batch, float cx, float cy, float w, float h, float rotation,
                     const Color& color) {
    const float c = std::cos(rotation);
    const float s = std::sin(rotation);
    auto corner = [&](float px, float py) {
        return at(cx + px * c - py * s, cy + px * s + py * c, color);
    };
    const Vertex v0 = corner(-w / 2, -h / 2);
    const Vertex v1 = corner(w / 2, -h / 2);
    const Vertex v2 = corner(w / 2, h / 2);
    const Vertex v3 = corner(-w / 2, h / 2);
    TriangleWriter out = batch.reserve(2);
    out.add(v0, v1, v2);
    out.add(v0, v2, v3);
}

}  // namespace nj
