#include "engine/graphics/bmfont_text.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "tests/graphics/bmfont_test_support.h"
#include "tests/test_kit/parsed_xml.h"

namespace QRV {
namespace {

using TestSupport::DrawnQuad;

class BmFontTextTest : public TestSupport::NullRendererTest {
protected:
    void SetUp() override {
        NullRendererTest::SetUp();
        ASSERT_TRUE(xml);
        atlas = render->CreateBlankTexture(128, 64);
        ASSERT_NE(atlas, nullptr);
        ASSERT_TRUE(font.Load(&xml.document, atlas, 50));
        font.anchor = 0;
    }

    std::vector<DrawnQuad> DrawText(const std::wstring& text, float x = 0, float y = 0) {
        BeginFrame();
        font.DrawText(x, y, text);
        return EndFrameQuads();
    }

    const TestKit::ParsedXml xml{TestSupport::kTestFontXml};
    JS_TEXTURE* atlas = nullptr;
    JC_BMFONT_TEXT font;
};

TEST_F(BmFontTextTest, GlyphsAdvanceTheirOffsetBoxesWithTheirTexels) {
    const std::vector<DrawnQuad> quads = DrawText(L"AB", 100, 50);
    ASSERT_EQ(quads.size(), 2u);
    EXPECT_FLOAT_EQ(quads[0].left, 101);
    EXPECT_FLOAT_EQ(quads[0].top, 52);
    EXPECT_FLOAT_EQ(quads[0].right, 109);
    EXPECT_FLOAT_EQ(quads[0].bottom, 62);
    EXPECT_FLOAT_EQ(quads[0].u0, 0);
    EXPECT_FLOAT_EQ(quads[0].u1, 8.0f / 128);
    EXPECT_FLOAT_EQ(quads[0].v1, 10.0f / 64);
    EXPECT_FLOAT_EQ(quads[1].left, 110);
    EXPECT_FLOAT_EQ(quads[1].top, 53);
    EXPECT_FLOAT_EQ(quads[1].right, 116);
    EXPECT_FLOAT_EQ(quads[1].u0, 8.0f / 128);
    EXPECT_EQ(quads[1].color, 0xFFFFFFFFu);
    const auto draws = device->Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0]->state.texture, atlas->deviceHandle);
}

TEST_F(BmFontTextTest, KerningAppliesToNeighboursOnOneLineOnly) {
    const struct {
        const wchar_t* text;
        size_t quads;
        float lastLeft, lastTop;
    } cases[] = {
        {L"AV", 2, 8, 2},     // A then V: V two pixels closer
        {L"VA", 2, 10, 2},    // the pair has an order
        {L"AZV", 2, 8, 2},    // a character without glyph leaves the previous one in place
        {L"A\nV", 2, 0, 22},  // a line feed starts afresh
        {L"\x0141"
         L"A",
         2, 9, 2},          // beyond the first 256 code points
        {L"ZZZ", 0, 0, 0},  // nothing to draw
    };
    for (const auto& c : cases) {
        const std::vector<DrawnQuad> quads = DrawText(c.text);
        ASSERT_EQ(quads.size(), c.quads) << testing::PrintToString(std::wstring(c.text));
        if (c.quads == 0) {
            EXPECT_EQ(render->drawCalls, 0u);
            continue;
        }
        EXPECT_FLOAT_EQ(quads.back().left, c.lastLeft) << testing::PrintToString(std::wstring(c.text));
        EXPECT_FLOAT_EQ(quads.back().top, c.lastTop) << testing::PrintToString(std::wstring(c.text));
    }
}

TEST_F(BmFontTextTest, AnchorsAlignEachLineOnItsOwnWidthAndTheBlockOnItsHeight) {
    // Lines of 17 (A B) and 8 (C) pixels; two lines of 20. Halves are whole pixels: -(17 / 2) = -8.
    const float firstLine[3] = {0, -8, -17};
    const float secondLine[3] = {0, -4, -8};
    const float block[3] = {0, -20, -40};
    for (int32_t anchor = 0; anchor <= 8; ++anchor) {
        font.anchor = anchor;
        const std::vector<DrawnQuad> quads = DrawText(L"AB\nC", 100, 50);
        ASSERT_EQ(quads.size(), 3u);
        const int column = anchor % 3, row = anchor / 3;
        EXPECT_FLOAT_EQ(quads[0].left, 100 + firstLine[column] + 1) << "anchor " << anchor;
        EXPECT_FLOAT_EQ(quads[0].top, 50 + block[row] + 2) << "anchor " << anchor;
        EXPECT_FLOAT_EQ(quads[2].left, 100 + secondLine[column] - 1) << "anchor " << anchor;
        EXPECT_FLOAT_EQ(quads[2].top, 50 + block[row] + 20 + 2) << "anchor " << anchor;
    }
}

