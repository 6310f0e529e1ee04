#include "tools/content_builder/font_rasteriser.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "engine/graphics/bmfont_reader.h"
#include "tools/content_builder/bmfont_description.h"
#include "tools/content_builder/glyph_atlas.h"
#include "tools/content_builder/theme.h"

namespace {

namespace CB = ContentBuilder;
namespace Theme = ContentBuilder::Theme;

std::vector<uint8_t> ReadFont(std::string_view path) {
    std::ifstream in{std::string(path), std::ios::binary};
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<uint32_t> Ascii() {
    std::vector<uint32_t> set;
    for (uint32_t c = 0x20; c < 0x7F; ++c) set.push_back(c);
    return set;
}

const CB::RasterGlyph& Glyph(const CB::RasterFont& font, uint32_t c) {
    const auto it = std::find_if(font.glyphs.begin(), font.glyphs.end(),
                                 [c](const CB::RasterGlyph& g) { return g.codepoint == c; });
    if (it == font.glyphs.end()) throw std::runtime_error("no glyph " + std::to_string(c));
    return *it;
}

bool IsDigit(uint32_t c) { return c >= '0' && c <= '9'; }

// The description as the engine's reader sees it gives back every glyph's box, placement and
// metrics, and every kerning pair; the atlas holds each glyph's pixels at its box; boxes never
// overlap or touch (filtering would bleed one glyph into the next).
TEST(ContentBuilderFontRasteriser, DescriptionAndAtlasRoundTripThroughTheEngineReader) {
    const std::vector<uint8_t> ttf = ReadFont(Theme::kLatoRegular);
    ASSERT_FALSE(ttf.empty());
    const CB::RasterFont font = CB::RasteriseFont(ttf, {"Lato Regular", 18, std::nullopt, false}, Ascii());
    const CB::GlyphAtlas atlas =
        CB::PackGlyphs(font.glyphs, Theme::kGlyphSpacing, Theme::kMinAtlasSide, Theme::kMaxAtlasSide);
    const std::string xml = CB::BmFontDescriptionXml(font, atlas, "body.png");

    pugi::xml_document document;
    ASSERT_TRUE(document.load_buffer(xml.data(), xml.size()));
    QRV::JS_BMFONT_DESCRIPTION read;
    QRV::ReadBmFontDescription(document.document_element(), 1, 1, read);
    EXPECT_EQ(read.face, "Lato Regular");
    EXPECT_EQ(read.lineHeight, font.lineHeight);
    EXPECT_EQ(read.scaleW, atlas.image.width);
    EXPECT_EQ(read.scaleH, atlas.image.height);
    ASSERT_EQ(read.glyphs.size(), font.glyphs.size());

    const float w = static_cast<float>(atlas.image.width), h = static_cast<float>(atlas.image.height);
    for (size_t i = 0; i < font.glyphs.size(); ++i) {
        const CB::RasterGlyph& g = font.glyphs[i];
        const CB::AtlasPlacement& p = atlas.placements[i];
        SCOPED_TRACE("glyph " + std::to_string(g.codepoint));
        ASSERT_TRUE(read.glyphs.count(g.codepoint));
        const QRV::JS_BMFONT_GLYPH& r = read.glyphs.at(g.codepoint);
        EXPECT_EQ(r.width, static_cast<uint32_t>(g.width));
        EXPECT_EQ(r.height, static_cast<uint32_t>(g.height));
        EXPECT_EQ(r.xoffset, g.xoffset);
        EXPECT_EQ(r.yoffset, g.yoffset);
        EXPECT_EQ(r.xadvance, static_cast<uint32_t>(g.xadvance));
        EXPECT_FLOAT_EQ(r.uLeft, p.x / w);
        EXPECT_FLOAT_EQ(r.vBottom, (p.y + g.height) / h);
        // Glyphs sit below the line's top and within a line or so of it.
        if (g.height > 0) {
            EXPECT_GE(g.yoffset, 0);
            EXPECT_LE(g.yoffset + g.height, font.lineHeight + 2);
        }

        ASSERT_LE(p.x + g.width + Theme::kGlyphSpacing, atlas.image.width);
        ASSERT_LE(p.y + g.height + Theme::kGlyphSpacing, atlas.image.height);
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x)
                ASSERT_EQ(atlas.image.rgba[(static_cast<size_t>(p.y + y) * atlas.image.width + p.x + x) * 4 + 3],
                          g.rgba[(static_cast<size_t>(y) * g.width + x) * 4 + 3]);
        for (size_t j = 0; j < i; ++j) {
            const CB::RasterGlyph& o = font.glyphs[j];
            const CB::AtlasPlacement& q = atlas.placements[j];
            if (g.width == 0 || o.width == 0) continue;
            const int gap = Theme::kGlyphSpacing;
            const bool apart = p.x >= q.x + o.width + gap || q.x >= p.x + g.width + gap ||
                               p.y >= q.y + o.height + gap || q.y >= p.y + g.height + gap;
            EXPECT_TRUE(apart) << "overlaps glyph " << o.codepoint;
        }
    }

    ASSERT_FALSE(font.kernings.empty());
    size_t readPairs = 0;
    for (const auto& [code, glyph] : read.glyphs) readPairs += glyph.kerning.size();
    EXPECT_EQ(readPairs, font.kernings.size());
    for (const CB::KerningPair& k : font.kernings) {
        EXPECT_NE(k.amount, 0);
        EXPECT_EQ(read.glyphs.at(k.second).kerning.at(k.first), k.amount);
    }
    // The font's own kerning is there: "AV" moves closer.
    ASSERT_TRUE(read.glyphs.at('V').kerning.count('A'));
    EXPECT_LT(read.glyphs.at('V').kerning.at('A'), 0);
}

// Comfortaa's digits differ in width: with tabular digits they all advance alike, keep their
// drawing centred in the wider cell, and no digit is ever kerned; other glyphs are untouched.
TEST(ContentBuilderFontRasteriser, TabularDigitsAdvanceAlikeAndAreNeverKerned) {
    const std::vector<uint8_t> ttf = ReadFont(Theme::kComfortaaBold);
    const CB::RasterFont plain = CB::RasteriseFont(ttf, {"Comfortaa Bold", 32, std::nullopt, false}, Ascii());
    const CB::RasterFont tabular = CB::RasteriseFont(ttf, {"Comfortaa Bold", 32, std::nullopt, true}, Ascii());
    int widest = 0, narrowest = 1 << 20;
    for (uint32_t c = '0'; c <= '9'; ++c) {
        widest = std::max(widest, Glyph(plain, c).xadvance);
        narrowest = std::min(narrowest, Glyph(plain, c).xadvance);
    }
    ASSERT_LT(narrowest, widest) << "the test needs a font with proportional digits";
    for (uint32_t c = '0'; c <= '9'; ++c) {
        const CB::RasterGlyph& p = Glyph(plain, c);
        const CB::RasterGlyph& t = Glyph(tabular, c);
        EXPECT_EQ(t.xadvance, widest);
        EXPECT_EQ(t.xoffset - p.xoffset, (widest - p.xadvance) / 2);
    }
    EXPECT_EQ(Glyph(tabular, 'A').xadvance, Glyph(plain, 'A').xadvance);
    for (const CB::KerningPair& k : tabular.kernings) EXPECT_FALSE(IsDigit(k.first) || IsDigit(k.second));
    EXPECT_TRUE(std::any_of(plain.kernings.begin(), plain.kernings.end(),
                            [](const CB::KerningPair& k) { return !IsDigit(k.first) && !IsDigit(k.second); }));
}

// The baked shadow widens the box where it falls but leaves the glyph where it was relative to
// the pen: the glyph's opaque pixels stay opaque white at the same place and the shadow shows in
// its own colour below and right of it.
TEST(ContentBuilderFontRasteriser, BakedShadowKeepsTheGlyphInPlaceAndFallsBelowRight) {
    const std::vector<uint8_t> ttf = ReadFont(Theme::kComfortaaBold);
    const Theme::SoftShadow shadow = Theme::kTitleShadow;
    const CB::RasterFont plain = CB::RasteriseFont(ttf, {"t", 48, std::nullopt, false}, {'I'});
    const CB::RasterFont baked = CB::RasteriseFont(ttf, {"t", 48, shadow, false}, {'I'});
    const CB::RasterGlyph& p = plain.glyphs.at(0);
    const CB::RasterGlyph& s = baked.glyphs.at(0);
    ASSERT_GT(p.width, 0);
    EXPECT_EQ(s.xadvance, p.xadvance);
    EXPECT_GT(s.width, p.width);
    EXPECT_GT(s.height, p.height);
    const int left = p.xoffset - s.xoffset, top = p.yoffset - s.yoffset;
    ASSERT_GE(left, 0);
    ASSERT_GE(top, 0);
    auto at = [](const CB::RasterGlyph& g, int x, int y) {
        return &g.rgba[(static_cast<size_t>(y) * g.width + x) * 4];
    };
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (at(p, x, y)[3] == 255) {
                const uint8_t* q = at(s, x + left, y + top);
                ASSERT_TRUE(q[0] == 255 && q[1] == 255 && q[2] == 255 && q[3] == 255) << x << "," << y;
            }
    // Just below the glyph's bottom, in the middle of the stem: shadow colour, partly opaque.
    const uint8_t* under = at(s, left + p.width / 2 + 1, top + p.height + 1);
    EXPECT_GT(under[3], 20);
    EXPECT_LT(under[3], 200);
    EXPECT_NEAR(under[0], shadow.colour.r, 2);
    EXPECT_NEAR(under[2], shadow.colour.b, 2);
    // Above the glyph there is next to no shadow: it falls downwards.
    EXPECT_LT(at(s, left + p.width / 2, 0)[3], under[3]);
}

TEST(ContentBuilderFontRasteriser, AMissingCharacterStopsTheBuildNamingIt) {
    const std::vector<uint8_t> ttf = ReadFont(Theme::kLatoRegular);
    try {
        CB::RasteriseFont(ttf, {"Lato Regular", 18, std::nullopt, false}, {'A', 0x4E2D});
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("U+4E2D"), std::string::npos) << e.what();
    }
    EXPECT_THROW(CB::RasteriseFont(std::vector<uint8_t>(64, 0), {"x", 18, std::nullopt, false}, {'A'}),
                 std::runtime_error);
}

}  // namespace
