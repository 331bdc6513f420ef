#pragma once
// The batch: primitives append triangles to the current frame slot's vertex
// memory, and runs of vertices drawn with one pipeline become one draw call.

#include <cstddef>
#include <cstdint>

#include "render/vertex.hpp"

namespace nj {

// The three pipelines; the batch only ever switches between the first two.
enum class Pipeline : uint8_t { AlphaBlend, Additive, Textured };

// The layers a renderer may keep as pictures because they look the same frame
// after frame. The ground is opaque and the first thing a frame draws (the
// floor). The others lie over things that move and have see-through parts
// (furniture, wall tops): their pictures are blended over whatever lies
// beneath, so they must be drawn with alpha blending only.
enum class StaticLayer : uint8_t { Ground, Middle, Top };
inline constexpr std::size_t kStaticLayerCount = 3;

class Batch;

// Room for a fixed number of triangles, handed out by Batch::reserve. Each
// primitive asks once for everything it will write, so a primitive that does
// not fit is dropped whole instead of being cut off half drawn.
class TriangleWriter {
  public:
    TriangleWriter() = default;
    explicit operator bool() const { return next_ != nullptr; }

    // Corners in canvas units; stored in device coordinates. Ignored once the
    // reserved room is used up.
    void add(const Vertex& a, const Vertex& b, const Vertex& c);

  private:
    friend class Batch;
    TriangleWriter(Vertex* next, Vertex* end) : next_(next), end_(end) {}
    Vertex* next_ = nullptr;  // where the next triangle goes; null when nothing was reserved
    Vertex* end_ = nullptr;   // one past the reserved room
};

// The processor's side of the 2D batch renderer. It owns no memory: a frame
// points it at the slot's mapped vertex buffer, and a subclass records the
// draws and pipeline binds (the Vulkan renderer, or a test double).
class Batch {
  public:
    virtual ~Batch() = default;

    // Room for `triangles` more triangles, or an empty writer when they would
    // take the batch past the slot's capacity or no frame is being recorded.
    TriangleWriter reserve(uint64_t triangles);

    void pushTriangle(const Vertex& a, const Vertex& b, const Vertex& c);

    // Issues the pending vertices as one draw and starts the next batch right after them.
    void flushBatch();

    // Switches between alpha and additive blending; a new value ends the batch.
    void setAdditiveBlend(bool on);

    // A layer that looks the same frame after frame (the floor under a
    // mission's walls) may be kept by the renderer. True: the caller draws the
    // layer now and then calls endStaticLayer(). False: the kept picture of
    // the layer named `key` was drawn in its place. This base draws always.
    virtual bool beginStaticLayer(std::uint64_t key, StaticLayer layer = StaticLayer::Ground) {
        (void)key;
        (void)layer;
        return true;
    }
    virtual void endStaticLayer() {}

    bool recordingFrame() const { return vertices_ != nullptr; }
    bool additiveBlend() const { return additive_; }
    uint32_t batchFirstVertex() const { return first_; }
    uint32_t batchVertexCount() const { return count_; }

  protected:
    // Starts a frame's batches in `vertices` (room for `capacity` vertices), with
    // alpha blending, which the caller has already bound.
    void startBatches(Vertex* vertices, uint32_t capacity);
    // Ends the frame: from now on every primitive is discarded.
    void stopBatches();

    virtual void recordDraw(uint32_t firstVertex, uint32_t vertexCount) = 0;
    virtual void recordPipelineBind(Pipeline pipeline) = 0;

  private:
    Vertex* vertices_ = nullptr;  // the slot's mapped vertices; null between frames
    uint32_t capacity_ = 0;       // vertices that fit in vertices_
    uint32_t first_ = 0;          // first vertex of the pending batch
    uint32_t count_ = 0;          // vertices in the pending batch; first_ + count_ <= capacity_
    bool additive_ = false;       // which blend pipeline is bound
};

}  // namespace nj
