// Glyphs of a TrueType font rasterised at one pixel size with stb_truetype: white coverage
// bitmaps (the text colour tints them), optionally over a baked soft shadow, with whole-pixel
// metrics and the font's kerning between the rasterised characters.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tools/content_builder/theme.h"

namespace ContentBuilder {

struct FontStyle {
    std::string face;
    int pixelSize = 0;                        // em size in pixels
    std::optional<Theme::SoftShadow> shadow;  // baked under every glyph
    bool tabularDigits = false;
};

struct RasterGlyph {
    uint32_t codepoint = 0;
    int width = 0, height = 0;     // the box; 0 x 0 for blanks
    int xoffset = 0, yoffset = 0;  // the box's upper-left corner from the pen; the pen's y is the line's top
    int xadvance = 0;
    std::vector<uint8_t> rgba;  // straight RGBA, width x height
};

struct KerningPair {
    uint32_t first, second;  // "second" directly after "first"
    int amount;              // pixels added to the pen before "second"
};

struct RasterFont {
    std::string face;
    int pixelSize = 0;
    int lineHeight = 0, base = 0;       // base: baseline below the line's top
    std::vector<RasterGlyph> glyphs;    // ascending code points
    std::vector<KerningPair> kernings;  // ascending (first, second), never 0, only between glyphs here
};

// Throws std::runtime_error when the data is not a font or lacks a glyph for a code point.
RasterFont RasteriseFont(std::span<const uint8_t> ttf, const FontStyle& style, std::vector<uint32_t> codepoints);

}  // namespace ContentBuilder
