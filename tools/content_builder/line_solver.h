// Line logic for nonogram pictures: each row and column is deduced from its clue and the cells
// already known, over and over until nothing changes. A picture whose cells are all decided this
// way can be solved without guessing, and then it has exactly one solution. A tool for the
// content builder and the content tests, not part of the game.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ContentBuilder {

enum class LineCell : int8_t { kUnknown = -1, kEmpty = 0, kFilled = 1 };

// Lengths of the runs of filled cells, in order; a line without any is the empty clue.
std::vector<int> CluesOf(const std::vector<bool>& filled);

// The complete line step: a cell becomes known when it takes the same value in every placement
// of the clue that fits the cells already known. Returns false, leaving the line as it was, when
// no placement fits (the known cells contradict the clue).
bool SolveLine(const std::vector<int>& clue, std::vector<LineCell>& line);

// A picture as rows of filled cells, row-major.
struct LinePicture {
    int cols = 0, rows = 0;
    std::vector<bool> filled;  // cols * rows
    bool At(int col, int row) const { return filled[static_cast<size_t>(row) * cols + col]; }
};

struct LineSolution {
    std::vector<LineCell> cells;  // row-major, cols * rows
    bool contradiction = false;   // some line had no fitting placement
    int undecided = 0;            // cells still unknown at the fixpoint
};

// Solves from the clues alone, rows and columns in turn, until a pass decides nothing new.
LineSolution SolveByLines(int cols, int rows, const std::vector<std::vector<int>>& rowClues,
                          const std::vector<std::vector<int>>& colClues);

// The clues of the picture, solved; true when every cell is decided and equals the picture.
bool SolvesToPicture(const LinePicture& picture, LineSolution* solution = nullptr);

// The solution as text rows: '#' filled, '.' empty, '?' undecided; one line per row.
std::string DrawSolution(int cols, const LineSolution& solution);

}  // namespace ContentBuilder
