#include "tools/content_builder/sound_effects.h"

#include <algorithm>
#include <cmath>

#include "tools/content_builder/interface_sounds.h"
#include "tools/content_builder/synth.h"

namespace ContentBuilder {
namespace {

size_t Frames(float seconds, int rate) { return static_cast<size_t>(std::lround(seconds * static_cast<float>(rate))); }

// A short linear fade at both ends keeps the encoder from seeing a step (no click).
void SoftenEdges(std::vector<float>& s, int rate, float inSeconds, float outSeconds) {
    const size_t in = std::min(s.size(), Frames(inSeconds, rate));
    const size_t out = std::min(s.size(), Frames(outSeconds, rate));
    for (size_t i = 0; i < in; ++i) s[i] *= static_cast<float>(i) / static_cast<float>(in);
    for (size_t i = 0; i < out; ++i) s[s.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(out);
}

// A bell-ish note added into out from start: a sine plus a faster-decaying inharmonic overtone.
void AddBell(std::vector<float>& out, size_t start, float hz, float decay, float overtoneRatio, float overtoneGain,
             float overtoneDecayFactor, int rate) {
    const float attack = 0.004f;
    for (size_t i = start; i < out.size(); ++i) {
        const float t = static_cast<float>(i - start) / static_cast<float>(rate);
        const float rise = std::min(1.0f, t / attack);
        const float body = std::exp(-t / decay) * std::sin(kTwoPi * hz * t);
        const float over =
            overtoneGain * std::exp(-t / (decay * overtoneDecayFactor)) * std::sin(kTwoPi * hz * overtoneRatio * t);
        out[i] += rise * (body + over);
    }
}

}  // namespace

std::vector<float> SynthesiseTick(const Theme::TickRecipe& r, int rate, uint32_t seed) {
    std::vector<float> out(Frames(r.lengthSeconds, rate));
    Rng rng(seed);
    Lowpass click(r.clickLowpassHz, rate);
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(rate);
        float v = 0.0f;
        for (size_t p = 0; p < r.partialRatios.size(); ++p) {
            // Higher partials die faster, as in a struck block of wood.
            const float decay = r.decaySeconds / (1.0f + 0.6f * static_cast<float>(p));
            v += r.partialGains[p] * std::exp(-t / decay) * std::sin(kTwoPi * r.baseHz * r.partialRatios[p] * t);
        }
        v += r.clickGain * std::exp(-t / r.clickSeconds) * click.Process(rng.Uniform()) * 4.0f;
        out[i] = v;
    }
    SoftenEdges(out, rate, 0.0005f, 0.01f);
    return out;
}

std::vector<float> SynthesiseThud(const Theme::ThudRecipe& r, int rate, uint32_t seed) {
    std::vector<float> out(Frames(r.lengthSeconds, rate));
    Rng rng(seed);
    Lowpass body(r.noiseLowpassHz, rate);
    Lowpass body2(r.noiseLowpassHz, rate);
    double phase = 0.0;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(rate);
        const float hz = r.endHz + (r.startHz - r.endHz) * std::exp(-t / r.pitchDropSeconds);
        phase += hz / rate;
        const float env = std::min(1.0f, t / 0.003f) * std::exp(-t / r.decaySeconds);
        const float noise = body2.Process(body.Process(rng.Uniform())) * 6.0f;
        out[i] = env * (std::sin(kTwoPi * static_cast<float>(phase - std::floor(phase))) + r.noiseGain * noise);
    }
    SoftenEdges(out, rate, 0.0005f, 0.02f);
    return out;
}

std::vector<float> SynthesiseChime(const Theme::ChimeRecipe& r, int rate) {
    const auto notes = SplitWords(r.notes);
    const float length = r.spacingSeconds * static_cast<float>(notes.size() - 1) + r.tailSeconds;
    std::vector<float> out(Frames(length, rate));
    for (size_t n = 0; n < notes.size(); ++n) {
        AddBell(out, Frames(r.spacingSeconds * static_cast<float>(n), rate), NoteToHz(notes[n]), r.decaySeconds,
                r.overtoneRatio, r.overtoneGain, r.overtoneDecayFactor, rate);
    }
    SoftenEdges(out, rate, 0.0005f, 0.05f);
    return out;
}

