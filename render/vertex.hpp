#pragma once
// The vertex every primitive writes and the fixed canvas the game draws in.

#include <cstddef>
#include <cstdint>

#include "core/color.hpp"

namespace nj {

// Everything is drawn in a 960 x 540 canvas, origin top-left, y down. Angles are
// radians, 0 along +x, growing towards +y (clockwise on screen).
inline constexpr float kCanvasWidth = 960.0f;
inline constexpr float kCanvasHeight = 540.0f;

// One frame slot's vertex buffer: 8 MiB of 32-byte vertices (87,381 whole triangles).
inline constexpr uint32_t kVerticesPerSlot = 262144;

// Layout of the vertex buffer; the vertex shader reads it as locations 0, 1, 2.
struct Vertex {
    float x = 0.0f, y = 0.0f;  // canvas units while a primitive builds it; device coordinates
                               // (-1..1, y down) once it is in the buffer
    Color color;               // straight alpha, 0..1
    float u = 0.0f, v = 0.0f;  // texture coordinates; only the overlay reads them
};
static_assert(sizeof(Vertex) == 32);
static_assert(offsetof(Vertex, color) == 8);
static_assert(offsetof(Vertex, u) == 24);
static_assert(sizeof(Vertex) * kVerticesPerSlot == 0x800000);

}  // namespace nj
