#include "audio/cue_synthesis.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const nj::CueBank& bank() {
    static const nj::CueBank cues = nj::synthesizeCues();
    return cues;
}

// 17639 (0.4 s counted in single precision), not 17640; a new triangle note
// enters near its trough, so its start is a sharp step in the mix.
TEST(CueSynthesis, TheLastSuccessNoteStartsAtSample17639) {
    EXPECT_EQ(nj::successNoteStarts().back(), 17639u);
    const auto& s = bank()[7];
    EXPECT_LT(s[17639] - s[17638], -5000);
    EXPECT_LT(std::abs(s[17640] - s[17639]), 2500);
}

// The generator is made afresh for each synthesis.
TEST(CueSynthesis, TheSeededHissRepeatsExactly) {
    EXPECT_EQ(nj::synthesizeCues()[4], bank()[4]);
}

TEST(CueSynthesis, EveryCueFadesToAboutOnePercentAndNeverClips) {
    for (int c = 0; c < nj::kCueCount; ++c) {
        const auto& s = bank()[c];
        const std::size_t window = s.size() / 10;
        auto peak = [&](std::size_t from, std::size_t to) {
            int p = 0;
            for (std::size_t i = from; i < to; ++i)
                p = std::max(p, std::abs(static_cast<int>(s[i])));
            return p;
        };
        const int head = peak(0, window);
        const int tail = peak(s.size() - window / 4, s.size());
        EXPECT_GT(head, 1000) << nj::cueFileStem(c);
        EXPECT_LT(tail, head / 8) << nj::cueFileStem(c) << " should fade out";
        EXPECT_LE(peak(0, s.size()), 32767) << nj::cueFileStem(c);
    }
}

// A 44-byte header, then the samples as 16-bit little-endian words.
TEST(CueSynthesis, WavFilesCarryTheSamplesAfterTheHeader) {
    const auto wav = nj::encodeWav(bank()[2]);
    ASSERT_EQ(wav.size(), 44 + 2 * bank()[2].size());
    EXPECT_EQ(static_cast<std::int16_t>(wav[44] | (wav[45] << 8)), bank()[2][0]);
}

}  // namespace
