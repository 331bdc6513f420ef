// Processor cost of recording a busy play-field frame into the batch.
//
// About 5,000 primitives of the mix a mission frame draws, written into ordinary
// memory the way they are written into the mapped vertex buffer.

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "render/batch.hpp"
#include "render/font.hpp"
#include "render/primitives.hpp"

namespace {

// A batch over plain memory that only counts the draws it would record.
class CountingBatch : public nj::Batch {
  public:
    CountingBatch() : vertices_(nj::kVerticesPerSlot) {}
    void begin() { startBatches(vertices_.data(), nj::kVerticesPerSlot); }
    void end() { stopBatches(); }
    uint64_t draws = 0;

  protected:
    void recordDraw(uint32_t, uint32_t) override { ++draws; }
    void recordPipelineBind(nj::Pipeline) override {}

  private:
    std::vector<nj::Vertex> vertices_;
};

// 5,000 primitives: walls and furniture, lit circles, cones, lasers, labels.
void recordBusyFrame(nj::Batch& b, int frame) {
    const nj::Color wall{0.2f, 0.25f, 0.3f, 1};
    const nj::Color glow{0.1f, 0.7f, 0.9f, 0.3f};
    const float t = static_cast<float>(frame) * 0.01f;
    for (int i = 0; i < 2000; ++i) {
        const float x = static_cast<float>(i % 80) * 12;
        const float y = static_cast<float>(i / 80) * 21;
        nj::fillRect(b, x, y, 10, 18, wall);
    }
    for (int i = 0; i < 1000; ++i) {
        nj::fillCircle(b, static_cast<float>(i % 40) * 24, static_cast<float>(i / 40) * 21, 6,
                       nj::kCyan, 16);
    }
    for (int i = 0; i < 1000; ++i) {
        const float x = static_cast<float>(i % 50) * 19;
        nj::drawLine(b, x, 0, x + 40 * std::cos(t), 540, 1.5f, nj::kRuby);
    }
    b.setAdditiveBlend(true);
    for (int i = 0; i < 400; ++i) {
        const float a = t + static_cast<float>(i);
        nj::fillSector(b, static_cast<float>(i % 20) * 48, static_cast<float>(i / 20) * 27, 80, a,
                       a + 0.9f, glow, {0.1f, 0.7f, 0.9f, 0}, 16);
    }
    for (int i = 0; i < 300; ++i) {
        nj::fillCircleGradient(b, static_cast<float>(i % 30) * 32, static_cast<float>(i / 30) * 54,
                               20, glow, {0, 0, 0, 0}, 24);
    }
    b.setAdditiveBlend(false);
    for (int i = 0; i < 300; ++i) {
        nj::drawText(b, "GUARD 12", static_cast<float>(i % 15) * 64,
                     static_cast<float>(i / 15) * 27, 1, nj::kGold, nj::TextAlign::Left);
    }
    b.flushBatch();
}

void BM_RecordBusyFrame(benchmark::State& state) {
    CountingBatch batch;
    int frame = 0;
    uint64_t vertices = 0;
    for (auto _ : state) {
        batch.begin();
        recordBusyFrame(batch, frame++);
        vertices = batch.batchFirstVertex();
        batch.end();
        benchmark::ClobberMemory();
    }
    state.counters["vertices"] = static_cast<double>(vertices);
    state.counters["draws/frame"] =
        static_cast<double>(batch.draws) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_RecordBusyFrame)->Unit(benchmark::kMicrosecond);

void BM_DrawTextLine(benchmark::State& state) {
    CountingBatch batch;
    const std::string line = "OBJECTIVE: CIPHER CARD (VAULT LEVEL 2)";
    for (auto _ : state) {
        batch.begin();
        nj::drawText(batch, line, 10, 10, 2, nj::kCyan, nj::TextAlign::Left);
        batch.end();
    }
}
BENCHMARK(BM_DrawTextLine);

}  // namespace
