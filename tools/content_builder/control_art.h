// The in-game controls' pictures: the hint button's digit atlas and glow, the tool icons, the
// store and pause buttons' five-frame strips, and the reset button's tile. See content/README.md.
#pragma once

#include "tools/content_builder/texture_png.h"

namespace ContentBuilder {

// Five columns by kControls.digitRows rows of kControls.digitCell: counts 0 to 8, then "9+".
TextureImage DrawHintDigits();
// A soft round glow in the reward colour.
TextureImage DrawHintGlow();
// The square tool (an ink cell) or the cross tool (a terracotta X).
TextureImage DrawToolIcon(bool square);
enum class ControlIcon { kCoin, kPause };
// Five frames of a square push button (normal, hovered, pressed, checked, disabled) with the icon
// on each, moved down with the pressed body.
TextureImage DrawIconButtonStrip(ControlIcon icon);
// A white tile with a grey circular arrow, meant to be tinted.
TextureImage DrawResetTile();

}  // namespace ContentBuilder
