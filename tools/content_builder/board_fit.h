// Where a board and everything around it lands on the screen, worked out as the game lays it out:
// the field from the level's "settings", the clue numbers as the clue panels place and centre
// them (the built clue fonts' advances and line height), the ears of the decoration and the
// border around the field. The builder refuses a board that leaves the screen, reaches into the
// controls column or whose clues run beyond the ears.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/content_builder/line_solver.h"
#include "tools/content_builder/theme.h"

namespace ContentBuilder {

// What the fit needs of a built clue font: its line height and the advance of every digit.
struct ClueFontMetrics {
    int lineHeight = 0;
    std::array<int, 10> digitAdvance{};
    int digitHeight = 0;  // the tallest digit's glyph box
};
// From a BMFont description; throws std::runtime_error when it cannot be read or lacks a digit.
ClueFontMetrics ReadClueFontMetrics(const std::filesystem::path& description);
// The width of a number as the font lays it out (the sum of its digits' advances).
int NumberWidth(const ClueFontMetrics& font, int value);

// The clues of every row (top to bottom) and column (left to right); a line without picture cells
// has the single clue 0.
struct BoardClues {
    std::vector<std::vector<int>> rows, cols;
};
BoardClues CluesOfPicture(const LinePicture& picture);
// The most a line can hold: ceil(size / 2) numbers, each as wide as the widest a line can show.
BoardClues FullestClues(int size);

struct BoardExtent {
    float left = 0, top = 0, right = 0, bottom = 0;
};

// The field as the layout computes it: its upper-left corner and size.
struct FieldPlacement {
    float x = 0, y = 0;
    int width = 0, height = 0;
};
FieldPlacement PlaceField(const Theme::BoardGeometry& board, int cols, int rows);

// Where the panels put their numbers: a clue style's "interval" and "shift_first" of each panel.
struct CluePlacement {
    float leftInterval = 0, leftFirstX = 0, leftFirstY = 0;
    float upInterval = 0, upFirstX = 0, upFirstY = 0;
};
// The shared clue style's (Theme::kCluePanels).
CluePlacement SharedCluePlacement();

// The boxes of all clue numbers (advance width by line height, centred where the panels put them).
BoardExtent ClueExtent(const Theme::BoardGeometry& board, const BoardClues& clues, const ClueFontMetrics& left,
                       const ClueFontMetrics& up, const CluePlacement& placement = SharedCluePlacement());
// The clues, the ears (`earLeft` beside the rows, `earUp` above the columns; the decoration's
// "size" when 0), the field and its border together.
BoardExtent BoardExtentOf(const Theme::BoardGeometry& board, const BoardClues& clues, const ClueFontMetrics& left,
                          const ClueFontMetrics& up, const CluePlacement& placement = SharedCluePlacement(),
                          int earLeft = 0, int earUp = 0);

// The play field a level's board fills (Theme::kBoardScreen), right of the step panel in a
// tutorial pack.
struct PlayField {
    float left = 0, top = 0, right = 0, bottom = 0;
};
PlayField PlayFieldOf(bool tutorial);

// One level's board as the builder lays it out for its clues: the geometry of its "settings",
// the depths of its clue bands, its clue font and where the numbers stand.
struct BoardLook {
    Theme::BoardGeometry board{};
    int earLeft = 0, earUp = 0;
    std::string font;
    CluePlacement clues;
};
// The largest cell within the size's bounds with which the board, its bands and its border fit
// the field, the whole centred there. False when even the smallest cell does not fit, or when a
// column's widest number is wider than a cell.
bool FitBoard(const Theme::BoardSizeLook& size, const BoardClues& clues, const ClueFontMetrics& font,
              const PlayField& field, BoardLook& out);
// The board and its bands against the field: the larger of the parts of its width and height.
float FieldFill(const BoardExtent& board, const PlayField& field);

// Inside the screen by the margin and left of the controls column.
bool FitsScreen(const BoardExtent& extent);
// The clues lie on the ears: not further from the field than the ears reach.
bool CluesOnEars(const Theme::BoardGeometry& board, const BoardClues& clues, const ClueFontMetrics& left,
                 const ClueFontMetrics& up);

std::string DescribeExtent(const BoardExtent& extent);

}  // namespace ContentBuilder
