// Background widgets' textures: the nine-patch panel pieces, the line box, the list box's panel,
// row highlight and row separators, and the page marks.
#pragma once

#include <array>
#include <string>

#include "tools/content_builder/texture_png.h"

namespace ContentBuilder {

// The nine pieces in the layout's order (row then column: "TX_1_1" upper left ... "TX_3_3"
// lower right), every one the panel's corner size square.
std::array<TextureImage, 9> DrawPanel9Pieces();
// "panel9_<row>_<column>.png" for piece 0..8.
std::string Panel9File(int piece);

TextureImage DrawLineBox();
TextureImage DrawListPanel();
TextureImage DrawListRow();
TextureImage DrawListSeparators();

// Two cells side by side: the current page's mark, then every other page's.
TextureImage DrawPageMarks();

}  // namespace ContentBuilder
