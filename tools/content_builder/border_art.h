// The border art drawn around the logical screen on desktops that are not 4:3: a tileable
// pattern and a seam line, described as the sprites "ear_tile" and "ear_line" in "data data.xml".
#pragma once

#include <string>

#include "tools/content_builder/output_tree.h"
#include "tools/content_builder/texture_png.h"

namespace ContentBuilder {

// The pattern: opaque, the same across each pair of opposite edges, so it repeats without a seam.
TextureImage DrawBorderTile();
// The seam: a small opaque square of the line colour, repeated along the screen's edge.
TextureImage DrawBorderLine();

// Root "data" with the child "ear" holding the two sprite descriptions, and the purchase overlay
// ("purchase").
std::string DataDescriptionsXml();

void BuildBorderArt(OutputTree& out);

}  // namespace ContentBuilder
