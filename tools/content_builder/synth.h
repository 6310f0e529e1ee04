// Small synthesis toolkit for the generated sounds: notes, seeded noise, filters, wavetables.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace ContentBuilder {

inline constexpr float kTwoPi = 6.28318530717958647692f;

// "A4" = 440 Hz; letters A-G, optional '#' or 'b', octave digits (may be negative: "C-1").
// Throws std::invalid_argument for anything else.
float NoteToHz(std::string_view note);

// Splits text at blanks (any run of spaces, tabs or newlines).
std::vector<std::string_view> SplitWords(std::string_view text);

// Deterministic noise: the same seed gives the same samples on every machine and library.
class Rng {
public:
    explicit Rng(uint32_t seed) : state_(seed != 0 ? seed : 0x9E3779B9u) {}
    uint32_t NextU32();
    float Uniform();  // [-1, 1)

private:
    uint32_t state_;
};

// One-pole low-pass filter.
class Lowpass {
public:
    Lowpass(float cutoffHz, int sampleRate);
    float Process(float x) {
        y_ += a_ * (x - y_);
        return y_;
    }

private:
    float a_;
    float y_ = 0.0f;
};

// One cycle of a band-limited waveform made of the given harmonic amplitudes, read with linear
// interpolation. Cheap enough to run thousands of voices per second of audio.
class Wavetable {
public:
    explicit Wavetable(const std::vector<float>& harmonics);
    // phase in cycles, any value (wrapped)
    float At(double phase) const;

private:
    static constexpr int kSize = 2048;
    std::array<float, kSize + 1> table_{};
};

// Scales the samples so the largest magnitude equals peak (silence stays silence).
void Normalise(std::vector<float>& samples, float peak);

// Largest magnitude.
float Peak(const std::vector<float>& samples);

}  // namespace ContentBuilder
