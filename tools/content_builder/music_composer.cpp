#include "tools/content_builder/music_composer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string>

#include "tools/content_builder/synth.h"

namespace ContentBuilder {
namespace {

std::vector<std::string_view> SplitBars(std::string_view text) {
    std::vector<std::string_view> bars;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t bar = text.find('|', start);
        const size_t end = bar == std::string_view::npos ? text.size() : bar;
        bars.push_back(text.substr(start, end - start));
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    return bars;
}

float ParseBeats(std::string_view text, std::string_view token) {
    float beats = 0.0f;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), beats);
    if (ec != std::errc() || end != text.data() + text.size() || !(beats > 0.0f))
        throw std::invalid_argument("bad length in \"" + std::string(token) + "\"");
    return beats;
}

struct Stereo {
    std::vector<float> left, right;
};

// Adds one voice at a pan position (-1 left .. 1 right, constant power).
void AddPanned(Stereo& out, size_t frame, float value, float pan) {
    const float angle = (pan + 1.0f) * 0.25f * 3.14159265f;
    out.left[frame] += value * std::cos(angle);
    out.right[frame] += value * std::sin(angle);
}

}  // namespace

std::vector<MelodyNote> ParseMelody(std::string_view text, int beatsPerBar, int* barCount) {
    std::vector<MelodyNote> notes;
    const auto bars = SplitBars(text);
    float beat = 0.0f;
    for (size_t b = 0; b < bars.size(); ++b) {
        float inBar = 0.0f;
        for (std::string_view token : SplitWords(bars[b])) {
            const size_t colon = token.find(':');
            if (colon == std::string_view::npos)
                throw std::invalid_argument("missing length in \"" + std::string(token) + "\"");
            const std::string_view pitch = token.substr(0, colon);
            const float beats = ParseBeats(token.substr(colon + 1), token);
            notes.push_back({pitch == "r" ? 0.0f : NoteToHz(pitch), beat + inBar, beats});
            inBar += beats;
        }
        if (std::fabs(inBar - static_cast<float>(beatsPerBar)) > 1e-4f)
            throw std::invalid_argument("melody bar " + std::to_string(b + 1) + " holds " + std::to_string(inBar) +
                                        " beats, not " + std::to_string(beatsPerBar));
        beat += inBar;
    }
    if (barCount != nullptr) *barCount = static_cast<int>(bars.size());
    return notes;
}

std::vector<std::vector<float>> ParseChords(std::string_view text) {
    std::vector<std::vector<float>> chords;
    for (std::string_view bar : SplitBars(text)) {
        std::vector<float> chord;
        for (std::string_view note : SplitWords(bar)) chord.push_back(NoteToHz(note));
        if (chord.empty()) throw std::invalid_argument("empty chord in bar " + std::to_string(chords.size() + 1));
        chords.push_back(std::move(chord));
    }
    return chords;
}

