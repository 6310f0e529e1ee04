// Music pieces: a melody over soft pads and a bass line, rendered in stereo from the note text in
// theme.h.
#pragma once

#include <string_view>
#include <vector>

#include "tools/content_builder/theme.h"

namespace ContentBuilder {

struct MelodyNote {
    float hz;     // 0 for a rest
    float beat;   // onset, in beats from the start of the piece
    float beats;  // length
};

// Parses "E5:1 G5:0.5 r:1 | ..." into notes. Every bar must hold exactly beatsPerBar beats; throws
// std::invalid_argument (naming the bar) when one does not, or on a bad token.
std::vector<MelodyNote> ParseMelody(std::string_view text, int beatsPerBar, int* barCount);

// Parses "C3 G3 E4 | A2 E3 C4 | ..." into one chord (frequencies) per bar.
std::vector<std::vector<float>> ParseChords(std::string_view text);

// Renders a piece as interleaved stereo, normalised to the theme's music peak.
std::vector<float> RenderPiece(const Theme::MusicPiece& piece, int rate);

}  // namespace ContentBuilder
