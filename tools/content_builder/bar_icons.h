// The small icons of the menu bars: a heart (hearts bar), a coin (money bar) and a star (stars
// bar), drawn in code at one size (theme: kBarIcons) into kBarIconFolder.
#pragma once

#include "tools/content_builder/output_tree.h"
#include "tools/content_builder/texture_png.h"
#include "tools/content_builder/theme.h"

namespace ContentBuilder {

TextureImage DrawBarIcon(Theme::BarIcon icon);

// "heart.png", "coin.png" and "star.png" in kBarIconFolder.
void BuildBarIcons(OutputTree& out);

}  // namespace ContentBuilder
