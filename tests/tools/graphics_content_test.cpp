// The sprite, animation, panel, particle and font content as the engine's readers take it: every
// description loads, names files the build made, and fits the textures it names.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>

#include "engine/graphics/animation.h"
#include "engine/graphics/bmfont_reader.h"
#include "engine/graphics/nine_part_frame.h"
#include "engine/graphics/particles.h"
#include "engine/graphics/sprite.h"
#include "tests/test_kit/rgba_image.h"
#include "tests/test_kit/temp_folder.h"
#include "tools/content_builder/animation_sheets.h"
#include "tools/content_builder/font_content.h"
#include "tools/content_builder/nine_part_panel.h"
#include "tools/content_builder/particle_effects.h"
#include "tools/content_builder/test_sprites.h"
#include "tools/content_builder/theme.h"

namespace {

namespace fs = std::filesystem;
namespace CB = ContentBuilder;
namespace Theme = ContentBuilder::Theme;

using Image = QRV::TestKit::RgbaImage;

class ContentBuilderGraphics : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = std::make_unique<QRV::TestKit::TempFolder>("quorvel-graphics-content");
        root = folder->Path();
        // A text with characters beyond ASCII: every font must draw them.
        folder->Write("content/strings/en.txt", "greeting\tCaf\xC3\xA9 \xE2\x80\x93 na\xC3\xAFve\n");
        CB::OutputTree out(root / "run");
        CB::BuildTestSprites(out);
        CB::BuildAnimationSheets(out);
        CB::BuildNinePartPanel(out);
        CB::BuildParticleEffects(out);
        CB::BuildFonts((root / "content").string(), out);
    }
    static void TearDownTestSuite() { folder.reset(); }

    // "repository file" -> the file below the run folder.
    static fs::path FileOf(const std::string& key) {
        const size_t blank = key.find(' ');
        return blank == std::string::npos ? root / "run" / "Resources" / key
                                          : root / "run" / "Resources" / key.substr(0, blank) / key.substr(blank + 1);
    }
    static pugi::xml_node LoadXml(pugi::xml_document& document, std::string_view folder, std::string_view file) {
        const fs::path path = root / "run" / "Resources" / folder / file;
        EXPECT_TRUE(document.load_file(path.c_str())) << path;
        return document.document_element();
    }
    static Image LoadImage(const std::string& key) { return {QRV::TestKit::LoadRgbaImage(FileOf(key).string())}; }

    static std::unique_ptr<QRV::TestKit::TempFolder> folder;
    static fs::path root;
};
std::unique_ptr<QRV::TestKit::TempFolder> ContentBuilderGraphics::folder;
fs::path ContentBuilderGraphics::root;

TEST_F(ContentBuilderGraphics, SpriteDescriptionsUseEveryKeyAndNameBuiltTextures) {
    pugi::xml_document document;
    const pugi::xml_node sprites = LoadXml(document, Theme::kTestFolder, Theme::kSpriteDescriptions);
    std::set<std::string> keys;
    int count = 0;
    for (const pugi::xml_node& element : sprites.children()) {
        SCOPED_TRACE(element.name());
        QRV::G_SPRITE sprite;
        EXPECT_TRUE(sprite.Load(element));
        EXPECT_TRUE(fs::is_regular_file(FileOf(sprite.textureName))) << sprite.textureName;
        for (const pugi::xml_node& key : element.children()) keys.insert(key.name());
        for (const pugi::xml_attribute& attribute : element.attributes()) keys.insert(attribute.name());
        ++count;
    }
    EXPECT_GE(count, 4);
    for (const char* key : {"FILE", "TEXTURE", "HOT_SPOT", "POS", "TRANSFORM", "SIZE", "COLOR", "TEXEL"})
        EXPECT_TRUE(keys.count(key)) << key << " is used by no sprite";

    pugi::xml_document cursor;
    const std::string texture =
        LoadXml(cursor, Theme::kTestFolder, Theme::kCursorDescription).child("file").text().as_string();
    EXPECT_TRUE(fs::is_regular_file(FileOf(texture))) << texture;
}