TEST_F(BmFontTextTest, QuadsLandOnWholePixelsFromAFractionalPlace) {
    font.anchor = 4;
    const std::vector<DrawnQuad> quads = DrawText(L"ABD\nCV", 10.4f, 20.6f);
    ASSERT_EQ(quads.size(), 5u);
    for (const DrawnQuad& q : quads) {
        for (float value : {q.left, q.top, q.right, q.bottom}) EXPECT_EQ(value, std::round(value));
    }
    EXPECT_FLOAT_EQ(quads[0].left, 10 - 13 + 1);  // first line 26 wide
    EXPECT_FLOAT_EQ(quads[0].top, 21 - 20 + 2);
}

TEST_F(BmFontTextTest, LineWidthSumsAdvancesUpToTheFirstLineFeed) {
    const struct {
        const wchar_t* text;
        int32_t width;
    } cases[] = {
        {L"AB\nCD", 17}, {L"AZB", 17}, {L"AV", 19}, {L"", 0}, {L"\nAB", 0}, {L"\x0141", 8},
    };
    for (const auto& c : cases)
        EXPECT_EQ(font.GetLineWidth(c.text), c.width) << testing::PrintToString(std::wstring(c.text));
    JC_BMFONT_TEXT unloaded;
    EXPECT_EQ(unloaded.GetLineWidth(L"AB"), 0);
}

TEST_F(BmFontTextTest, DataTextIsDrawnLiterallyAndFormatsTakeTheirArguments) {
    // '%' has a glyph, 's', 'd' and 'n' do not: a conversion in data text is just characters.
    std::vector<DrawnQuad> quads = DrawText(L"A%sB%d%n");
    ASSERT_EQ(quads.size(), 5u);
    EXPECT_FLOAT_EQ(quads[2].left, 16);

    BeginFrame();
    font.Draw(0, 0, L"%sB", L"A%s");
    quads = EndFrameQuads();
    ASSERT_EQ(quads.size(), 3u) << "an argument is not formatted again";
    EXPECT_FLOAT_EQ(quads[2].left, 16);
}

TEST_F(BmFontTextTest, TextsLongerThanTheCapacityAreNotDrawn) {
    const TestKit::ParsedXml small(TestSupport::kTestFontXml);
    ASSERT_TRUE(small);
    ASSERT_TRUE(font.Load(&small.document, atlas, 5));
    EXPECT_EQ(DrawText(L"AAAAA").size(), 5u);
    EXPECT_EQ(DrawText(L"AAAAAA").size(), 0u);
    EXPECT_EQ(DrawText(L"AAAA\nA").size(), 0u) << "line feeds count";

    BeginFrame();
    font.Draw(0, 0, L"A%sB", L"AAA");
    EXPECT_EQ(EndFrameQuads().size(), 5u);
    BeginFrame();
    font.Draw(0, 0, L"A%sB", L"AAAA");
    EXPECT_EQ(EndFrameQuads().size(), 0u) << "a cut formatted text is not drawn";
}

TEST_F(BmFontTextTest, LongTextsGoInBatchesTheRendererCanTake) {
    const TestKit::ParsedXml large(TestSupport::kTestFontXml);
    ASSERT_TRUE(large);
    ASSERT_TRUE(font.Load(&large.document, atlas, 5000));
    font.anchor = 0;
    const std::vector<DrawnQuad> quads = DrawText(std::wstring(3000, L'A'));
    ASSERT_EQ(quads.size(), 3000u);
    EXPECT_EQ(render->drawCalls, 2u);
    for (size_t k = 0; k < quads.size(); ++k) {
        ASSERT_FLOAT_EQ(quads[k].left, 1.0f + 10.0f * static_cast<float>(k)) << "quad " << k;
    }
    const auto draws = device->Draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0]->vertices.size(), 2048u * 4);
    EXPECT_EQ(draws[1]->vertices.size(), 952u * 4);
    for (const auto* draw : draws) {
        ASSERT_EQ(draw->indices.size(), draw->vertices.size() / 4 * 6);
        for (size_t q = 0; q < draw->indices.size() / 6; ++q) {
            const uint16_t* six = draw->indices.data() + q * 6;
            const auto first = static_cast<uint16_t>(q * 4);
            ASSERT_TRUE(six[0] == first && six[1] == first + 1 && six[2] == first + 2 && six[3] == first &&
                        six[4] == first + 2 && six[5] == first + 3)
                << "quad " << q;
        }
    }
}

