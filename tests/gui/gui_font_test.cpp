#include "engine/gui/gui_font.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "engine/graphics/mesh.h"
#include "engine/graphics/named_texture.h"
#include "engine/graphics/texture.h"
#include "tests/graphics/bmfont_test_support.h"

namespace QRV {
namespace {

using TestSupport::DrawnQuad;

// Line height 20 on a 100 x 50 atlas: A 10 wide (advance 10), B 12 (12), '?' 8 (advance 9) with
// offsets (1, 3), '|' 2 (4). The first A is replaced by the second.
constexpr const char* kFontXml = R"(<font>
  <common lineHeight="20"/>
  <pages><page id="0" file="ignored.png"/></pages>
  <chars count="5">
    <char id="65" x="90" y="40" width="1" height="1" xoffset="0" yoffset="0" xadvance="99"/>
    <char id="65" x="0" y="0" width="10" height="16" xoffset="0" yoffset="0" xadvance="10"/>
    <char id="66" x="10" y="0" width="12" height="16" xoffset="0" yoffset="0" xadvance="12"/>
    <char id="63" x="30" y="20" width="8" height="14" xoffset="1" yoffset="3" xadvance="9"/>
    <char id="124" x="40" y="0" width="2" height="18" xoffset="0" yoffset="0" xadvance="4"/>
  </chars>
</font>)";

class GuiFontTest : public TestSupport::NullRendererTest {
protected:
    void SetUp() override {
        NullRendererTest::SetUp();
        atlas = render->CreateBlankTexture(100, 50);
        ASSERT_NE(atlas, nullptr);
        font = MakeFont(kFontXml);
        ASSERT_NE(font, nullptr);
    }

    std::unique_ptr<JC_GUI_FONT> MakeFont(const char* xml) {
        auto document = std::make_unique<pugi::xml_document>();
        EXPECT_TRUE(document->load_string(xml));
        auto made = std::make_unique<JC_GUI_FONT>(document->child("font"), atlas);
        return made;
    }

    std::vector<DrawnQuad> Draw(const wchar_t* text, int32_t x, int32_t y) {
        BeginFrame();
        font->DrawText(x, y, text);
        return EndFrameQuads();
    }

