#include "tools/content_builder/interface_sounds.h"

#include <algorithm>
#include <cmath>

#include "tools/content_builder/synth.h"

namespace ContentBuilder {
namespace {

// The coefficient of a one-pole low-pass at that cutoff.
float OnePole(float hz, int rate) { return 1.0f - std::exp(-kTwoPi * hz / static_cast<float>(rate)); }

}  // namespace

std::vector<float> SynthesiseSwish(const Theme::SwishRecipe& r, int rate, uint32_t seed) {
    const auto frames = static_cast<size_t>(std::lround(r.lengthSeconds * static_cast<float>(rate)));
    std::vector<float> out(frames);
    Rng rng(seed);
    Rng grains(seed ^ 0x9E37u);
    // Two cascaded low-passes at the band's top minus one at its bottom: a soft band-pass.
    float top1 = 0.0f, top2 = 0.0f, bottom = 0.0f;
    for (size_t i = 0; i < frames; ++i) {
        const float x = frames > 1 ? static_cast<float>(i) / static_cast<float>(frames - 1) : 0.0f;
        // Rises to the peak and falls away after it, each half a smooth (sine) curve.
        const float shape = x < r.peakFraction
                                ? std::sin(0.25f * kTwoPi * x / r.peakFraction)
                                : std::cos(0.25f * kTwoPi * (x - r.peakFraction) / (1.0f - r.peakFraction));
        const float envelope = shape * shape;
        const float centre = r.lowHz + (r.highHz - r.lowHz) * shape;
        const float half = 0.5f * r.bandwidthRatio * centre;
        const float noise = rng.Uniform();
        // Sparse fibre crackle: a few louder samples.
        const float grain = grains.Uniform() > 0.985f ? r.grainGain * grains.Uniform() * 4.0f : 0.0f;
        const float aTop = OnePole(centre + half, rate);
        const float aBottom = OnePole(std::max(20.0f, centre - half), rate);
        top1 += aTop * (noise + grain - top1);
        top2 += aTop * (top1 - top2);
        bottom += aBottom * (top2 - bottom);
        out[i] = envelope * (top2 - bottom);
    }
    return out;
}

std::vector<EffectSound> InterfaceSounds(int rate) {
    std::vector<EffectSound> sounds;
    std::vector<float> click = SynthesiseTick(Theme::kButtonClick, rate, Theme::kNoiseSeed + 11);
    Normalise(click, Theme::kButtonClickPeak);
    sounds.push_back({"buttonclick", std::move(click), Theme::kButtonClickEntry});
    std::vector<float> swish = SynthesiseSwish(Theme::kPaperSwish, rate, Theme::kNoiseSeed + 12);
    Normalise(swish, Theme::kPaperSwishPeak);
    sounds.push_back({"paperswish", std::move(swish), Theme::kPaperSwishEntry});
    return sounds;
}

}  // namespace ContentBuilder
