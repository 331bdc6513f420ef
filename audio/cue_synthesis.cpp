// Cue synthesis: phase-accumulated oscillators with an exponential fade to
// 1 % of the start, mixed note by note into 16-bit samples.
#include "audio/cue_synthesis.hpp"

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

namespace nj {
namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kPi = kTwoPi / 2.0;

enum class Wave { Triangle, Square, Sawtooth, Sine };

double waveValue(Wave wave, double phase) {
    switch (wave) {
        case Wave::Triangle: {
            const double p = phase / kTwoPi;
            return p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p;
        }
        case Wave::Square:
            return phase < kPi ? 1.0 : -1.0;
        case Wave::Sawtooth:
            return phase / kPi - 1.0;
        case Wave::Sine:
            return std::sin(phase);
    }
    return 0.0;
}

// The phase advances before each sample is taken and wraps once past 2π.
struct Oscillator {
    double phase = 0.0;
    double next(Wave wave, float frequency) {
        phase += static_cast<double>(frequency) * kTwoPi / kSampleRate;
        if (phase > kTwoPi) phase -= kTwoPi;
        return waveValue(wave, phase);
    }
};

float fade(float u) {
    return std::pow(0.01f, u);
}

std::int16_t toSample(float value) {
    return static_cast<std::int16_t>(std::clamp(value, -1.0f, 1.0f) * 32767.0f);
}

float shaped(double wave, float amplitude) {
    return static_cast<float>(wave * static_cast<double>(amplitude));
}

// A note mixed into what is already stored: read back, add, clamp, store.
void mixInto(std::int16_t& stored, float value) {
    stored = toSample(static_cast<float>(stored) / 32767.0f + value);
}

// One oscillator over the whole cue; `step(i, u)` gives frequency and amplitude.
CueSamples sweep(std::size_t length, Wave wave,
                 const std::function<void(std::size_t, float, float&, float&)>& step) {
    CueSamples out(length);
    Oscillator osc;
    for (std::size_t i = 0; i < length; ++i) {
        const float u = static_cast<float>(i) / static_cast<float>(length);
        float frequency = 0.0f, amplitude = 0.0f;
        step(i, u, frequency, amplitude);
        out[i] = toSample(shaped(osc.next(wave, frequency), amplitude));
    }
    return out;
}

// Notes of fixed frequency, each with its own fade, mixed over silence and
// cut off at the end of the cue.
void mixNote(CueSamples& out, std::size_t start, std::size_t length, Wave wave, float frequency,
             float amplitude) {
    Oscillator osc;
    for (std::size_t j = 0; j < length && start + j < out.size(); ++j) {
        const float u = static_cast<float>(j) / static_cast<float>(length);
        mixInto(out[start + j], shaped(osc.next(wave, frequency), amplitude * fade(u)));
    }
}

CueSamples footstep() {
    return sweep(kCueLengths[0], Wave::Triangle, [](std::size_t i, float, float& f, float& a) {
        const float u = (static_cast<float>(i) / kSampleRate) / 0.04f;
        f = 110.0f * std::pow(0.36363637f, u);
        a = 0.25f * fade(u);
    });
}

CueSamples chime() {
    CueSamples out(kCueLengths[1], 0);
    const float notes[3] = {587.33f, 880.0f, 1174.66f};
    for (std::size_t k = 0; k < 3; ++k) mixNote(out, k * 2646, 13230, Wave::Sine, notes[k], 0.35f);
    return out;
}

CueSamples tick() {
    return sweep(kCueLengths[2], Wave::Square, [](std::size_t, float u, float& f, float& a) {
        f = 1400.0f * std::pow(0.2857143f, u);
        a = 0.35f * fade(u);
    });
}

CueSamples thud() {
    return sweep(kCueLengths[3], Wave::Sawtooth, [](std::size_t, float u, float& f, float& a) {
        f = 150.0f * std::pow(0.2f, u);
        a = 0.5f * fade(u);
    });
}

CueSamples hiss() {
    CueSamples out(kCueLengths[4]);
    std::mt19937 noise(777);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const float u = static_cast<float>(i) / static_cast<float>(out.size());
        const double r = static_cast<double>(noise() >> 8) * (1.0 / 16777216.0);
        out[i] = toSample(shaped(2.0 * r - 1.0, 0.45f * fade(u)));
    }
    return out;
}

CueSamples buzz() {
    return sweep(kCueLengths[5], Wave::Sawtooth, [](std::size_t i, float, float& f, float& a) {
        const float t = static_cast<float>(i) / kSampleRate;
        f = t < 0.08f ? 880.0f : 440.0f;
        a = 0.4f * std::pow(0.01f, 4.0f * t);
    });
}

CueSamples failure() {
    CueSamples out(kCueLengths[6], 0);
    const float bases[4] = {220.0f, 261.63f, 311.13f, 440.0f};
    for (float base : bases) {
        Oscillator osc;
        for (std::size_t i = 0; i < out.size(); ++i) {
            const float u = static_cast<float>(i) / static_cast<float>(out.size());
            const float f = (1.0f - 0.1f * u) * base;
            mixInto(out[i], shaped(osc.next(Wave::Sawtooth, f), 0.2f * fade(u)));
        }
    }
    return out;
}

CueSamples success() {
    CueSamples out(kCueLengths[7], 0);
    const float notes[6] = {164.81f, 196.0f, 246.94f, 311.13f, 369.99f, 493.88f};
    const auto starts = successNoteStarts();
    for (std::size_t k = 0; k < 6; ++k)
        mixNote(out, starts[k], 52920, Wave::Triangle, notes[k], 0.3f);
    return out;
}

void putLittle(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

std::array<std::size_t, 6> successNoteStarts() {
    std::array<std::size_t, 6> starts{};
    for (std::size_t k = 0; k < starts.size(); ++k) {
        starts[k] = static_cast<std::size_t>(static_cast<float>(k) * 0.08f * 44100.0f);
    }
    return starts;
}

CueBank synthesizeCues() {
    return {footstep(), chime(), tick(), thud(), hiss(), buzz(), failure(), success()};
}

const char* cueFileStem(int cue) {
    static const char* const kStems[kCueCount] = {
        "0-footstep", "1-chime", "2-tick", "3-thud", "4-hiss", "5-buzz", "6-failure", "7-success"};
    return cue >= 0 && cue < kCueCount ? kStems[cue] : "unknown";
}

std::vector<std::uint8_t> encodeWav(const CueSamples& samples) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    auto tag = [&out](const char* t) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(t[i]));
    };
    tag("RIFF");
    putLittle(out, 36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    putLittle(out, 16, 4);
    putLittle(out, 1, 2);  // PCM
    putLittle(out, 1, 2);  // mono
    putLittle(out, kSampleRate, 4);
    putLittle(out, kSampleRate * 2, 4);
    putLittle(out, 2, 2);   // block align
    putLittle(out, 16, 2);  // bits per sample
    tag("data");
    putLittle(out, dataBytes, 4);
    for (std::int16_t s : samples) putLittle(out, static_cast<std::uint16_t>(s), 2);
    return out;
}

}  // namespace nj