    JS_TEXTURE* atlas = nullptr;
    std::unique_ptr<JC_GUI_FONT> font;
};

TEST_F(GuiFontTest, LoadsGlyphsWithTheirFractionsOfTheTexture) {
    EXPECT_EQ(font->lineHeight, 20);
    EXPECT_EQ(font->glyphCount, 5);
    EXPECT_EQ(font->glyphs.size(), 4u);
    EXPECT_EQ(font->inset, 20);
    EXPECT_EQ(font->alignment, 0);
    const JS_GUI_GLYPH& question = font->glyphs.at('?');
    EXPECT_FLOAT_EQ(question.u0, 0.3f);
    EXPECT_FLOAT_EQ(question.v0, 0.4f);
    EXPECT_FLOAT_EQ(question.u1, 0.38f);
    EXPECT_FLOAT_EQ(question.v1, 0.68f);
    EXPECT_EQ(font->glyphs.at('A').xadvance, 10);  // the later record won
}

TEST_F(GuiFontTest, AlignmentPlacesLinesByTheirWidthAndBlocksByTheirHeight) {
    const struct {
        int32_t alignment;
        const wchar_t* text;
        float firstLeft, firstTop;  // of the first glyph, drawn at (100, 200)
        float lastLeft, lastTop;    // of the last glyph
    } cases[] = {
        {0, L"AB", 100, 200, 110, 200},
        {3, L"AB", 100, 190, 110, 190},
        {4, L"AB", 89, 190, 99, 190},  // "AB" is 22 wide: from x - 11
        {5, L"AB", 78, 190, 88, 190},  // from x - 22
        {2, L"AB", 78, 200, 88, 200},
        {4, L"A\nAB", 95, 180, 99, 200},  // two lines of 20: from y - 20, the second at y
        {1, L"AB", 89, 200, 99, 200},     // the upper row starts on the anchor
        {7, L"AB", 89, 180, 99, 180},     // the lower row ends on it
        {8, L"A\nB", 90, 160, 88, 180},
        {6, L"AB", 100, 180, 110, 180},
    };
    for (const auto& c : cases) {
        font->alignment = c.alignment;
        const std::vector<DrawnQuad> quads = Draw(c.text, 100, 200);
        ASSERT_FALSE(quads.empty()) << c.alignment;
        EXPECT_FLOAT_EQ(quads.front().left, c.firstLeft) << c.alignment;
        EXPECT_FLOAT_EQ(quads.front().top, c.firstTop) << c.alignment;
        EXPECT_FLOAT_EQ(quads.back().left, c.lastLeft) << c.alignment;
        EXPECT_FLOAT_EQ(quads.back().top, c.lastTop) << c.alignment;
    }
}

TEST_F(GuiFontTest, GlyphsAreDrawnAtTheirPixelSizeWithTheirTexels) {
    const std::vector<DrawnQuad> quads = Draw(L"B", 10, 20);
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_FLOAT_EQ(quads[0].right - quads[0].left, 12);
    EXPECT_FLOAT_EQ(quads[0].bottom - quads[0].top, 16);
    EXPECT_FLOAT_EQ(quads[0].u0, 0.1f);
    EXPECT_FLOAT_EQ(quads[0].u1, 0.22f);
    EXPECT_FLOAT_EQ(quads[0].v1, 0.32f);
}

TEST_F(GuiFontTest, MissingCharactersAreDrawnAndMeasuredAsTheQuestionMark) {
    const std::vector<DrawnQuad> quads = Draw(L"AzB", 0, 0);
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_FLOAT_EQ(quads[1].left, 11);  // pen 10 plus the '?' x offset
    EXPECT_FLOAT_EQ(quads[1].top, 3);
    EXPECT_FLOAT_EQ(quads[1].u0, 0.3f);
    EXPECT_FLOAT_EQ(quads[2].left, 19);  // '?' advanced by its own 9
    EXPECT_EQ(font->GetAdvance(L'z'), 9);
    EXPECT_EQ(font->GetLineWidth(L"AzB"), 31);
    // Centred, the drawn line is centred on its measured width.
    font->alignment = 1;
    EXPECT_FLOAT_EQ(Draw(L"AzB", 0, 0).front().left, -15);
}

TEST_F(GuiFontTest, WithoutAQuestionMarkMissingCharactersVanish) {
    auto plain = MakeFont(R"(<font><common lineHeight="10"/><chars>
        <char id="65" x="0" y="0" width="10" height="10" xadvance="10"/></chars></font>)");
    BeginFrame();
    plain->DrawText(0, 0, L"AzA");
    const std::vector<DrawnQuad> quads = EndFrameQuads();
    ASSERT_EQ(quads.size(), 2u);
    EXPECT_FLOAT_EQ(quads[1].left, 10);
    EXPECT_EQ(plain->GetAdvance(L'z'), 0);
    EXPECT_EQ(plain->GetLineWidth(L"AzA"), 20);
}

TEST_F(GuiFontTest, MeasuringStopsAtTheFirstLineFeedAndCountsSpacingAndScale) {
    EXPECT_EQ(font->GetLineWidth(L"\nAB"), 0);
    EXPECT_EQ(font->GetLineWidth(L"AB\nBBBB"), 22);
    EXPECT_EQ(font->GetLineWidth(L""), 0);
    EXPECT_EQ(font->GetLineWidth(nullptr), 0);
    font->letterSpacing = 2;
    EXPECT_EQ(font->GetLineWidth(L"AB"), 26);
    font->glyphQuad->transform->scaleX = 0.5f;
    EXPECT_EQ(font->GetLineWidth(L"AB"), 13);  // trunc(6) then trunc(6 + 7)

    // A leading line feed leaves the first line empty.
    font->letterSpacing = 0;
    font->glyphQuad->transform->scaleX = 1;
    const std::vector<DrawnQuad> quads = Draw(L"\nA", 0, 0);
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_FLOAT_EQ(quads[0].top, 20);
}

TEST_F(GuiFontTest, LetterAndLineSpacingMoveThePen) {
    font->letterSpacing = 3;
    font->lineSpacing = 5;
    const std::vector<DrawnQuad> quads = Draw(L"AB\nA", 0, 0);
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_FLOAT_EQ(quads[1].left, 13);
    EXPECT_FLOAT_EQ(quads[2].top, 25);
}

TEST_F(GuiFontTest, DataTextIsDrawnLiterallyAndFormatsAreCutToTheBuffer) {
    // DrawText never formats: "%s%d" is four characters, each drawn (as '?').
    EXPECT_EQ(Draw(L"%s%d", 0, 0).size(), 4u);

    const std::wstring longText(700, L'A');
    BeginFrame();
    font->DrawTextF(0.9f, 0.9f, L"%s", longText.c_str());
    const std::vector<DrawnQuad> quads = EndFrameQuads();
    ASSERT_EQ(quads.size(), 599u);
    EXPECT_FLOAT_EQ(quads[0].left, 0);  // the position is truncated
    BeginFrame();
    font->DrawTextF(0, 0, L"%d", 12);  // no glyphs for digits: '?' twice
    EXPECT_EQ(EndFrameQuads().size(), 2u);
}

TEST_F(GuiFontTest, ADocumentWithoutGlyphsGivesAFontThatDrawsAndMeasuresNothing) {
    for (const char* xml : {R"(<font><common lineHeight="12"/></font>)", R"(<font><chars/></font>)"}) {
        pugi::xml_document document;
        ASSERT_TRUE(document.load_string(xml));
        JC_GUI_FONT empty(document.child("font"), atlas);
        EXPECT_EQ(empty.Load(document.child("font"), atlas), -1);
        EXPECT_EQ(empty.inset, 20);
        EXPECT_EQ(empty.GetLineWidth(L"AB"), 0);
        EXPECT_EQ(empty.GetAdvance(L'A'), 0);
        BeginFrame();
        empty.DrawText(0, 0, L"AB");
        empty.DrawTextF(0, 0, L"AB");
        EXPECT_TRUE(EndFrameQuads().empty());
    }
}

TEST_F(GuiFontTest, AnUnboundOrEmptyTextureDrawsNothingAndDividesByNothing) {
    // No texture at all.
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(kFontXml));
    JC_GUI_FONT unbound(document.child("font"), nullptr);
    BeginFrame();
    unbound.DrawText(0, 0, L"AB");
    EXPECT_TRUE(EndFrameQuads().empty());
    EXPECT_EQ(unbound.GetLineWidth(L"AB"), 22);

    // A record of size 0: fractions stay finite.
    JS_TEXTURE empty;
    JC_GUI_FONT zero(document.child("font"), &empty);
    for (const auto& [code, glyph] : zero.glyphs) {
        EXPECT_TRUE(std::isfinite(glyph.u1) && std::isfinite(glyph.v1)) << code;
    }

    // Released by its owner and bound again.
    font->SetTexture(NoTexture());
    EXPECT_TRUE(Draw(L"AB", 0, 0).empty());
    font->SetTexture(atlas);
    EXPECT_EQ(Draw(L"AB", 0, 0).size(), 2u);
}

TEST_F(GuiFontTest, ATextureOfAnotherSizePlacesTheGlyphsAgain) {
    JS_TEXTURE* bigger = render->CreateBlankTexture(200, 100);
    ASSERT_NE(bigger, nullptr);
    font->SetTexture(bigger);
    EXPECT_FLOAT_EQ(font->glyphs.at('B').u1, 0.11f);
    const std::vector<DrawnQuad> quads = Draw(L"B", 0, 0);
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_FLOAT_EQ(quads[0].u1, 0.11f);
    EXPECT_FLOAT_EQ(quads[0].right - quads[0].left, 12);
}

}  // namespace
}  // namespace QRV
