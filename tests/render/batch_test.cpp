#include "render/batch.hpp"

#include <gtest/gtest.h>

#include "render/primitives.hpp"
#include "tests/render/cpu_batch.hpp"

using nj::Color;
using nj::Vertex;
using nj::test::CpuBatch;

namespace {

const Color kWhite{1, 1, 1, 1};

// A primitive that does not fit is dropped whole, writing nothing; smaller
// ones after it still fit.
TEST(BatchCapacity, APrimitiveThatDoesNotFitIsDroppedWholeAndSmallerOnesStillFit) {
    CpuBatch batch(31);
    batch.begin();
    nj::fillCircle(batch, 100, 100, 10, kWhite, 8);       // 24 vertices
    nj::fillRoundedRect(batch, 0, 0, 50, 50, 5, kWhite);  // far too many for the rest
    EXPECT_EQ(batch.batchVertexCount(), 24u);
    nj::fillRect(batch, 0, 0, 1, 1, kWhite);  // 6 of the 7 left
    EXPECT_EQ(batch.batchVertexCount(), 30u);
    nj::fillTriangle(batch, 5, 5, 6, 5, 5, 6, {1, 0, 0, 1});
    EXPECT_EQ(batch.batchVertexCount(), 30u);
    EXPECT_EQ(batch.storage[30].color.r, 0.0f) << "the dropped triangle wrote into the last vertex";
    batch.flushBatch();
    EXPECT_EQ(batch.log, (std::vector<std::string>{"draw 0 30"}));
    // A segment count that would overflow 32-bit vertex arithmetic is simply too big.
    CpuBatch big;
    big.begin();
    nj::fillCircle(big, 0, 0, 1, kWhite, 1 << 30);
    nj::circleOutline(big, 0, 0, 1, 1, kWhite, 2147483647);
    EXPECT_EQ(big.batchVertexCount(), 0u);
}

// A flush draws what is pending once; a blend change flushes first and binds
// only when the blend really changes.
TEST(BatchDraws, FlushesDrawOnceAndBlendChangesBindOnce) {
    CpuBatch batch;
    batch.begin();
    batch.flushBatch();  // nothing pending: no draw
    nj::fillRect(batch, 0, 0, 10, 10, kWhite);
    batch.setAdditiveBlend(true);
    batch.setAdditiveBlend(true);
    EXPECT_TRUE(batch.additiveBlend());
    nj::fillRect(batch, 0, 0, 10, 10, kWhite);
    batch.flushBatch();
    batch.flushBatch();
    EXPECT_EQ(batch.batchFirstVertex(), 12u);
    batch.setAdditiveBlend(false);
    batch.setAdditiveBlend(true);  // nothing pending: a bind but no draw
    EXPECT_EQ(batch.log, (std::vector<std::string>{"draw 0 6", "bind additive", "draw 6 6",
                                                   "bind alpha", "bind additive"}));
}

TEST(BatchFrames, EachFrameStartsEmptyWithAlphaBlendingAndNothingSticksBetweenFrames) {
    CpuBatch batch;
    nj::fillRect(batch, 0, 0, 10, 10, kWhite);  // no frame yet: discarded
    batch.flushBatch();
    batch.setAdditiveBlend(true);  // remembered, but nothing is recorded outside a frame
    EXPECT_TRUE(batch.log.empty());
    EXPECT_EQ(batch.batchVertexCount(), 0u);

    batch.begin();
    EXPECT_FALSE(batch.additiveBlend());
    nj::fillRect(batch, 0, 0, 10, 10, kWhite);
    batch.setAdditiveBlend(true);
    batch.end();
    batch.begin();
    EXPECT_FALSE(batch.additiveBlend());
    EXPECT_EQ(batch.batchFirstVertex(), 0u);
    EXPECT_EQ(batch.batchVertexCount(), 0u);
}

}  // namespace
