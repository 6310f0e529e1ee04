// The title screen's pictures (theme.h, kTitleArt): the logo, the sheet of a small picture being
// solved move by move, and the ink bands under the greeting and under a confirm's extra line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/content_builder/output_tree.h"
#include "tools/content_builder/texture_png.h"

namespace ContentBuilder {

// One move of the solving: the cell and whether it is filled (else crossed).
struct SolvingMove {
    int row = 0, col = 0;
    bool fill = false;
};

// The runs of filled cells of a line ('#' filled), in order; empty for a line without any.
std::vector<int> LineRuns(const std::string& line);
// Every cell of the picture once, in the order a solver would mark it: lines whose runs leave no
// choice first, then lines whose runs are all placed are crossed out, then the cells left.
std::vector<SolvingMove> SolvingOrder(const std::vector<std::string>& picture);

// Frames: the empty grid, one per move, then the solved picture held.
int SolvingFrames();
int SolvingFrameSide();
TextureImage DrawSolvingSheet(const std::vector<uint8_t>& clueFont);
TextureImage DrawBand(int width, int height);

// The pictures into kTitleArt.folder.
void BuildTitleArt(OutputTree& out);

}  // namespace ContentBuilder
