#include "tools/content_builder/synth.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string>

namespace ContentBuilder {

float NoteToHz(std::string_view note) {
    static constexpr int kSemitoneOf[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G from C
    if (note.size() < 2 || note[0] < 'A' || note[0] > 'G')
        throw std::invalid_argument("bad note \"" + std::string(note) + "\"");
    int semitone = kSemitoneOf[note[0] - 'A'];
    size_t pos = 1;
    if (note[pos] == '#') {
        ++semitone;
        ++pos;
    } else if (note[pos] == 'b') {
        --semitone;
        ++pos;
    }
    int octave = 0;
    const char* first = note.data() + pos;
    const char* last = note.data() + note.size();
    const auto [end, ec] = std::from_chars(first, last, octave);
    if (ec != std::errc() || end != last || first == last)
        throw std::invalid_argument("bad note \"" + std::string(note) + "\"");
    const int midi = (octave + 1) * 12 + semitone;
    return 440.0f * std::pow(2.0f, static_cast<float>(midi - 69) / 12.0f);
}

std::vector<std::string_view> SplitWords(std::string_view text) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) ++i;
        const size_t start = i;
        while (i < text.size() && !(text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

uint32_t Rng::NextU32() {
    // xorshift32
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

float Rng::Uniform() { return static_cast<float>(NextU32() >> 8) / static_cast<float>(1u << 23) - 1.0f; }

Lowpass::Lowpass(float cutoffHz, int sampleRate)
    : a_(1.0f - std::exp(-kTwoPi * cutoffHz / static_cast<float>(sampleRate))) {}

Wavetable::Wavetable(const std::vector<float>& harmonics) {
    for (int i = 0; i < kSize; ++i) {
        double v = 0.0;
        for (size_t h = 0; h < harmonics.size(); ++h)
            v += harmonics[h] * std::sin(6.283185307179586 * static_cast<double>(h + 1) * i / kSize);
        table_[i] = static_cast<float>(v);
    }
    table_[kSize] = table_[0];
}

float Wavetable::At(double phase) const {
    const double wrapped = (phase - std::floor(phase)) * kSize;
    const int i = std::min(static_cast<int>(wrapped), kSize - 1);
    const float f = static_cast<float>(wrapped - i);
    return table_[i] + f * (table_[i + 1] - table_[i]);
}

float Peak(const std::vector<float>& samples) {
    float peak = 0.0f;
    for (float s : samples) peak = std::max(peak, std::fabs(s));
    return peak;
}

void Normalise(std::vector<float>& samples, float peak) {
    const float current = Peak(samples);
    if (current <= 0.0f) return;
    const float gain = peak / current;
    for (float& s : samples) s *= gain;
}

}  // namespace ContentBuilder
