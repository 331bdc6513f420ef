#pragma once
// The eight sound cues, synthesised at start-up: 16-bit mono at 44.1 kHz.
// Everything is computed, nothing is loaded, and the result is identical on
// every run (the hiss's noise comes from a fixed seed).

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace nj {

inline constexpr int kCueCount = 8;
inline constexpr int kSampleRate = 44100;

using CueSamples = std::vector<std::int16_t>;
using CueBank = std::array<CueSamples, kCueCount>;

// Cue lengths in samples, in cue order (footstep, chime, tick, thud, hiss,
// buzz, failure, success): 144,648 samples in all.
inline constexpr std::array<std::size_t, kCueCount> kCueLengths = {1764,  19845, 2646,  7938,
                                                                   11025, 11025, 19845, 70560};

// Where the success fanfare's six notes start. They are spaced 0.08 s apart,
// computed in single precision, which puts the last at 17639 rather than 17640.
std::array<std::size_t, 6> successNoteStarts();

CueBank synthesizeCues();

// File name stem used when the cues are written out, e.g. "0-footstep".
const char* cueFileStem(int cue);

// A 16-bit mono 44.1 kHz RIFF/WAVE file holding `samples`.
std::vector<std::uint8_t> encodeWav(const CueSamples& samples);

}  // namespace nj
