// The help pages' pictures: small boards with their clues and marks, and rows of icons (hearts,
// stars, coins), drawn in the board's look.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/content_builder/texture_png.h"

namespace ContentBuilder {

// One board. Cells, one text per row, one character per cell: '#' filled, 'x' crossed, '.' open,
// 'g' a cell a run could cover (faint accent), 'e' a wrong mark (error colour), 'h' a cell a hint
// revealed (reward colour). Clues are blank-separated numbers; an empty list has no clue band.
struct HelpBoard {
    std::vector<std::string_view> rows;
    std::vector<std::string_view> rowClues;     // one per row, or none
    std::vector<std::string_view> columnClues;  // one per column, top to bottom, or none
};

enum class HelpIcon { kHeart, kStar, kEmptyStar, kCoin };

// Throws std::logic_error for rows of unequal length, an unknown cell character or a clue list
// that does not match the rows or columns.
TextureImage DrawHelpBoard(const HelpBoard& board);

// Rows of icons, each row centred.
TextureImage DrawHelpIcons(const std::vector<std::vector<HelpIcon>>& rows);

// The picture's size without drawing it (for the checks of the layouts).
struct PictureSize {
    int width = 0, height = 0;
};
PictureSize HelpBoardSize(const HelpBoard& board);

}  // namespace ContentBuilder
