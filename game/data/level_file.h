#pragma once
// The level file, read in one place: "settings" gives the board's geometry and the three sprites
// every cell shares, "gElements" one child per cell in row-major order (all of row 0 left to right,
// then row 1, ...). The root is the document's first element, whatever its name.
//
//   <level>
//     <settings elSize="w h" grid="cols rows" block="x y" shiftBlock="x y" position="x y" bonuses="n">
//       <block>sprite</block> <selection_yes>sprite</selection_yes> <selection_no>sprite</selection_no>
//     </settings>
//     <gElements> <cell type="100"/> <cell type="101"/> ... </gElements>
//   </level>
//
// A level may also carry its own look, made for its cell size, in "settings": "ears" (two
// integers: how deep the clue bands beside the rows and above the columns are), a "numbers" child
// in the form of the clue style file (used in place of the shared style) and an "animations" child
// in the form of the effects file's (each replaces the shared animation of its name while the
// level is loaded). Without them the shared files serve.
//
// "settings" carries both an attribute and a child named "block": the attribute is the block size
// in cells, the child the sprite drawn under every block. The sprite nodes stay valid as long as
// the document they came from.

#include <cstdint>
#include <vector>

#include <pugixml.hpp>

// Cell types: a cell of the picture (filled in the solution) and an empty cell. A cell without
// "type" is 0, of neither kind.
inline constexpr int32_t kLevelCellPicture = 100;
inline constexpr int32_t kLevelCellEmpty = 101;

struct gcLevelSettings {
    int32_t cellWidth = 0, cellHeight = 0;     // "elSize"
    int32_t cols = 0, rows = 0;                // "grid"
    int32_t blockX = 0, blockY = 0;            // "block" (attribute): cells per block along a row, a column
    int32_t shiftX = 0, shiftY = 0;            // "shiftBlock": a gap is negative
    float positionX = 0.0f, positionY = 0.0f;  // "position": the board's centre on the screen
    int32_t bonuses = 0;                       // "bonuses", as written (never clamped here)
    pugi::xml_node blockSprite;                // child "block"
    pugi::xml_node selectionYesSprite;         // child "selection_yes"
    pugi::xml_node selectionNoSprite;          // child "selection_no"
    int32_t earLeft = 0, earUp = 0;            // "ears": 0 when absent (the decoration's size serves)
    pugi::xml_node numbersStyle;               // child "numbers", may be empty
    pugi::xml_node animations;                 // child "animations", may be empty
};

struct gcLevelFile {
    gcLevelSettings settings;
    std::vector<int32_t> cellTypes;  // one per child of "gElements", in document order

    // Cells whose type is kLevelCellPicture.
    int32_t PictureCellCount() const;
};

// False when the node is missing or lacks any of its six attributes or three sprite children; `out`
// is then unspecified. Integer pairs are read as two integers ((0, 0) without two pieces), the
// position as two floats (0, 0 without two pieces), "bonuses" as a decimal integer.
bool gcReadLevelSettings(const pugi::xml_node& settings, gcLevelSettings& out);

// The "type" of every child element of "gElements" in document order; false when the node is
// missing. The count is not compared with the grid.
bool gcReadLevelCells(const pugi::xml_node& elements, std::vector<int32_t>& types);

// Both of the above from the document's first element.
bool gcReadLevelFile(const pugi::xml_document& document, gcLevelFile& out);
