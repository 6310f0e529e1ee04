#include "tools/content_builder/font_content.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(ContentBuilderFontContent, GlyphSetIsPrintableAsciiPlusEveryCharacterOfTheTexts) {
    const std::vector<ContentBuilder::StringEntry> strings = {{"a", "tab\there\nnext"},
                                                              {"b", "Caf\xC3\xA9 \xE2\x80\x93 \xF0\x9F\x99\x82"}};
    const std::vector<uint32_t> set = ContentBuilder::FontCodepoints(strings);
    EXPECT_TRUE(std::is_sorted(set.begin(), set.end()));
    EXPECT_EQ(std::adjacent_find(set.begin(), set.end()), set.end());
    for (uint32_t c = 0x20; c < 0x7F; ++c) EXPECT_TRUE(std::binary_search(set.begin(), set.end(), c)) << c;
    for (uint32_t c : {0xE9u, 0x2013u, 0x1F642u}) EXPECT_TRUE(std::binary_search(set.begin(), set.end(), c)) << c;
    // Line breaks and tabs are layout, not glyphs.
    EXPECT_FALSE(std::binary_search(set.begin(), set.end(), 0x09u));
    EXPECT_FALSE(std::binary_search(set.begin(), set.end(), 0x0Au));
    EXPECT_EQ(set.size(), 95u + 3u);
}

}  // namespace
