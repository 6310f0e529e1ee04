#pragma once
// Text painted into the builder's pictures from a rasterised font: reading a font file (with a
// fallback), finding a glyph, and painting a line centred on a point.

#include <cstdint>
#include <string_view>
#include <vector>

#include "tools/content_builder/canvas.h"
#include "tools/content_builder/font_rasteriser.h"
#include "tools/content_builder/theme.h"

namespace ContentBuilder {

// The bytes of the preferred font file, or of the fallback when the preferred one is not there.
// Throws when neither can be read.
std::vector<uint8_t> ReadFontFile(std::string_view preferred, std::string_view fallback);
// The font's glyph of a character; throws when the font lacks it.
const RasterGlyph& GlyphOf(const RasterFont& font, char c);
// The text's coverage centred on (cx, cy): by its advance across and by its glyphs' ink down.
void PaintCentredText(Canvas& canvas, const RasterFont& font, std::string_view text, float cx, float cy,
                      Theme::Rgb colour);

}  // namespace ContentBuilder
