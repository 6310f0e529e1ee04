#include "tools/content_builder/window_icons.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tools/content_builder/theme.h"

namespace {

namespace Theme = ContentBuilder::Theme;

TEST(ContentBuilderIcons, PatternCellsAreSolidInkOrPaperAndCornersTransparent) {
    for (int size : Theme::kIcon.sizes) {
        SCOPED_TRACE("size " + std::to_string(size));
        const std::vector<uint8_t> rgba = ContentBuilder::DrawWindowIcon(size);
        ASSERT_EQ(rgba.size(), static_cast<size_t>(size * size * 4));
        auto pixel = [&](int x, int y) { return &rgba[(static_cast<size_t>(y) * size + x) * 4]; };

        for (int corner : {0, size - 1}) {
            EXPECT_EQ(pixel(corner, corner)[3], 0);
            EXPECT_EQ(pixel(corner, size - 1 - corner)[3], 0);
        }
        // Around the centre of each of the nine cells: solid ink where the pattern has a filled cell
        // and no ink at all where it has an empty one (so the pattern is neither transposed nor
        // mirrored). Small icons snap to whole pixels, hence the one-pixel neighbourhood.
        const float span = size * (1.0f - 2.0f * Theme::kIcon.patternInset);
        auto isInk = [](const uint8_t* p) {
            return p[3] == 255 && std::abs(p[0] - Theme::kInk.r) <= 1 && std::abs(p[1] - Theme::kInk.g) <= 1 &&
                   std::abs(p[2] - Theme::kInk.b) <= 1;
        };
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col) {
                const int cx = static_cast<int>(std::floor(size * 0.5f + (col - 1) * span / 3.0f));
                const int cy = static_cast<int>(std::floor(size * 0.5f + (row - 1) * span / 3.0f));
                int ink = 0;
                for (int y = cy - 1; y <= cy + 1; ++y)
                    for (int x = cx - 1; x <= cx + 1; ++x) ink += isInk(pixel(x, y));
                if (Theme::kIcon.pattern[row][col] == '#') EXPECT_GT(ink, 0) << "cell " << row << "," << col;
                else EXPECT_EQ(ink, 0) << "cell " << row << "," << col;
            }
        }
    }
}

}  // namespace
