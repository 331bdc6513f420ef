#pragma once
// A batch in ordinary memory that logs its draws and binds, so geometry is checked without a GPU.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "render/batch.hpp"

namespace nj::test {

class CpuBatch : public Batch {
  public:
    explicit CpuBatch(uint32_t capacity = kVerticesPerSlot) : storage(capacity) {}

    void begin() { startBatches(storage.data(), static_cast<uint32_t>(storage.size())); }
    void end() { stopBatches(); }

    // The vertices written this frame, converted back to canvas units.
    std::vector<Vertex> written() const {
        std::vector<Vertex> out;
        const uint32_t used = batchFirstVertex() + batchVertexCount();
        for (uint32_t i = 0; i < used; ++i) {
            Vertex v = storage[i];
            v.x = (v.x + 1.0f) / 2.0f * kCanvasWidth;
            v.y = (v.y + 1.0f) / 2.0f * kCanvasHeight;
            out.push_back(v);
        }
        return out;
    }

    std::vector<Vertex> storage;
    std::vector<std::string> log;  // "draw first count" and "bind alpha|additive|textured"

  protected:
    void recordDraw(uint32_t first, uint32_t count) override {
        log.push_back("draw " + std::to_string(first) + " " + std::to_string(count));
    }
    void recordPipelineBind(Pipeline p) override {
        log.push_back(p == Pipeline::Additive   ? "bind additive"
                      : p == Pipeline::Textured ? "bind textured"
                                                : "bind alpha");
    }
};

// What `draw` writes into a fresh batch, in canvas units.
inline std::vector<Vertex> drawnBy(const std::function<void(CpuBatch&)>& draw) {
    CpuBatch batch;
    batch.begin();
    draw(batch);
    return batch.written();
}

inline constexpr float kColorTol = 1e-4f;
inline constexpr float kPosTol = 2e-3f;  // canvas units after the trip through device space

inline bool sameColor(const Color& a, const Color& b) {
    return std::fabs(a.r - b.r) < kColorTol && std::fabs(a.g - b.g) < kColorTol &&
           std::fabs(a.b - b.b) < kColorTol && std::fabs(a.a - b.a) < kColorTol;
}

inline bool sameVertex(const Vertex& a, const Vertex& b) {
    return std::fabs(a.x - b.x) <= kPosTol && std::fabs(a.y - b.y) <= kPosTol &&
           sameColor(a.color, b.color);
}

inline bool sameVertices(const std::vector<Vertex>& a, const std::vector<Vertex>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameVertex);
}

struct Bounds {
    float minX = 1e30f, minY = 1e30f, maxX = -1e30f, maxY = -1e30f;
};

inline Bounds boundsOf(const std::vector<Vertex>& vs) {
    Bounds b;
    for (const Vertex& v : vs) {
        b.minX = std::min(b.minX, v.x);
        b.minY = std::min(b.minY, v.y);
        b.maxX = std::max(b.maxX, v.x);
        b.maxY = std::max(b.maxY, v.y);
    }
    return b;
}

inline void expectBox(const Bounds& b, float x, float y, float w, float h, float tol = kPosTol) {
    EXPECT_NEAR(b.minX, x, tol);
    EXPECT_NEAR(b.minY, y, tol);
    EXPECT_NEAR(b.maxX, x + w, tol);
    EXPECT_NEAR(b.maxY, y + h, tol);
}

}  // namespace nj::test
