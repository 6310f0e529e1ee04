// The shipped level set: every pack of content/levels/ becomes a folder at the top of Resources/
// named like its source ("tutorial01", "pack01", ...):
//   <pack>/levelNN.xml              one level file per picture (and nothing else at that level)
//   <pack>/main/pack_item.xml       the pack's card and properties
//   <pack>/main/pages.xml           the level grid, one item per level file in the same order
//   <pack>/image/cover.png, cover_closed.png, background.png
// plus the board's sprites (kBoardFolder) and the card and tile textures (kPackArtFolder).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/content_builder/level_sources.h"
#include "tools/content_builder/output_tree.h"
#include "tools/content_builder/theme.h"

namespace ContentBuilder {

// Reads the level sources (faults stop the build: see level_sources.h), checks the cards and
// grids against the built fonts and the string table, checks that every board with its clues
// fits the screen (board_fit.h) and that the tutorial scripts name effects the effects file has,
// and writes every pack. Runs after the fonts and the string table. Returns the packs it wrote.
std::vector<PackSource> BuildLevelContent(const std::string& contentDir, OutputTree& out);

// The folder rules the game's pack scan relies on, over the finished run folder: every top-level
// folder of Resources/ whose name begins with "pack" or "tutorial" is one of `packs` (no "." in
// it; no "_" in a tutorial folder), and a pack folder's plain files are its level files only,
// levelNN.xml in level order. Returns one line per fault; empty when all hold.
std::vector<std::string> CheckPackFolders(const std::filesystem::path& resources, const std::vector<PackSource>& packs);

}  // namespace ContentBuilder
