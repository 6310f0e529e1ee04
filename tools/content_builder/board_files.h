// The board's three gameplay files, named by the gameplay configuration (theme.h,
// kGameplayConfig), and their textures in kBoardFolder:
//   "effects"  the animations by name, the selection ordinals' font, the "settings" list, the
//              hint fly and the bonus fly with their particles;
//   "numbers"  the clue style: one element per clue panel;
//   "ambient"  the decoration: border, ears, highlight bars, error panel, sunime counter.
// content/README.md describes every element.
#pragma once

#include <set>
#include <string>
#include <string_view>

#include "tools/content_builder/board_fit.h"
#include "tools/content_builder/output_tree.h"

namespace ContentBuilder {

// The texture files of the board's animations and decoration in kBoardFolder.
inline constexpr std::string_view kEarBandFile = "ear_band.png";
inline constexpr std::string_view kEarStickRowFile = "ear_stick_row.png";  // across the left ear
inline constexpr std::string_view kEarStickRowBlockFile = "ear_stick_row_block.png";
inline constexpr std::string_view kEarStickColumnFile = "ear_stick_column.png";  // across the upper ear
inline constexpr std::string_view kEarStickColumnBlockFile = "ear_stick_column_block.png";
inline constexpr std::string_view kHighlightRowFile = "highlight_row.png";
inline constexpr std::string_view kHighlightColumnFile = "highlight_column.png";
inline constexpr std::string_view kErrorPanelFile = "error_panel.png";

// Where the gameplay configuration puts the file of a key ("effects", ...) below the run folder,
// and its resource key. Throws std::logic_error for a key the configuration lacks.
std::string GameplayFileKey(std::string_view key);
std::string GameplayFilePath(std::string_view key);

std::string EffectsFileXml();
std::string ClueStyleFileXml();
std::string DecorationFileXml();

// Writes the textures and the three files. Runs after the fonts (the effects and the decoration
// name catalogue fonts); the error panel's caption comes from the string table source.
void BuildBoardFiles(const std::string& contentDir, OutputTree& out);

// A level's own look, made for its cell size and clue font: the clue style ("numbers", the
// numbers placed as the look says, the strike at the font's size) and the cell animations
// ("animations": "square", "cross", "shine", "pulse" with frames of one cell), as children of its
// "settings". Their textures are named by size: "cell_square.png" at 56 is "cell_square_56.png".
std::string SizedArtFile(std::string_view file, int size);
std::string LevelLookXml(const BoardLook& look, const ClueFontMetrics& font);
// Writes the textures LevelLookXml names that `written` does not hold yet, and adds them to it.
void WriteLevelLookArt(OutputTree& out, const BoardLook& look, const ClueFontMetrics& font,
                       std::set<std::string>& written);

}  // namespace ContentBuilder
