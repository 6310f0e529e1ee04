#include "game/config/display_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace Game {
namespace {

constexpr float kLineSide = 3.0f;

std::string SizeName(int32_t w, int32_t h) { return std::to_string(w) + " x " + std::to_string(h); }

TEST(DisplayLayoutTest, DesktopsAreClassifiedByTheirShape) {
    const struct {
        int32_t width, height;
        bool forcesFullscreen, sideBars, topAndBottom;
    } cases[] = {
        {800, 600, true, true, false},                                       // exactly 4:3, too small for the window
        {1024, 768, false, true, false},                                     // exactly 4:3: side bars of width 0
        {1920, 1080, false, true, false}, {1280, 1024, false, false, true},  // 5:4: the ratios must be compared in
                                                                             // floating point
        {1080, 1920, false, false, true},                                    // portrait
        {1366, 768, false, true, false},  {1024, 700, true, true, false},   {640, 900, true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(SizeName(c.width, c.height));
        EXPECT_EQ(DesktopForcesFullscreen(c.width, c.height), c.forcesFullscreen);
        // Whatever came before is replaced.
        for (const DisplayLayout before : {DisplayLayout{}, DisplayLayout{true, false}, DisplayLayout{false, true}}) {
            const DisplayLayout layout = ClassifyDesktop(before, c.width, c.height);
            EXPECT_EQ(layout.sideBars, c.sideBars);
            EXPECT_EQ(layout.topAndBottom, c.topAndBottom);
        }
    }
    // A desktop height of 0 (not known) keeps the layout.
    const DisplayLayout kept = ClassifyDesktop({false, true}, 1920, 0);
    EXPECT_TRUE(kept.topAndBottom);
    EXPECT_FALSE(kept.sideBars);
}

TEST(DisplayLayoutTest, BordersShowInFullscreenOrOnPlatformsThatFillTheScreen) {
    for (int32_t letter = 0; letter <= 3; ++letter) {
        EXPECT_TRUE(BordersShown(1, letter)) << letter;
        EXPECT_EQ(BordersShown(0, letter), letter >= 2) << letter;
    }
}

TEST(DisplayLayoutTest, WideDesktopGetsSideTilesThenSeams) {
    const std::vector<BorderDraw> draws = BorderDraws({true, false}, 1920, 1080, kLineSide, kLineSide);
    // 3 * ((trunc(1920 / 1080 * 768) - 1024) / 2) = 3 * ((1365 - 1024) / 2) = 510.
    const struct {
        BorderPiece piece;
        float width, height;
        int32_t hotSpot;
        float x, y;
    } expected[] = {
        {BorderPiece::Tile, 510, 768, 0, 1024, 0},
        {BorderPiece::Tile, 510, 768, 2, 0, 0},
        {BorderPiece::Line, kLineSide, 768, 0, 1024, 0},
        {BorderPiece::Line, kLineSide, 768, 2, 0, 0},
    };
    ASSERT_EQ(draws.size(), std::size(expected));
    for (size_t i = 0; i < draws.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(draws[i].piece, expected[i].piece);
        EXPECT_EQ(draws[i].width, expected[i].width);
        EXPECT_EQ(draws[i].height, expected[i].height);
        EXPECT_EQ(draws[i].hotSpot, expected[i].hotSpot);
        EXPECT_EQ(draws[i].x, expected[i].x);
        EXPECT_EQ(draws[i].y, expected[i].y);
    }
}

TEST(DisplayLayoutTest, TallDesktopGetsBarsAboveAndBelow) {
    const std::vector<BorderDraw> draws = BorderDraws({false, true}, 1280, 1024, kLineSide, kLineSide);
    ASSERT_EQ(draws.size(), 4u);
    EXPECT_EQ(draws[0].height, 128.0f);  // (1024 - 768) / 2
    EXPECT_EQ(draws[0].width, 1024.0f);
    EXPECT_EQ(draws[1].hotSpot, 6);
    EXPECT_EQ(draws[2].width, 1280.0f);  // the seam runs the desktop's width
    EXPECT_EQ(draws[3].height, kLineSide);
}

// Across desktops of every shape no border piece reaches into the logical screen, every piece
// has a size, and the tiles reach beyond the letterbox the desktop leaves.
TEST(DisplayLayoutTest, NoBorderEverCoversTheLogicalScreen) {
    std::vector<std::pair<int32_t, int32_t>> desktops = {{1920, 0}, {0, 0}, {1024, 768}, {800, 600}};
    for (int32_t w = 320; w <= 3840; w += 160) {
        for (int32_t h = 240; h <= 2400; h += 120) {
            desktops.emplace_back(w, h);
        }
    }
    int drawn = 0;
    for (const auto& [w, h] : desktops) {
        SCOPED_TRACE(SizeName(w, h));
        for (const DisplayLayout before : {DisplayLayout{}, DisplayLayout{true, false}, DisplayLayout{false, true}}) {
            const DisplayLayout layout = ClassifyDesktop(before, w, h);
            const std::vector<BorderDraw> draws = BorderDraws(layout, w, h, kLineSide, kLineSide);
            if (h == 0) {
                EXPECT_TRUE(draws.empty());
            }
            for (const BorderDraw& draw : draws) {
                const BorderRect r = CoveredRect(draw);
                EXPECT_GT(r.right, r.left);
                EXPECT_GT(r.bottom, r.top);
                const bool outside =
                    r.right <= 0.0f || r.left >= kLogicalWidth || r.bottom <= 0.0f || r.top >= kLogicalHeight;
                EXPECT_TRUE(outside) << r.left << " " << r.top << " " << r.right << " " << r.bottom;
                if (draw.piece == BorderPiece::Tile && w >= kLogicalWidth && h >= kLogicalHeight) {
                    // The letterbox in logical pixels: the screen is scaled to fit the desktop.
                    const float scale =
                        std::min(static_cast<float>(w) / kLogicalWidth, static_cast<float>(h) / kLogicalHeight);
                    const float barWidth = (w / scale - kLogicalWidth) / 2.0f;
                    const float barHeight = (h / scale - kLogicalHeight) / 2.0f;
                    EXPECT_GE(layout.sideBars ? draw.width : draw.height,
                              (layout.sideBars ? barWidth : barHeight) - 1.0f);
                }
                ++drawn;
            }
        }
    }
    EXPECT_GT(drawn, 1000);
}

}  // namespace
}  // namespace Game
