#pragma once
// The display mode chosen from the desktop size, and where the border art goes around the logical
// screen when it is letterboxed. Pure functions of the sizes; the global configuration applies
// them to the engine and the border sprites.

#include <cstdint>
#include <vector>

namespace Game {

inline constexpr int32_t kLogicalWidth = 1024;
inline constexpr int32_t kLogicalHeight = 768;

struct DisplayLayout {
    bool sideBars = false;      // the desktop is at least as wide as 4:3
    bool topAndBottom = false;  // the desktop is taller than 4:3
};

// A desktop smaller than the logical screen cannot hold its window: the game goes fullscreen.
bool DesktopForcesFullscreen(int32_t desktopWidth, int32_t desktopHeight);

// The layout for the desktop, the two ratios compared in floating point. A desktop height of 0
// (not known) keeps the previous layout.
DisplayLayout ClassifyDesktop(DisplayLayout previous, int32_t desktopWidth, int32_t desktopHeight);

// Borders show in fullscreen, and in a window only on platforms that always fill the screen.
bool BordersShown(int32_t fullscreen, int32_t platformLetter);

enum class BorderPiece { Tile, Line };

// One draw of a border sprite: its size, the hot spot (0 to 8) that anchors it and where that
// anchor is placed, in logical pixels.
struct BorderDraw {
    BorderPiece piece = BorderPiece::Tile;
    float width = 0.0f;
    float height = 0.0f;
    int32_t hotSpot = 0;
    float x = 0.0f;
    float y = 0.0f;
};

// The draws, in order (the tile before the line over it), for the layout on that desktop; the
// line texture's size sets the seam's thickness. Side bars need a positive tile width and
// top-and-bottom bars a positive tile height; nothing is drawn for a desktop height of 0. Every
// draw lies outside the logical screen.
std::vector<BorderDraw> BorderDraws(const DisplayLayout& layout, int32_t desktopWidth, int32_t desktopHeight,
                                    float lineWidth, float lineHeight);

// The rectangle a draw covers: left, top, right, bottom.
struct BorderRect {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
};
BorderRect CoveredRect(const BorderDraw& draw);

}  // namespace Game
