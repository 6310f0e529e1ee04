// The pictures of the board's decoration (theme.h, kDecoration): the border's nine pieces, the
// ears' band and separators, the highlight bars and the error panel's background.
#pragma once

#include <array>

#include "tools/content_builder/texture_png.h"
#include "tools/content_builder/theme.h"

namespace ContentBuilder {

// The border around a field: a rim just outside it with rounded outer corners and a soft shadow,
// cut by place (0 upper-left corner, 1 upper edge, 2 upper-right corner, 3 right edge, 4
// lower-right corner, 5 lower edge, 6 lower-left corner, 7 left edge, 8 middle). Corners are
// borderCorner square, the strips borderStrip thick, the middle clear (it lies over the cells).
std::array<TextureImage, 9> DrawBorderPieces();

// The ears' band (stretched over the ear) and their separators, as long as the ear is deep:
// across the left ear (horizontal) or the upper ear (vertical). Both are two pixels thick; the
// thin one draws only its second pixel line, so placed by its middle at a line boundary it covers
// the same pixels as the block's grid line, and the block one fills the gap.
TextureImage DrawEarBand();
TextureImage DrawEarStick(bool vertical, bool block);

// The highlight bars: the row bar one cell high (stretched along x), the column bar one cell wide.
TextureImage DrawHighlightBar(bool column);

// The error panel: the lighter panel with an empty socket at every slot, and room for its shadow
// (ErrorPanelMargin on every side beyond the panel, which reaches errorPad beyond the slots).
TextureImage DrawErrorPanel(std::string_view caption);
int ErrorPanelMargin();

}  // namespace ContentBuilder