TEST_F(BmFontTextTest, ColourAndParentApplyToEveryQuad) {
    font.color = 0x80FF0000;
    JS_TRANSFORM3 parent;
    parent.positionX = 200;
    parent.positionY = 100;
    font.transform.parent = &parent;
    const std::vector<DrawnQuad> quads = DrawText(L"AB", 5, 5);
    ASSERT_EQ(quads.size(), 2u);
    EXPECT_FLOAT_EQ(quads[0].left, 206);
    EXPECT_FLOAT_EQ(quads[0].top, 107);
    for (const DrawnQuad& q : quads) EXPECT_EQ(q.color, 0x80FF0000u);
    font.transform.parent = nullptr;
}

TEST_F(BmFontTextTest, LoadNeedsDocumentAndTextureAndReplacesThePreviousFont) {
    JC_BMFONT_TEXT other;
    EXPECT_FALSE(other.Load(nullptr, atlas, 10));
    EXPECT_FALSE(other.Load(&xml.document, nullptr, 10));
    EXPECT_EQ(other.loaded, 0);
    other.DrawText(0, 0, L"A");  // unloaded: nothing, no crash

    font.color = 0xFF00FF00;
    font.anchor = 8;
    const TestKit::ParsedXml bare(R"(<font><common lineHeight="9"/></font>)");
    ASSERT_TRUE(bare);
    ASSERT_TRUE(font.Load(&bare.document, atlas, 10));
    EXPECT_EQ(font.loaded, 1);
    EXPECT_TRUE(font.Glyphs().empty());
    EXPECT_EQ(font.lineHeight, 9);
    EXPECT_EQ(font.color, 0xFFFFFFFFu);
    EXPECT_EQ(font.anchor, 4);
    EXPECT_EQ(DrawText(L"AB").size(), 0u) << "a font without glyphs draws nothing";
}

// Every label of a font holds the same glyphs: they share one copy of them, which lives while one
// of them does; another font, or a font loaded again after all were gone, has its own.
TEST_F(BmFontTextTest, TextsOfOneFontShareTheirGlyphs) {
    const TestKit::ParsedXml copy{TestSupport::kTestFontXml};
    const TestKit::ParsedXml bare(R"(<font><common lineHeight="9"/><char id="65" xadvance="3"/></font>)");
    auto second = std::make_unique<JC_BMFONT_TEXT>();
    JC_BMFONT_TEXT third;
    JC_BMFONT_TEXT other;
    ASSERT_TRUE(second->Load(&xml.document, atlas, 10));
    ASSERT_TRUE(third.Load(&copy.document, atlas, 10));  // the same description read again
    ASSERT_TRUE(other.Load(&bare.document, atlas, 10));
    EXPECT_TRUE(second->SharesGlyphsWith(font));
    EXPECT_TRUE(third.SharesGlyphsWith(font));
    EXPECT_FALSE(other.SharesGlyphsWith(font));
    EXPECT_EQ(second->Glyphs().size(), font.Glyphs().size());

    // Shared glyphs lay out as their own did: the same quads from each text.
    BeginFrame();
    second->anchor = 0;
    second->DrawText(0, 0, L"AVA");
    const std::vector<DrawnQuad> shared = EndFrameQuads();
    EXPECT_EQ(shared.size(), DrawText(L"AVA").size());

    // Reloading one text with another font leaves the rest as they were.
    ASSERT_TRUE(second->Load(&bare.document, atlas, 10));
    EXPECT_TRUE(second->SharesGlyphsWith(other));
    EXPECT_TRUE(third.SharesGlyphsWith(font));
    second->Clear();
    EXPECT_TRUE(second->Glyphs().empty());
    EXPECT_FALSE(font.Glyphs().empty());
}

}  // namespace
}  // namespace QRV
