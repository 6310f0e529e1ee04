// The finish window's pictures: the star with its empty and filled halves, and the three ribbon
// banners (one, two and three stars).
#pragma once

#include "tools/content_builder/output_tree.h"
#include "tools/content_builder/texture_png.h"

namespace ContentBuilder {

// 2 x side wide, side high: the empty star on the left, the filled star on the right.
TextureImage DrawFinishStar();
// The banner for a star count of 1 to 3.
TextureImage DrawFinishBanner(int stars);

// Writes them below Theme::kFinishArt.folder.
void BuildFinishArt(OutputTree& out);

}  // namespace ContentBuilder