std::vector<float> SynthesiseFall(const Theme::FallRecipe& r, int rate) {
    const auto notes = SplitWords(r.notes);
    const float length = r.spacingSeconds * static_cast<float>(notes.size() - 1) + r.tailSeconds;
    std::vector<float> out(Frames(length, rate));
    // Odd harmonics falling off as 1/n^2: a soft, triangle-like voice.
    const Wavetable voice({1.0f, 0.0f, 1.0f / 9.0f, 0.0f, 1.0f / 25.0f, 0.0f, 1.0f / 49.0f});
    for (size_t n = 0; n < notes.size(); ++n) {
        const size_t start = Frames(r.spacingSeconds * static_cast<float>(n), rate);
        const float hz = NoteToHz(notes[n]);
        // Each note a little softer than the one before: the line sinks away.
        const float level = 1.0f - 0.12f * static_cast<float>(n);
        for (size_t i = start; i < out.size(); ++i) {
            const float t = static_cast<float>(i - start) / static_cast<float>(rate);
            const float env = std::min(1.0f, t / 0.012f) * std::exp(-t / r.decaySeconds);
            out[i] += level * env * voice.At(static_cast<double>(hz) * t);
        }
    }
    Lowpass soft(r.lowpassHz, rate);
    for (float& s : out) s = soft.Process(s);
    SoftenEdges(out, rate, 0.001f, 0.05f);
    return out;
}

std::vector<float> SynthesiseSwell(const Theme::SwellRecipe& r, int rate, uint32_t seed) {
    std::vector<float> out(Frames(r.lengthSeconds, rate));
    const auto notes = SplitWords(r.notes);
    const Wavetable voice({1.0f, 0.3f, 0.12f, 0.05f});
    Rng rng(seed);
    Lowpass air(r.noiseLowpassHz, rate);
    const float releaseStart = r.lengthSeconds - r.releaseSeconds;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(rate);
        float env = t < r.attackSeconds ? t / r.attackSeconds : 1.0f;
        if (t > releaseStart) env *= std::max(0.0f, 1.0f - (t - releaseStart) / r.releaseSeconds);
        env = env * env;  // eased: a swell rather than a ramp
        float v = 0.0f;
        for (std::string_view note : notes) v += voice.At(static_cast<double>(NoteToHz(note)) * t);
        v += r.noiseGain * air.Process(rng.Uniform()) * 8.0f;
        out[i] = env * v;
    }
    SoftenEdges(out, rate, 0.0f, 0.02f);
    return out;
}

std::vector<EffectSound> SynthesiseEffects(int rate) {
    const uint32_t seed = Theme::kNoiseSeed;
    const Theme::EffectPeaks& peak = Theme::kEffectPeaks;
    std::vector<EffectSound> effects;
    auto add = [&](std::string_view name, std::vector<float> samples, float level) {
        Normalise(samples, level);
        effects.push_back({name, std::move(samples)});
    };
    add("levelshow", SynthesiseSwell(Theme::kLevelShow, rate, seed + 1), peak.levelShow);
    add("fulltileclick", SynthesiseTick(Theme::kFullTile, rate, seed + 2), peak.fullTile);
    add("emptytileclick", SynthesiseTick(Theme::kEmptyTile, rate, seed + 3), peak.emptyTile);
    add("errorclick", SynthesiseThud(Theme::kErrorThud, rate, seed + 4), peak.error);
    add("levelwin", SynthesiseChime(Theme::kWinArpeggio, rate), peak.win);
    add("levelloose", SynthesiseFall(Theme::kLoseFall, rate), peak.lose);
    add("hint", SynthesiseChime(Theme::kHintChime, rate), peak.hint);
    for (EffectSound& sound : InterfaceSounds(rate)) effects.push_back(std::move(sound));
    return effects;
}

}  // namespace ContentBuilder
