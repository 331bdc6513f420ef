// Appending triangles to the frame's vertex memory and cutting it into draw calls.

#include "render/batch.hpp"

namespace nj {

namespace {

// Canvas units to device coordinates: the canvas spans -1..1 on both axes, and
// Vulkan's y already points down.
Vertex toDevice(const Vertex& v) {
    Vertex out = v;
    out.x = v.x / kCanvasWidth * 2.0f - 1.0f;
    out.y = v.y / kCanvasHeight * 2.0f - 1.0f;
    return out;
}

}  // namespace

void TriangleWriter::add(const Vertex& a, const Vertex& b, const Vertex& c) {
    if (next_ == nullptr || end_ - next_ < 3) return;
    next_[0] = toDevice(a);
    next_[1] = toDevice(b);
    next_[2] = toDevice(c);
    next_ += 3;
}

TriangleWriter Batch::reserve(uint64_t triangles) {
    if (vertices_ == nullptr || triangles == 0) return {};
    const uint64_t used = uint64_t{first_} + count_;
    const uint64_t wanted = triangles * 3;
    if (triangles > capacity_ || used + wanted > capacity_) return {};
    Vertex* start = vertices_ + used;
    count_ += static_cast<uint32_t>(wanted);
    return TriangleWriter(start, start + wanted);
}

void Batch::pushTriangle(const Vertex& a, const Vertex& b, const Vertex& c) {
    reserve(1).add(a, b, c);
}

void Batch::flushBatch() {
    if (count_ == 0 || vertices_ == nullptr) return;
    recordDraw(first_, count_);
    first_ += count_;
    count_ = 0;
}

void Batch::setAdditiveBlend(bool on) {
    if (on == additive_) return;
    flushBatch();
    additive_ = on;
    if (vertices_ != nullptr) recordPipelineBind(on ? Pipeline::Additive : Pipeline::AlphaBlend);
}

void Batch::startBatches(Vertex* vertices, uint32_t capacity) {
    vertices_ = vertices;
    capacity_ = vertices != nullptr ? capacity : 0;
    first_ = 0;
    count_ = 0;
    additive_ = false;
}

void Batch::stopBatches() {
    vertices_ = nullptr;
    capacity_ = 0;
    first_ = 0;
    count_ = 0;
}

}  // namespace nj
