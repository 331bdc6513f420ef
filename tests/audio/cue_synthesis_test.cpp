#include "audio/cue_synthesis.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <random>

namespace {

const nj::CueBank& bank() {
    static const nj::CueBank cues = nj::synthesizeCues();
    return cues;
}

TEST(CueSynthesis, EachCueLastsItsTimeAt44100Hz) {
    const double seconds[8] = {0.04, 0.45, 0.06, 0.18, 0.25, 0.25, 0.45, 1.6};
    for (int c = 0; c < nj::kCueCount; ++c) {
        EXPECT_EQ(bank()[c].size(), static_cast<std::size_t>(std::lround(seconds[c] * 44100)))
            << nj::cueFileStem(c);
    }
}

TEST(CueSynthesis, FirstFootstepSampleIsTakenOnePhaseStepIn) {
    // p = 110 / 44100 after one step: 0.25 * (4p - 1) * 32767, truncated.
    EXPECT_EQ(bank()[0][0], -8110);
}

TEST(CueSynthesis, SuccessNotesStartInSinglePrecision) {
    const auto starts = nj::successNoteStarts();
    const std::array<std::size_t, 6> expected = {0, 3528, 7056, 10584, 14112, 17639};
    EXPECT_EQ(starts, expected);
    // Five notes change by at most ~1,600 per sample; a new triangle note
    // enters near its trough (about -9,400), so its start is a sharp step.
    const auto& s = bank()[7];
    EXPECT_LT(s[17639] - s[17638], -5000);
    EXPECT_LT(std::abs(s[17640] - s[17639]), 2500);
    EXPECT_LT(s[14112] - s[14111], -5000);
}

TEST(CueSynthesis, HissIsSeededNoiseAndRepeatsExactly) {
    // The first hiss sample comes from the first draw of MT19937(777), at full envelope.
    std::mt19937 noise(777);
    const double r = static_cast<double>(noise() >> 8) / 16777216.0;
    const float value = static_cast<float>((2.0 * r - 1.0) * 0.45);
    EXPECT_EQ(bank()[4][0], static_cast<std::int16_t>(value * 32767.0f));
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

TEST(CueSynthesis, BuzzDropsAnOctaveAfterEightyMilliseconds) {
    // Count rising zero crossings of the sawtooth's ramp resets: 880 Hz then 440 Hz.
    const auto& s = bank()[5];
    auto resets = [&](std::size_t from, std::size_t to) {
        int n = 0;
        for (std::size_t i = from + 1; i < to; ++i)
            n += (s[i - 1] > 0 && s[i] < 0 && s[i - 1] - s[i] > 1000);
        return n;
    };
    EXPECT_NEAR(resets(0, 3528), 880 * 0.08, 2);
    EXPECT_NEAR(resets(3528, 3528 + 4410), 440 * 0.1, 2);
}

TEST(CueSynthesis, WavFilesCarryTheSamplesAsSixteenBitMono) {
    const auto wav = nj::encodeWav(bank()[2]);
    ASSERT_EQ(wav.size(), 44 + 2 * bank()[2].size());
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(wav[22], 1);  // channels
    EXPECT_EQ(wav[24] | (wav[25] << 8) | (wav[26] << 16), 44100);
    EXPECT_EQ(wav[34], 16);  // bits per sample
    const auto first = static_cast<std::int16_t>(wav[44] | (wav[45] << 8));
    EXPECT_EQ(first, bank()[2][0]);
}

}  // namespace
