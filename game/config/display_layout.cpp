#include "game/config/display_layout.h"

#include "engine/resources/hot_spot.h"

namespace Game {

bool DesktopForcesFullscreen(int32_t desktopWidth, int32_t desktopHeight) {
    return desktopWidth < kLogicalWidth || desktopHeight < kLogicalHeight;
}

DisplayLayout ClassifyDesktop(DisplayLayout previous, int32_t desktopWidth, int32_t desktopHeight) {
    if (desktopHeight == 0) return previous;
    DisplayLayout layout;
    const double byHeight = static_cast<double>(desktopHeight) / kLogicalHeight;
    const double byWidth = static_cast<double>(desktopWidth) / kLogicalWidth;
    if (byHeight > byWidth) layout.topAndBottom = true;
    else layout.sideBars = true;
    return layout;
}

bool BordersShown(int32_t fullscreen, int32_t platformLetter) { return fullscreen != 0 || platformLetter >= 2; }

std::vector<BorderDraw> BorderDraws(const DisplayLayout& layout, int32_t desktopWidth, int32_t desktopHeight,
                                    float lineWidth, float lineHeight) {
    std::vector<BorderDraw> draws;
    if (desktopHeight <= 0) return draws;
    const float w = static_cast<float>(kLogicalWidth);
    const float h = static_cast<float>(kLogicalHeight);
    if (layout.sideBars) {
        // The logical width the desktop's shape gives the logical height, beyond the screen on
        // both sides, three times over so that the letterbox is covered at any scale.
        const auto fitWidth = static_cast<int64_t>(static_cast<double>(desktopWidth) / desktopHeight * kLogicalHeight);
        const auto tileWidth = static_cast<float>(3 * ((fitWidth - kLogicalWidth) / 2));
        if (tileWidth > 0.0f) {
            draws.push_back({BorderPiece::Tile, tileWidth, h, QRV::HS_UL, w, 0.0f});
            draws.push_back({BorderPiece::Tile, tileWidth, h, QRV::HS_UR, 0.0f, 0.0f});
            draws.push_back({BorderPiece::Line, lineWidth, h, QRV::HS_UL, w, 0.0f});
            draws.push_back({BorderPiece::Line, lineWidth, h, QRV::HS_UR, 0.0f, 0.0f});
        }
    } else if (layout.topAndBottom) {
        const auto tileHeight = static_cast<float>((desktopHeight - kLogicalHeight) / 2);
        if (tileHeight > 0.0f) {
            const auto lineLength = static_cast<float>(desktopWidth);
            draws.push_back({BorderPiece::Tile, w, tileHeight, QRV::HS_UL, 0.0f, h});
            draws.push_back({BorderPiece::Tile, w, tileHeight, QRV::HS_DL, 0.0f, 0.0f});
            draws.push_back({BorderPiece::Line, lineLength, lineHeight, QRV::HS_UL, 0.0f, h});
            draws.push_back({BorderPiece::Line, lineLength, lineHeight, QRV::HS_DL, 0.0f, 0.0f});
        }
    }
    return draws;
}

BorderRect CoveredRect(const BorderDraw& draw) {
    // The anchor's column and row: 0 left or top, 1 middle, 2 right or bottom.
    const int32_t column = draw.hotSpot % 3;
    const int32_t row = draw.hotSpot / 3;
    const float left = draw.x - draw.width * static_cast<float>(column) * 0.5f;
    const float top = draw.y - draw.height * static_cast<float>(row) * 0.5f;
    return {left, top, left + draw.width, top + draw.height};
}

}  // namespace Game