// Each sheet divides into its grid (the quad size is the texture size over the grid) and every
// frame has content and a transparent border, so filtering never mixes in the next frame.
TEST_F(ContentBuilderGraphics, AnimationSheetsFitTheirGridsWithCleanCellBorders) {
    pugi::xml_document document;
    const pugi::xml_node animations = LoadXml(document, Theme::kTestFolder, Theme::kAnimationDescriptions);
    int count = 0;
    for (const pugi::xml_node& element : animations.children()) {
        SCOPED_TRACE(element.name());
        QRV::G_ANIMATION animation;
        ASSERT_TRUE(animation.Load(element));
        const Image sheet = LoadImage(animation.textureName);
        ASSERT_GT(sheet.width, 0);
        EXPECT_GT(animation.frameCount, 1);
        EXPECT_LE(animation.frameCount, animation.columns * animation.rows);
        EXPECT_GT(animation.fps, 0.0f);
        ASSERT_EQ(sheet.width % animation.columns, 0);
        ASSERT_EQ(sheet.height % animation.rows, 0);
        const int cw = sheet.width / animation.columns, ch = sheet.height / animation.rows;
        for (int frame = 0; frame < animation.frameCount; ++frame) {
            const int x0 = (frame % animation.columns) * cw, y0 = (frame / animation.columns) * ch;
            int opaque = 0;
            for (int y = 0; y < ch; ++y)
                for (int x = 0; x < cw; ++x) {
                    const uint8_t a = sheet.Alpha(x0 + x, y0 + y);
                    if (x == 0 || y == 0 || x == cw - 1 || y == ch - 1) {
                        ASSERT_EQ(a, 0) << "frame " << frame << " at " << x << "," << y;
                    }
                    opaque += a == 255;
                }
            EXPECT_GT(opaque, 0) << "frame " << frame;
        }
        ++count;
    }
    EXPECT_EQ(count, 2);
}

// The frame reader gives its attributes to places in its own order ("lt" is the right edge,
// "dr" the middle, ...): loaded through it, each place must get the piece drawn for that place,
// and neighbouring pieces must meet without a seam.
TEST_F(ContentBuilderGraphics, PanelPiecesLandInTheReadersPlacesAndMeetWithoutSeams) {
    pugi::xml_document document;
    QRV::G_FRAME9 frame;
    frame.Load(LoadXml(document, Theme::kTestFolder, Theme::kPanelDescription));
    std::array<Image, 9> piece;
    for (int place = 0; place < 9; ++place)
        piece[static_cast<size_t>(place)] = LoadImage(frame.parts[place].textureName);
    const int c = CB::PanelCornerSize(), s = Theme::kPanel.strip;
    const int sizes[9][2] = {{c, c}, {s, c}, {c, c}, {c, s}, {c, c}, {s, c}, {c, c}, {c, s}, {s, s}};
    // Per place: a pixel on the panel (opaque) and one outside it (clear), in the piece's own corner.
    const int inside[9][2] = {{c - 1, c - 1}, {0, c - 1}, {0, c - 1}, {0, 0}, {0, 0},
                              {0, 0},         {c - 1, 0}, {c - 1, 0}, {0, 0}};
    const int outside[9][2] = {{0, 0},     {0, 0},     {c - 1, 0}, {c - 1, 0}, {c - 1, c - 1},
                               {0, c - 1}, {0, c - 1}, {0, 0},     {-1, -1}};
    for (int place = 0; place < 9; ++place) {
        SCOPED_TRACE("place " + std::to_string(place) + " " + frame.parts[place].textureName);
        const Image& p = piece[static_cast<size_t>(place)];
        ASSERT_EQ(p.width, sizes[place][0]);
        ASSERT_EQ(p.height, sizes[place][1]);
        EXPECT_EQ(p.Alpha(inside[place][0], inside[place][1]), 255);
        if (outside[place][0] >= 0) {
            EXPECT_LT(p.Alpha(outside[place][0], outside[place][1]), 8);
        }
    }
    const Image& middle = piece[8];
    for (int i = 0; i < s * s; ++i) {
        const uint8_t* m = &middle.rgba[static_cast<size_t>(i) * 4];
        EXPECT_TRUE(m[0] == Theme::kPanel.fill.r && m[1] == Theme::kPanel.fill.g && m[2] == Theme::kPanel.fill.b &&
                    m[3] == 255);
    }

    // A stretched strip repeats one line; that line continues its corner's inner line.
    auto same = [](const uint8_t* a, const uint8_t* b) {
        for (int k = 0; k < 4; ++k)
            if (std::abs(a[k] - b[k]) > 1) return false;
        return true;
    };
    const Image &ul = piece[0], &up = piece[1], &dr = piece[4], &down = piece[5], &right = piece[3], &left = piece[7];
    for (int i = 0; i < c; ++i) {
        for (int k = 0; k < s; ++k) {
            EXPECT_TRUE(same(up.At(k, i), ul.At(c - 1, i))) << "upper edge row " << i;
            EXPECT_TRUE(same(left.At(i, k), ul.At(i, c - 1))) << "left edge column " << i;
            EXPECT_TRUE(same(down.At(k, i), dr.At(0, i))) << "lower edge row " << i;
            EXPECT_TRUE(same(right.At(i, k), dr.At(i, 0))) << "right edge column " << i;
        }
    }
}

