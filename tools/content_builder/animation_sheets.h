// Frame-animation sheets drawn in code, and their descriptions: a star that pops in with a small
// overshoot (plays once) and a spinning coin (loops).
#pragma once

#include <string>

#include "tools/content_builder/canvas.h"
#include "tools/content_builder/output_tree.h"
#include "tools/content_builder/texture_png.h"

namespace ContentBuilder {

// Frames row by row in cells of the theme's size.
TextureImage DrawStarPopSheet();
TextureImage DrawCoinSpinSheet();

// Frame `frame` of `frameCount` of a coin turning half a turn, in a cell of the theme's size.
Canvas DrawCoinFrame(const Theme::CoinSpinTheme& theme, int frame, int frameCount);

// animations.xml: root "animations" with one sprite description per sheet ("star_pop",
// "coin_spin"), each with its "ANIMATION" element.
std::string AnimationDescriptionsXml();

void BuildAnimationSheets(OutputTree& out);

}  // namespace ContentBuilder
