#include "tools/content_builder/texture_png.h"

#include <gtest/gtest.h>

namespace {

// Transparent pixels beside a visible one take its colour (so bilinear filtering does not pull a
// dark fringe into the edge); pixels that touch nothing visible and visible pixels stay as they were.
TEST(ContentBuilderTexturePng, BleedColoursOnlyTransparentNeighboursOfVisiblePixels) {
    const int w = 4, h = 1;
    std::vector<uint8_t> rgba = {200, 40, 20, 255, 0, 0, 0, 0, 0, 0, 0, 0, 10, 20, 30, 128};
    ContentBuilder::BleedIntoTransparent(rgba, w, h);
    const std::vector<uint8_t> expected = {200, 40, 20, 255, 200, 40, 20, 0, 10, 20, 30, 0, 10, 20, 30, 128};
    EXPECT_EQ(rgba, expected);

    std::vector<uint8_t> empty(4 * 3 * 3, 0);
    ContentBuilder::BleedIntoTransparent(empty, 3, 3);
    EXPECT_EQ(empty, std::vector<uint8_t>(4 * 3 * 3, 0));
}

}  // namespace
