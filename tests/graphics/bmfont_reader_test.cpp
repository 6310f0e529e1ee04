#include "engine/graphics/bmfont_reader.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cmath>

#include "tests/graphics/bmfont_test_support.h"
#include "tests/test_kit/parsed_xml.h"

namespace QRV {
namespace {

JS_BMFONT_DESCRIPTION Read(const char* xml, uint32_t textureWidth = 256, uint32_t textureHeight = 128) {
    const TestKit::ParsedXml document(xml);
    EXPECT_TRUE(document);
    JS_BMFONT_DESCRIPTION description;
    ReadBmFontDescription(document.Root(), textureWidth, textureHeight, description);
    return description;
}

TEST(BmFontReaderTest, ReadsMetricsGlyphsAndTexelRectangles) {
    const JS_BMFONT_DESCRIPTION font = Read(TestSupport::kTestFontXml);
    EXPECT_EQ(font.face, "Test Face");
    EXPECT_EQ(font.lineHeight, 20);
    EXPECT_EQ(font.base, 16);
    EXPECT_EQ(font.scaleW, 128);
    EXPECT_EQ(font.scaleH, 64);
    ASSERT_EQ(font.glyphs.count(68), 1u);
    const JS_BMFONT_GLYPH& d = font.glyphs.at(68);
    EXPECT_EQ(d.width, 8u);
    EXPECT_EQ(d.height, 11u);
    EXPECT_EQ(d.yoffset, 1);
    EXPECT_EQ(d.xadvance, 9u);
    // The declared atlas size, not the texture's, measures the boxes.
    EXPECT_FLOAT_EQ(d.uLeft, 24.0f / 128);
    EXPECT_FLOAT_EQ(d.vTop, 10.0f / 64);
    EXPECT_FLOAT_EQ(d.uRight, 32.0f / 128);
    EXPECT_FLOAT_EQ(d.vBottom, 21.0f / 64);
    EXPECT_EQ(font.glyphs.at(67).xoffset, -1);
    EXPECT_EQ(font.glyphs.count(321), 1u);
}

TEST(BmFontReaderTest, LaterDuplicateReplacesAndPairsToAbsentGlyphsAreDropped) {
    const JS_BMFONT_DESCRIPTION font = Read(TestSupport::kTestFontXml);
    EXPECT_EQ(font.glyphs.size(), 7u);
    EXPECT_EQ(font.glyphs.at(66).xadvance, 7u);
    EXPECT_EQ(font.glyphs.at(66).width, 6u);
    EXPECT_EQ(font.glyphs.count(999), 0u) << "a kerning pair must not make a glyph";
    EXPECT_EQ(font.glyphs.at(86).kerning.size(), 1u);
    EXPECT_EQ(font.glyphs.at(86).kerning.at(65), -2);
    EXPECT_TRUE(font.glyphs.at(65).kerning.empty());
}

TEST(BmFontReaderTest, MissingScaleFallsBackToTheTextureSize) {
    const char* xml = R"(<font><common lineHeight="10"/><chars>
        <char id="65" x="32" y="16" width="32" height="16"/></chars></font>)";
    const JS_BMFONT_GLYPH a = Read(xml, 128, 64).glyphs.at(65);
    EXPECT_FLOAT_EQ(a.uLeft, 0.25f);
    EXPECT_FLOAT_EQ(a.vTop, 0.25f);
    EXPECT_FLOAT_EQ(a.uRight, 0.5f);
    EXPECT_FLOAT_EQ(a.vBottom, 0.5f);
    // Without a texture size either, nothing divides by zero.
    const JS_BMFONT_GLYPH b = Read(xml, 0, 0).glyphs.at(65);
    EXPECT_TRUE(std::isfinite(b.uLeft) && std::isfinite(b.vBottom));
}

TEST(BmFontReaderTest, AbsentOrMalformedValuesReadAsZero) {
    const char* xml = R"(<font><chars>
        <!-- a comment is not a glyph -->
        <char id="65"/>
        <char id="66" width="-4" xadvance="x" xoffset="-3" yoffset=" +2"/>
        </chars><kernings><kerning first="66" second="65" amount="-7"/><kerning second="66"/></kernings></font>)";
    const JS_BMFONT_DESCRIPTION font = Read(xml);
    EXPECT_EQ(font.face, "");
    EXPECT_EQ(font.lineHeight, 0);
    ASSERT_EQ(font.glyphs.size(), 2u);
    const JS_BMFONT_GLYPH& a = font.glyphs.at(65);
    EXPECT_EQ(a.width, 0u);
    EXPECT_EQ(a.height, 0u);
    EXPECT_EQ(a.xadvance, 0u);
    const JS_BMFONT_GLYPH& b = font.glyphs.at(66);
    EXPECT_EQ(b.width, 0u) << "negative sizes are not wrapped round";
    EXPECT_EQ(b.xadvance, 0u);
    EXPECT_EQ(b.xoffset, -3);
    EXPECT_EQ(b.yoffset, 2);
    EXPECT_EQ(a.kerning.at(66), -7);
    EXPECT_EQ(b.kerning.at(0), 0);
}

TEST(BmFontReaderTest, NoCharsOrNoRootGivesNoGlyphs) {
    EXPECT_TRUE(Read(R"(<font><common lineHeight="12"/></font>)").glyphs.empty());
    JS_BMFONT_DESCRIPTION description;
    description.glyphs[65] = JS_BMFONT_GLYPH();
    ReadBmFontDescription(pugi::xml_node(), 16, 16, description);
    EXPECT_TRUE(description.glyphs.empty()) << "the previous content is replaced";
}

}  // namespace
}  // namespace QRV
