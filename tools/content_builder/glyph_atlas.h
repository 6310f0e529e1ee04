// Glyph boxes packed into one atlas texture, shelf by shelf, tallest first.
#pragma once

#include <vector>

#include "tools/content_builder/font_rasteriser.h"
#include "tools/content_builder/texture_png.h"

namespace ContentBuilder {

struct AtlasPlacement {
    int x = 0, y = 0;  // upper-left corner of the glyph's box; (0, 0) for blanks
};

struct GlyphAtlas {
    TextureImage image;                      // transparent white where no glyph is
    std::vector<AtlasPlacement> placements;  // one per glyph, in the font's order
};

// Boxes keep `spacing` transparent pixels between each other and from the atlas edges. The
// atlas is the narrowest power-of-two width from minSide on whose packing is no taller than
// wide; its height is the packing's rounded up to a multiple of 4. Throws when maxSide is too
// small.
GlyphAtlas PackGlyphs(const std::vector<RasterGlyph>& glyphs, int spacing, int minSide, int maxSide);

}  // namespace ContentBuilder
