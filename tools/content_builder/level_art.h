// The pictures of packs and boards: the board's plain sprites (a block of cells and the two
// selection marks), the pack card and level tiles shared by every pack, and each pack's cover
// (one of its pictures in ink on paper), closed cover (an empty grid under a lock) and board
// background (paper with a border of dots in the pack's tint). Parameters: theme.h.
#pragma once

#include <string_view>

#include "tools/content_builder/line_solver.h"
#include "tools/content_builder/texture_png.h"
#include "tools/content_builder/theme.h"

namespace ContentBuilder {

// The tint of a pack theme; the first theme's for an unknown name.
Theme::Rgb PackTint(std::string_view theme);

// A block of board.block x board.block cells of board.cell pixels inside the gap all round
// (-shift pixels of the heavier line): BlockSide square, so that blocks laid at the block pitch
// (side + shift) overlap in the gap between them.
int BlockSide(const Theme::BoardGeometry& board);
TextureImage DrawBoardBlock(const Theme::BoardGeometry& board);
// The selection marks, side x side: "selection_yes" with a square, "selection_no" with a cross.
TextureImage DrawSelectionYes(int side);
TextureImage DrawSelectionNo(int side);

// The pack card's panel and its accent ring, one size (the card plus room for the shadow).
TextureImage DrawPackCard();
TextureImage DrawPackActive();

// A pack's cover with the picture in ink, and its closed cover (an empty grid of the picture's
// size under a lock).
TextureImage DrawPackCover(const LinePicture& picture, Theme::Rgb tint);
TextureImage DrawPackCoverClosed(const LinePicture& picture, Theme::Rgb tint);

// A pack's board background, the size of the screen.
TextureImage DrawBoardBackground(Theme::Rgb tint);

// Level tiles: open, closed (with a lock), the accent ring of the active level, and the star
// pair (left half empty, right half won).
TextureImage DrawLevelOpen();
TextureImage DrawLevelClosed();
TextureImage DrawLevelActive();
TextureImage DrawLevelStars();

// The flash over a tutorial step's panel: white (the step tints it), rounded.
TextureImage DrawTutorialFlash();
// The arrow a tutorial step points with (kTutorialArrow).
TextureImage DrawTutorialArrow();

}  // namespace ContentBuilder
