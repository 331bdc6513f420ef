#pragma once
// A batch backed by ordinary memory that logs the draws and pipeline binds it
// is asked for, so geometry can be checked without a GPU.

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

}  // namespace nj::test