TEST_F(ContentBuilderGraphics, ParticleDescriptionsLoadWithTheirTextureAndNormalBlending) {
    pugi::xml_document document;
    const pugi::xml_node particles = LoadXml(document, Theme::kTestFolder, Theme::kParticleDescriptions);
    int count = 0;
    for (const pugi::xml_node& element : particles.children()) {
        SCOPED_TRACE(element.name());
        QRV::G_PARTICLES effect;
        ASSERT_TRUE(effect.Load(element));
        EXPECT_TRUE(fs::is_regular_file(FileOf(effect.textureName))) << effect.textureName;
        // Additive dots would wash out to white on the light paper.
        EXPECT_EQ(effect.system.renderState & 0x4u, 0u);
        ++count;
    }
    EXPECT_EQ(count, static_cast<int>(Theme::kParticles.size()));
}

// Every catalogue font reads back with a glyph for every character of the string table (and
// printable ASCII), boxes inside its atlas, and clue fonts with digits of one width.
TEST_F(ContentBuilderGraphics, CatalogueFontsCoverTheStringTableInsideTheirAtlases) {
    pugi::xml_document catalogue;
    const pugi::xml_node fonts = LoadXml(catalogue, Theme::kFontFolder, Theme::kFontCatalogue).child("fonts");
    ASSERT_TRUE(fonts);
    const std::vector<uint32_t> needed = CB::FontCodepoints({{"greeting", "Caf\xC3\xA9 \xE2\x80\x93 na\xC3\xAFve"}});
    std::set<std::string> names;
    for (const pugi::xml_node& entry : fonts.children()) {
        const std::string name = entry.attribute("name").as_string();
        SCOPED_TRACE(name);
        EXPECT_TRUE(names.insert(name).second) << "repeated name";
        const Image atlas = LoadImage(entry.attribute("texture").as_string());
        pugi::xml_document description;
        ASSERT_TRUE(description.load_file(FileOf(entry.attribute("xml").as_string()).c_str()));
        QRV::JS_BMFONT_DESCRIPTION font;
        QRV::ReadBmFontDescription(description.document_element(), static_cast<uint32_t>(atlas.width),
                                   static_cast<uint32_t>(atlas.height), font);
        EXPECT_EQ(font.scaleW, atlas.width);
        EXPECT_EQ(font.scaleH, atlas.height);
        EXPECT_GT(font.lineHeight, 0);
        for (uint32_t c : needed) EXPECT_TRUE(font.glyphs.count(c)) << "no glyph " << c;
        for (const auto& [code, glyph] : font.glyphs) {
            EXPECT_LE(glyph.uRight, 1.0f) << code;
            EXPECT_LE(glyph.vBottom, 1.0f) << code;
        }
        const QRV::JS_BMFONT_GLYPH& a = font.glyphs.at('A');
        int ink = 0;
        for (uint32_t y = 0; y < a.height; ++y)
            for (uint32_t x = 0; x < a.width; ++x)
                ink += atlas.Alpha(static_cast<int>(a.uLeft * atlas.width) + static_cast<int>(x),
                                   static_cast<int>(a.vTop * atlas.height) + static_cast<int>(y)) > 128;
        EXPECT_GT(ink, 0);
        if (name.rfind("clue", 0) == 0) {
            for (uint32_t d = '1'; d <= '9'; ++d) EXPECT_EQ(font.glyphs.at(d).xadvance, font.glyphs.at('0').xadvance);
        }
    }
    for (const Theme::FontRecipe& recipe : Theme::kFonts)
        EXPECT_TRUE(names.count(std::string(recipe.name))) << recipe.name;
}

}  // namespace
