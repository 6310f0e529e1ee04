#pragma once
// Test data: sine tones encoded as Ogg Vorbis in memory by the content builder's encoder.

#include <cmath>
#include <cstdint>
#include <exception>
#include <vector>

#include "tools/content_builder/ogg_vorbis.h"

namespace QRV::Test {

// `seconds` of a sine at `frequency` Hz and `amplitude` (0..1) on every channel. Empty on failure.
inline std::vector<uint8_t> EncodeToneOgg(int channels, int rate, double seconds, double frequency = 440.0,
                                          float amplitude = 0.5f) {
    if (channels < 1 || rate < 1) return {};
    const long frames = std::lround(seconds * rate);
    const double step = 2.0 * 3.14159265358979323846 * frequency / rate;
    std::vector<float> samples(static_cast<size_t>(frames) * static_cast<size_t>(channels));
    for (long i = 0; i < frames; ++i) {
        const float sample = amplitude * static_cast<float>(std::sin(step * static_cast<double>(i)));
        for (int c = 0; c < channels; ++c) samples[static_cast<size_t>(i * channels + c)] = sample;
    }
    try {
        return ContentBuilder::EncodeOggVorbis(samples, channels, rate, 0.3f, 1);
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace QRV::Test
