#pragma once
// One glyph of a bitmap font: its box in the atlas, where it sits relative to the pen, how far it
// moves the pen, and the kerning applied when it follows another character.

#include <cstdint>
#include <unordered_map>

namespace QRV {

struct JS_BMFONT_GLYPH {
    uint32_t width = 10;
    uint32_t height = 10;
    int32_t xoffset = 0;
    int32_t yoffset = 0;
    uint32_t xadvance = 0;
    float uLeft = 0.0f, vTop = 0.0f, uRight = 1.0f, vBottom = 1.0f;
    // previous character code -> pen adjustment in pixels before this glyph
    std::unordered_map<uint32_t, int32_t> kerning;

    bool operator==(const JS_BMFONT_GLYPH&) const = default;
};

// character code -> glyph
using JS_BMFONT_GLYPH_MAP = std::unordered_map<uint32_t, JS_BMFONT_GLYPH>;

}  // namespace QRV