std::vector<float> RenderPiece(const Theme::MusicPiece& piece, int rate) {
    int bars = 0;
    const std::vector<MelodyNote> melody = ParseMelody(piece.melody, piece.beatsPerBar, &bars);
    const std::vector<std::vector<float>> chords = ParseChords(piece.chords);
    if (static_cast<int>(chords.size()) != bars)
        throw std::invalid_argument("piece " + std::string(piece.name) + ": " + std::to_string(chords.size()) +
                                    " chords for " + std::to_string(bars) + " melody bars");

    const float beatSeconds = 60.0f / piece.bpm;
    const float barSeconds = beatSeconds * static_cast<float>(piece.beatsPerBar);
    const float musicSeconds = barSeconds * static_cast<float>(bars);
    const size_t frames =
        static_cast<size_t>(std::lround((musicSeconds + piece.tailSeconds) * static_cast<float>(rate)));
    Stereo mix{std::vector<float>(frames), std::vector<float>(frames)};
    Rng rng(piece.seed);
    const float fr = static_cast<float>(rate);

    // Pads: each chord note is three slightly detuned voices; chords swell in and overlap the next.
    const Theme::MusicVoices& v = Theme::kVoices;
    const Wavetable padVoice(std::vector<float>(v.padHarmonics.begin(), v.padHarmonics.end()));
    const float padAttack = v.padAttackSeconds, padRelease = v.padReleaseSeconds;
    Stereo pads{std::vector<float>(frames), std::vector<float>(frames)};
    for (size_t c = 0; c < chords.size(); ++c) {
        const float start = barSeconds * static_cast<float>(c);
        // The last chord holds into the tail and fades out exactly at the end of the piece.
        const float hold = c + 1 == chords.size() ? barSeconds + piece.tailSeconds - padRelease : barSeconds;
        const size_t f0 = static_cast<size_t>(start * fr);
        const size_t f1 = std::min(frames, static_cast<size_t>((start + hold + padRelease) * fr));
        for (size_t n = 0; n < chords[c].size(); ++n) {
            const float pan =
                chords[c].size() > 1
                    ? v.padSpread * (2.0f * static_cast<float>(n) / static_cast<float>(chords[c].size() - 1) - 1.0f)
                    : 0.0f;
            const float level = 1.0f / std::sqrt(static_cast<float>(chords[c].size()));
            for (int d = -1; d <= 1; ++d) {
                const double hz = chords[c][n] * std::pow(2.0, d * v.padDetuneCents / 1200.0);
                const double phase0 = 0.5 * (rng.Uniform() + 1.0f);
                for (size_t i = f0; i < f1; ++i) {
                    const float t = static_cast<float>(i) / fr - start;
                    float env = std::min(1.0f, t / padAttack);
                    if (t > hold) env *= std::max(0.0f, 1.0f - (t - hold) / padRelease);
                    env = env * env * (3.0f - 2.0f * env);  // smoothstep: no corners in the swell
                    AddPanned(pads, i, piece.padGain * level * env * padVoice.At(phase0 + hz * t) / 3.0f,
                              pan + 0.2f * d);
                }
            }
        }
    }
    Lowpass padLeft(piece.padCutoffHz, rate), padRight(piece.padCutoffHz, rate);
    for (size_t i = 0; i < frames; ++i) {
        mix.left[i] += padLeft.Process(pads.left[i]);
        mix.right[i] += padRight.Process(pads.right[i]);
    }

    // Bass: the lowest chord note, soft and round, on the first beat of each bar.
    const Wavetable bassVoice(std::vector<float>(v.bassHarmonics.begin(), v.bassHarmonics.end()));
    for (size_t c = 0; c < chords.size(); ++c) {
        const float hz = *std::min_element(chords[c].begin(), chords[c].end());
        const float start = barSeconds * static_cast<float>(c);
        const float release = c + 1 == chords.size() ? padRelease : v.bassReleaseSeconds;
        const float hold = c + 1 == chords.size() ? barSeconds + piece.tailSeconds - release : barSeconds;
        const size_t f0 = static_cast<size_t>(start * fr);
        const size_t f1 = std::min(frames, static_cast<size_t>((start + hold + release) * fr));
        for (size_t i = f0; i < f1; ++i) {
            const float t = static_cast<float>(i) / fr - start;
            float env = std::min(1.0f, t / v.bassAttackSeconds) * (0.55f + 0.45f * std::exp(-t / 0.5f));
            if (t > hold) env *= std::max(0.0f, 1.0f - (t - hold) / release);
            AddPanned(mix, i, piece.bassGain * env * bassVoice.At(static_cast<double>(hz) * t), 0.0f);
        }
    }

    // Melody: a soft bell-flute voice with a late, gentle vibrato; tiny seeded timing and level
    // variations keep it from sounding mechanical.
    const Wavetable leadVoice(std::vector<float>(v.leadHarmonics.begin(), v.leadHarmonics.end()));
    for (const MelodyNote& note : melody) {
        if (note.hz <= 0.0f) continue;
        // Never before the piece starts: the jitter is added to a small lead-in.
        const float start = note.beat * beatSeconds + v.timingJitterSeconds * (1.0f + rng.Uniform()) + 0.002f;
        const float length = note.beats * beatSeconds;
        const float level = piece.melodyGain * (1.0f + v.levelJitter * rng.Uniform());
        const float ring = 0.6f + 0.35f * length;
        const float release = v.leadReleaseSeconds;
        const size_t f0 = static_cast<size_t>(start * fr);
        const size_t f1 = std::min(frames, static_cast<size_t>((start + length + release) * fr));
        double phase = 0.0;
        for (size_t i = f0; i < f1; ++i) {
            const float t = static_cast<float>(i) / fr - start;
            float env = std::min(1.0f, t / v.leadAttackSeconds) * std::exp(-t / ring);
            if (t > length) env *= std::max(0.0f, 1.0f - (t - length) / release);
            const float vibrato = 1.0f + v.vibratoDepth *
                                             std::min(1.0f, std::max(0.0f, t - v.vibratoDelaySeconds) / 0.4f) *
                                             std::sin(kTwoPi * v.vibratoHz * t);
            phase += static_cast<double>(note.hz * vibrato) / rate;
            AddPanned(mix, i, level * env * leadVoice.At(phase), v.leadPan);
        }
    }

    // A soft ping-pong echo with a darkened feedback path gives the room.
    const size_t delay = static_cast<size_t>(piece.echoSeconds * fr);
    if (delay > 0 && delay < frames) {
        std::vector<float> echoL(frames), echoR(frames);
        Lowpass darkL(v.echoDarkHz, rate), darkR(v.echoDarkHz, rate);
        for (size_t i = delay; i < frames; ++i) {
            echoL[i] = darkL.Process(mix.right[i - delay] + piece.echoFeedback * echoR[i - delay]);
            echoR[i] = darkR.Process(mix.left[i - delay] + piece.echoFeedback * echoL[i - delay]);
        }
        for (size_t i = 0; i < frames; ++i) {
            mix.left[i] += piece.echoMix * echoL[i];
            mix.right[i] += piece.echoMix * echoR[i];
        }
    }

    // Short fades at both ends: the piece starts without a click and the playlist's next piece
    // follows a clean ending. The tail stays audible until the final fade.
    const size_t fadeIn = static_cast<size_t>(v.fadeInSeconds * fr),
                 fadeOut = static_cast<size_t>(v.fadeOutSeconds * fr);
    for (size_t i = 0; i < std::min(fadeIn, frames); ++i) {
        const float g = static_cast<float>(i) / static_cast<float>(fadeIn);
        mix.left[i] *= g;
        mix.right[i] *= g;
    }
    for (size_t i = 0; i < std::min(fadeOut, frames); ++i) {
        const float g = static_cast<float>(i) / static_cast<float>(fadeOut);
        mix.left[frames - 1 - i] *= g;
        mix.right[frames - 1 - i] *= g;
    }

    std::vector<float> interleaved(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        interleaved[2 * i] = mix.left[i];
        interleaved[2 * i + 1] = mix.right[i];
    }
    Normalise(interleaved, Theme::kMusicPeak);
    return interleaved;
}

}  // namespace ContentBuilder
