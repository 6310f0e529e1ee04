// The XML of a pack folder: the level files (board settings and one element per cell), the pack's
// card ("main/pack_item.xml") and its level grid ("main/pages.xml"). Names and numbers come from
// theme.h; the pictures from the level sources.
#pragma once

#include <string>
#include <string_view>

#include "tools/content_builder/level_sources.h"
#include "tools/content_builder/theme.h"

namespace ContentBuilder {

inline constexpr int kPictureCell = 100;  // "type" of a cell of the picture
inline constexpr int kEmptyCell = 101;    // "type" of a cell outside it

// The board geometry of a picture size, or null when theme.h has none.
const Theme::BoardGeometry* BoardFor(int size);

// "bonuses" of a level: the geometry's count, never above the picture's cells.
int BonusCount(const Theme::BoardGeometry& board, const LinePicture& picture);

// The board's sprite textures in kBoardFolder: the block texture of the (one) cell size.
std::string BlockFile(const Theme::BoardGeometry& board);
inline constexpr std::string_view kSelectionYesFile = "selection_yes.png";
inline constexpr std::string_view kSelectionNoFile = "selection_no.png";

// Repository names of a pack folder, as the game registers them.
std::string PackMainRepository(std::string_view folder);
std::string PackImageRepository(std::string_view folder);

// A level file: root "level", "settings" and "gElements" with one "cell" per cell, row-major.
std::string LevelFileXml(const LinePicture& picture, const Theme::BoardGeometry& board);
// The same with the level's own look: its geometry and bands' depths ("ears") from the fit, the
// block and selection sprites at its cell size (SizedArtFile), and `lookXml` (LevelLookXml) inside "settings".
std::string LevelFileXml(const LinePicture& picture, const Theme::BoardGeometry& board, int earLeft, int earUp,
                         std::string_view lookXml);

// The pack's card for the pack lists and its properties (never "name").
std::string PackItemXml(const PackSource& pack);

// The level grid: the page layout and one item per level, in level order.
std::string PackPagesXml(const PackSource& pack);

}  // namespace ContentBuilder
