// The font description the engine's bitmap-font reader takes (BMFont XML): root "font" with
// "info", "common", "pages", "chars" (one "char" per glyph) and "kernings".
#pragma once

#include <string>
#include <string_view>

#include "tools/content_builder/font_rasteriser.h"
#include "tools/content_builder/glyph_atlas.h"

namespace ContentBuilder {

// pageFile: the atlas file name, for tools that read "pages" (the game takes the atlas from the
// font catalogue).
std::string BmFontDescriptionXml(const RasterFont& font, const GlyphAtlas& atlas, std::string_view pageFile);

}  // namespace ContentBuilder
