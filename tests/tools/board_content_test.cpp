// The board's gameplay files as the builder writes them, read back with the engine's own readers:
// the effects (animations, settings, flies and their particles), the clue style and the
// decoration (border, ears, highlight, error panel, sunime counter), the board's block and
// selection pictures, the fonts they name, and the fit of boards with their clues on the screen.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <set>

#include "engine/core/conversions.h"
#include "engine/core/property_map.h"
#include "engine/graphics/animation.h"
#include "engine/graphics/font_catalogue.h"
#include "engine/graphics/nine_part_frame.h"
#include "engine/graphics/particles.h"
#include "engine/platform/clock.h"
#include "tests/resources/resource_test_support.h"
#include "tests/test_kit/null_renderer.h"
#include "tests/test_kit/rgba_image.h"
#include "tests/test_kit/temp_folder.h"
#include "tools/content_builder/board_files.h"
#include "tools/content_builder/board_fit.h"
#include "tools/content_builder/font_content.h"
#include "tools/content_builder/level_art.h"
#include "tools/content_builder/level_sources.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/string_table_source.h"
#include "tools/content_builder/tutorial_steps.h"

namespace {

namespace fs = std::filesystem;
namespace CB = ContentBuilder;
namespace Theme = ContentBuilder::Theme;

const fs::path kContent = QUORVEL_CONTENT_DIR;

struct Image : QRV::TestKit::RgbaImage {
    bool Is(int x, int y, Theme::Rgb c) const {
        const uint8_t* p = At(x, y);
        return p[0] == c.r && p[1] == c.g && p[2] == c.b && p[3] == 255;
    }
};

Image FromTexture(const CB::TextureImage& t) { return {t.width, t.height, t.rgba}; }

class BoardContent : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = std::make_unique<QRV::TestKit::TempFolder>("quorvel-board-content");
        CB::OutputTree out(folder->Path());
        CB::BuildStringTable(kContent.string(), out);
        CB::BuildFonts(kContent.string(), out);
        CB::BuildBoardFiles(kContent.string(), out);
        for (const char* key : {"effects", "numbers", "ambient"})
            ASSERT_TRUE(documents[key].load_file((folder->Path() / CB::GameplayFilePath(key)).c_str())) << key;
    }
    static void TearDownTestSuite() {
        documents.clear();
        folder.reset();
    }

    static pugi::xml_node Root(const char* key) { return documents.at(key).document_element(); }
    static fs::path FileOf(const std::string& key) {
        const size_t blank = key.find(' ');
        return folder->Path() / "Resources" / key.substr(0, blank) / key.substr(blank + 1);
    }
    static Image LoadImage(const std::string& key) { return {QRV::TestKit::LoadRgbaImage(FileOf(key).string())}; }
    // Loads an animation description and checks that its sheet holds its frames, each with
    // content and a clear border; the sheet comes back.
    static Image CheckAnimation(const pugi::xml_node& node, QRV::G_ANIMATION& animation) {
        EXPECT_TRUE(animation.Load(node)) << node.name();
        const Image sheet = LoadImage(animation.textureName);
        EXPECT_EQ(animation.rows, 1);
        EXPECT_EQ(animation.columns, animation.frameCount);
        EXPECT_GT(animation.fps, 0.0f);
        if (sheet.width == 0 || sheet.width % animation.columns != 0) {
            ADD_FAILURE() << animation.textureName << " does not divide into its frames";
            return sheet;
        }
        const int w = sheet.width / animation.columns;
        for (int f = 0; f < animation.frameCount; ++f) {
            int seen = 0;
            for (int y = 0; y < sheet.height; ++y)
                for (int x = 0; x < w; ++x) {
                    const uint8_t a = sheet.Alpha(f * w + x, y);
                    if (x == 0 || y == 0 || x == w - 1 || y == sheet.height - 1) {
                        EXPECT_EQ(a, 0) << animation.textureName << " frame " << f << " at " << x << "," << y;
                    }
                    seen += a > 0;
                }
            EXPECT_GT(seen, 0) << animation.textureName << " frame " << f;
        }
        return sheet;
    }

    static inline std::unique_ptr<QRV::TestKit::TempFolder> folder;
    static inline std::map<std::string, pugi::xml_document> documents;
};

// Every animation the board, its ends and its flies find by name, with its frame size (the cell
// marks are exactly one cell, the size the engine gives their quad) and whether it loops.
TEST_F(BoardContent, EffectAnimationsLoadWithTheirFramesAndPlayAsTheBoardNeeds) {
    struct Want {
        const char* name;
        int side;  // 0: any
        bool loop;
    };
    const Want wanted[] = {{"square", Theme::kBoardCell, false},
                           {"cross", Theme::kBoardCell, false},
                           {"shine", Theme::kBoardCell, false},
                           {"pulse", Theme::kBoardCell, false},
                           {"hint", 0, true},
                           {"money", 0, true}};
    std::map<std::string, pugi::xml_node> byName;
    for (const pugi::xml_node& a : Root("effects").child("animations").children())
        EXPECT_TRUE(byName.emplace(a.attribute("name").value(), a).second)
            << "repeated " << a.attribute("name").value();
    for (const Want& w : wanted) {
        SCOPED_TRACE(w.name);
        ASSERT_EQ(byName.count(w.name), 1u);
        QRV::G_ANIMATION animation;
        const Image sheet = CheckAnimation(byName[w.name], animation);
        if (w.side > 0) {
            EXPECT_EQ(sheet.height, w.side);
            EXPECT_EQ(sheet.width, w.side * animation.frameCount);
        }
        EXPECT_EQ(animation.loop != 0, w.loop);
        EXPECT_EQ(animation.direction, 1) << "forward from frame 0";
    }
    JCPropertyMap settings;
    settings.Load(Root("effects").child("settings"));
    ASSERT_NE(settings.Find("end_level"), nullptr);
    EXPECT_EQ(byName.count(settings.Find("end_level")->text), 1u) << "the end-of-level animation";
    for (const char* key : {"open_delay", "end_level_time"}) {
        ASSERT_NE(settings.Find(key), nullptr) << key;
        EXPECT_GT(settings.Find(key)->floatValue, 0.0f) << key;
    }
}

// The filled cell: an ink square inset by 1 px with rounded 2 px corners that grows in and, played
// by the engine, stops on its last (full) frame.
TEST_F(BoardContent, SquarePopsInAndHoldsTheFullInkSquare) {
    const pugi::xml_node node = Root("effects").child("animations").find_child_by_attribute("name", "square");
    QRV::G_ANIMATION square;
    const Image sheet = CheckAnimation(node, square);
    const int c = Theme::kBoardCell, last = (square.frameCount - 1) * c;
    EXPECT_TRUE(sheet.Is(last + 1, c / 2, Theme::kInk));
    EXPECT_TRUE(sheet.Is(last + c - 2, c / 2, Theme::kInk));
    EXPECT_TRUE(sheet.Is(last + c / 2, 1, Theme::kInk));
    EXPECT_LT(sheet.Alpha(last + 1, 1), 255) << "a rounded corner";
    EXPECT_EQ(sheet.Alpha(2, c / 2), 0) << "the first frame is smaller";

    QRV::TestKit::GlobalGuard globals;
    globals.Set(QRV::g_frameTime, 1.0f / 60.0f);
    square.playing = 1;
    square.SetFrame(0);
    int updates = 0;
    while (square.playing != 0 && updates < 600) square.Update(), ++updates;
    EXPECT_EQ(square.playing, 0) << "plays once";
    EXPECT_LT(updates, 60) << "within a second";
    EXPECT_FLOAT_EQ(square.vertices[0].u, static_cast<float>(square.frameCount - 1) / square.frameCount);
}

TEST_F(BoardContent, CrossIsDrawnInStrokeByStrokeInTheCrossColour) {
    QRV::G_ANIMATION cross;
    const Image sheet =
        CheckAnimation(Root("effects").child("animations").find_child_by_attribute("name", "cross"), cross);
    const int c = Theme::kBoardCell;
    int previous = 0;
    for (int f = 0; f < cross.frameCount; ++f) {
        int ink = 0;
        for (int y = 0; y < c; ++y)
            for (int x = 0; x < c; ++x) ink += sheet.Alpha(f * c + x, y) > 128;
        EXPECT_GT(ink, previous) << "frame " << f;
        previous = ink;
    }
    const int last = (cross.frameCount - 1) * c;
    EXPECT_TRUE(sheet.Is(last + c / 2, c / 2, Theme::kCross));
    EXPECT_TRUE(sheet.Is(last + 9, 9, Theme::kCross));
    EXPECT_TRUE(sheet.Is(last + c - 10, 9, Theme::kCross)) << "both strokes";
}

// The tutorial scripts may name only animations of the effects file, and do name some.
TEST_F(BoardContent, TutorialScriptsNameOnlyEffectAnimations) {
    struct Case {
        const char* command;
        std::vector<std::string> effects;
    };
    const Case cases[] = {
        {"gameplay::process::effect_start::line::filled::0::0::shine", {"shine"}},
        {"gameplay::process::effect_start::cell::cell::1 2|3 4::0.5::0::0.1::pulse", {"pulse"}},
        {"gameplay::process::block::0 1|1 1::false::pulse", {"pulse"}},
        {"gameplay::process::block::0 1|1 1::false", {}},
        {"gameplay::process::is_block::true::shine", {"shine"}},
        {"gameplay::process::is_block::false", {}},
        {"gameplay::process::fill::0 0::1 0::0.6::0::cross", {}},
        {"windows::open::shine", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(CB::EffectsOfCommand(c.command), c.effects) << c.command;

    std::set<std::string> animations;
    for (const pugi::xml_node& a : Root("effects").child("animations").children())
        animations.insert(a.attribute("name").value());
    int named = 0;
    for (const CB::PackSource& pack : CB::ReadPackSources(kContent / Theme::kLevelSource))
        for (const CB::TutorialStep& step : pack.steps)
            for (const std::string& effect : CB::EffectsOfStep(step)) {
                ++named;
                EXPECT_EQ(animations.count(effect), 1u) << pack.folder << " line " << step.line << ": " << effect;
            }
    EXPECT_GT(named, 0);
}

// The flies: numbers and particle systems the engine reads, dots blended normally, the bonus
// fly ending at the sunime counter with its amount format.
TEST_F(BoardContent, HintAndBonusFliesCarryTheirParticlesAndAmountText) {
    const pugi::xml_node hint = Root("effects").child("hint_fly"), bonus = Root("effects").child("bonus_effect");
    EXPECT_GT(hint.attribute("speed").as_float(), 0.0f);
    EXPECT_TRUE(hint.attribute("deflection1") && hint.attribute("deflection2"));
    EXPECT_GT(bonus.attribute("speed").as_float(), 0.0f);
    EXPECT_TRUE(bonus.attribute("deflection"));
    EXPECT_STREQ(bonus.attribute("endpos").value(), Root("ambient").child("sunime").attribute("pos").value())
        << "the coin flies to the counter";
    const pugi::xml_node motion = bonus.child("font").child("motion");
    EXPECT_GT(motion.attribute("time").as_float(), 0.0f);
    EXPECT_TRUE(motion.attribute("start") && motion.attribute("endoffset"));
    EXPECT_STREQ(bonus.child("text").attribute("value").value(), "+%i");
    for (const pugi::xml_node& system :
         {hint.child("particles_finish"), hint.child("particles_follow"), bonus.child("particles_follow")}) {
        QRV::G_PARTICLES particles;
        ASSERT_TRUE(particles.Load(system)) << system.name();
        EXPECT_TRUE(fs::is_regular_file(FileOf(particles.textureName))) << particles.textureName;
        EXPECT_EQ(particles.system.renderState & 0x4u, 0u) << "additive dots wash out on paper";
        EXPECT_FALSE(system.attribute("area")) << "the dots leave the emitter wherever it is";
    }
}

// The "+n" of a bonus rises beside the counter and stays on the screen from its start to its end:
// the box of its line (the amount font's line height, centred as the fly draws it) never leaves it.
TEST_F(BoardContent, BonusAmountRisesAndStaysOnTheScreen) {
    const pugi::xml_node bonus = Root("effects").child("bonus_effect");
    const pugi::xml_node motion = bonus.child("font").child("motion");
    float endX = 0, endY = 0, startX = 0, startY = 0, offsetX = 0, offsetY = 0;
    QRV::ParseVector2(bonus.attribute("endpos").value(), endX, endY);
    QRV::ParseVector2(motion.attribute("start").value(), startX, startY);
    QRV::ParseVector2(motion.attribute("endoffset").value(), offsetX, offsetY);
    EXPECT_LT(offsetY, 0.0f) << "the amount rises";
    const std::string font = bonus.child("font").attribute("fntName").value();
    const CB::ClueFontMetrics metrics =
        CB::ReadClueFontMetrics(FileOf(CB::ResourceKey(Theme::kFontFolder, font + ".xml")));
    const float halfHeight = static_cast<float>(metrics.lineHeight) * 0.5f;
    // "+99" is as wide as three digits at most.
    const float halfWidth = static_cast<float>(3 * *std::max_element(metrics.digitAdvance.begin(),
                                                                     metrics.digitAdvance.end())) * 0.5f;
    const struct {
        const char* when;
        float x, y;
    } places[] = {{"start", endX + startX, endY + startY}, {"end", endX + startX + offsetX, endY + startY + offsetY}};
    for (const auto& p : places) {
        SCOPED_TRACE(p.when);
        EXPECT_GE(p.y - halfHeight, 0.0f);
        EXPECT_LE(p.y + halfHeight, static_cast<float>(Theme::kBoardScreen.height));
        EXPECT_GE(p.x - halfWidth, static_cast<float>(Theme::kBoardScreen.controlsLeft));
        EXPECT_LE(p.x + halfWidth, static_cast<float>(Theme::kBoardScreen.width));
    }
}

// Relative luminance and contrast ratio of two sRGB colours (WCAG 2).
double Luminance(uint32_t argb) {
    const auto channel = [](uint32_t v) {
        const double c = static_cast<double>(v & 0xFFu) / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(argb >> 16) + 0.7152 * channel(argb >> 8) + 0.0722 * channel(argb);
}
double Contrast(uint32_t a, uint32_t b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A finished line's clues fade but stay readable on their band: the crossed colour of both
// panels, and the strike drawn in it, against the ears' band as the build paints it.
TEST_F(BoardContent, CrossedCluesStayReadableOnTheirBand) {
    const Image band = LoadImage(Root("ambient").child("left_ear").child("background").child_value("FILE"));
    ASSERT_GT(band.width, 0);
    const uint8_t* p = band.At(band.width / 2, band.height / 2);
    const uint32_t bandColour = (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | uint32_t{p[2]};
    for (const char* panel : {"numbersLeft", "numbersUp"}) {
        SCOPED_TRACE(panel);
        const pugi::xml_node node = Root("numbers").child(panel);
        const uint32_t open = QRV::ParseHex(node.attribute("font_color").value());
        const uint32_t crossed = QRV::ParseHex(node.attribute("font_cross").value());
        EXPECT_GE(Contrast(crossed, bandColour), 3.0) << std::hex << crossed << " on " << bandColour;
        EXPECT_GE(Contrast(open, crossed), 1.5) << "a crossed clue still looks done";
    }
}

// Colours are all eight digits of AARRGGBB (six would read as transparent), and every texture
// key names a file the build made.
TEST_F(BoardContent, ColoursHaveEightDigitsAndEveryTextureExists) {
    const std::regex eight("[0-9A-F]{8}");
    int colours = 0, textures = 0;
    std::function<void(const pugi::xml_node&)> walk = [&](const pugi::xml_node& node) {
        for (const pugi::xml_attribute& a : node.attributes()) {
            const std::string name = a.name();
            if (name == "font_color" || name == "font_cross" || name == "fntColor") {
                ++colours;
                EXPECT_TRUE(std::regex_match(a.value(), eight)) << node.name() << " " << name << "=" << a.value();
            }
            if (std::string(a.value()).rfind(std::string(Theme::kBoardFolder) + " ", 0) == 0) {
                ++textures;
                EXPECT_TRUE(fs::is_regular_file(FileOf(a.value()))) << a.value();
            }
        }
        if (std::string(node.name()) == "FILE") {
            ++textures;
            EXPECT_TRUE(fs::is_regular_file(FileOf(node.child_value()))) << node.child_value();
        }
        for (const pugi::xml_node& child : node.children()) walk(child);
    };
    for (const char* key : {"effects", "numbers", "ambient"}) walk(Root(key));
    EXPECT_EQ(colours, 2 * 2 + 3) << "two panels, the selection, the bonus amount and the counter";
    EXPECT_GT(textures, 20);
}

TEST_F(BoardContent, ClueStyleHasBothPanelsWithAFadedStrike) {
    for (const char* panel : {"numbersLeft", "numbersUp"}) {
        SCOPED_TRACE(panel);
        const pugi::xml_node node = Root("numbers").child(panel);
        for (const char* attribute : {"font", "font_color", "font_cross", "interval", "shift_first"})
            EXPECT_TRUE(node.attribute(attribute)) << attribute;
        EXPECT_GT(node.attribute("interval").as_float(), 0.0f);
        QRV::G_ANIMATION strike;
        const Image sheet = CheckAnimation(node, strike);
        EXPECT_EQ(strike.loop, 0);
        const int last = (strike.frameCount - 1) * (sheet.width / strike.frameCount);
        EXPECT_TRUE(sheet.Is(last + 11, 9, Theme::kSolvedClue)) << "the slash crosses the number's middle";
    }
}

// The decoration through the engine's readers: the border in the frame reader's places, the ears'
// separators, the highlight, the error panel with a slot for the largest allowance sold.
TEST_F(BoardContent, DecorationPartsLoadWhereTheReadersPutThem) {
    const pugi::xml_node ambient = Root("ambient");
    QRV::G_FRAME9 border;
    border.Load(ambient.child("border"));
    const int c = Theme::kDecoration.borderCorner, rim = static_cast<int>(Theme::kDecoration.borderRim);
    const Image upper = LoadImage(border.parts[QRV::G_FRAME9::Upper].textureName);
    const Image lowerRight = LoadImage(border.parts[QRV::G_FRAME9::LowerRight].textureName);
    const Image left = LoadImage(border.parts[QRV::G_FRAME9::Left].textureName);
    const Image middle = LoadImage(border.parts[QRV::G_FRAME9::Middle].textureName);
    EXPECT_EQ(upper.height, c);
    EXPECT_TRUE(upper.Is(1, c - rim, Theme::kDecoration.borderColour)) << "the rim along the field's top";
    EXPECT_LT(upper.Alpha(1, 0), 16);
    EXPECT_TRUE(lowerRight.Is(0, 0, Theme::kDecoration.borderColour)) << "\"mid\" is the lower-right corner";
    EXPECT_LT(lowerRight.Alpha(rim - 1, rim - 1), 255) << "its outer corner is rounded";
    EXPECT_TRUE(left.Is(c - 1, 1, Theme::kDecoration.borderColour)) << "\"dn\" is the left edge";
    for (size_t i = 3; i < middle.rgba.size(); i += 4) ASSERT_EQ(middle.rgba[i], 0) << "the middle lies over the cells";

    for (const char* ear : {"left_ear", "up_ear"}) {
        const bool vertical = std::string(ear) == "up_ear";
        for (const char* part : {"stick", "stickBlock"}) {
            SCOPED_TRACE(std::string(ear) + " " + part);
            QRV::G_SPRITE sprite;
            ASSERT_TRUE(sprite.Load(ambient.child(ear).child(part)));
            const Image stick = LoadImage(sprite.textureName);
            ASSERT_EQ(vertical ? stick.width : stick.height, 2);
            EXPECT_EQ(vertical ? stick.height : stick.width, ambient.attribute("size").as_int());
            const bool block = std::string(part) == "stickBlock";
            EXPECT_EQ(stick.Alpha(0, 0), block ? 255 : 0) << "a thin stick shows its second line only";
            EXPECT_EQ(stick.Alpha(1, 1), 255);
        }
        QRV::G_SPRITE background;
        EXPECT_TRUE(background.Load(ambient.child(ear).child("background")));
        EXPECT_TRUE(LoadImage(background.textureName).Is(0, 0, Theme::kPaperDark));
    }
    for (const char* bar : {"vertical", "horisontal"}) {
        const Image image = LoadImage(ambient.child("highlight").attribute(bar).value());
        ASSERT_GT(image.width, 0) << bar;
        EXPECT_LT(image.Alpha(0, 0), 0x60) << bar << ": accent at low alpha";
        EXPECT_GT(image.Alpha(0, 0), 0) << bar;
    }

    const pugi::xml_node panel = ambient.child("error_panel");
    int largest = 0;
    pugi::xml_document store;
    ASSERT_TRUE(store.load_file((kContent / Theme::kCatalogueSource / Theme::kStoreFile).c_str()));
    for (const pugi::xpath_node& item : store.select_nodes("//item[@name='error']"))
        largest = std::max(largest, item.node().attribute("value").as_int());
    int cols = 0, rows = 0;
    ASSERT_EQ(std::sscanf(panel.attribute("grid").value(), "%d %d", &cols, &rows), 2);
    EXPECT_GE(cols * rows, largest) << "a slot for every error the store sells";
    EXPECT_GT(panel.attribute("ping").as_float(), 0.0f);
    for (const char* part : {"sprite", "sprite_lock", "background"}) {
        QRV::G_ANIMATION animation;
        CheckAnimation(panel.child(part), animation);
    }
    EXPECT_TRUE(ambient.child("sunime").attribute("pos"));
}

// The mistakes panel says what it counts: a caption in the ink above its slots, and the slots'
// sockets still under the marks the panel places at "pos".
TEST_F(BoardContent, TheMistakesPanelCarriesACaptionAboveItsSlots) {
    const pugi::xml_node panel = Root("ambient").child("error_panel");
    float px = 0, py = 0, bx = 0, by = 0;
    ASSERT_EQ(std::sscanf(panel.attribute("pos").value(), "%f %f", &px, &py), 2);
    ASSERT_EQ(std::sscanf(panel.child("background").child_value("POS"), "%f %f", &bx, &by), 2);
    QRV::G_ANIMATION animation;
    ASSERT_TRUE(animation.Load(panel.child("background")));
    const Image art = LoadImage(animation.textureName);
    const int slotX = static_cast<int>(px - bx), slotY = static_cast<int>(py - by);
    const int mark = Theme::kErrorMarkAnimation.width;
    // Every slot's centre is a socket.
    int cols = 0, rows = 0;
    ASSERT_EQ(std::sscanf(panel.attribute("grid").value(), "%d %d", &cols, &rows), 2);
    const int step = mark + Theme::kDecoration.errorInterval;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            EXPECT_TRUE(art.Is(slotX + c * step + mark / 2, slotY + r * step + mark / 2, Theme::kDecoration.socket))
                << c << " " << r;
    // Ink-dark text in the band above the first row, across the slots' width.
    int inked = 0, left = art.width, right = 0;
    for (int y = 0; y < slotY - 2; ++y)
        for (int x = 0; x < art.width; ++x) {
            const uint8_t* p = art.At(x, y);
            if (p[3] == 255 && p[0] + p[1] + p[2] < 3 * 140) {
                ++inked;
                left = std::min(left, x), right = std::max(right, x);
            }
        }
    EXPECT_GT(inked, 60) << "no caption above the slots";
    EXPECT_GT(right - left, cols * mark / 2) << "the caption spans the panel";
    EXPECT_NEAR((left + right) / 2.0, slotX + (cols * step - Theme::kDecoration.errorInterval) / 2.0, 3.0);
}

// Blocks laid at the block pitch (side + shift) overlap in the gap: the gap shows as the heavier
// line exactly -shift wide, thin lines sit on the first pixel of every cell but a block's first.
TEST_F(BoardContent, BlocksTileAtTheBlockPitchWithTheGapAsTheHeavierLine) {
    const Theme::BoardGeometry& b = Theme::kBoards.back();
    const Image block = FromTexture(CB::DrawBoardBlock(b));
    ASSERT_EQ(block.width, CB::BlockSide(b));
    ASSERT_EQ(block.width, b.cell * b.block - 2 * b.shift);
    const Theme::BoardSpriteTheme& t = Theme::kBoardSprites;
    const int gap = -b.shift, pitch = block.width + b.shift, y = gap + b.cell / 2;
    // Along one row of the field: (x from the field's left edge, expected colour).
    const struct {
        int x;
        Theme::Rgb colour;
    } samples[] = {{0, t.gridHeavy},
                   {gap - 1, t.gridHeavy},
                   {gap, t.blockFill},
                   {gap + b.cell - 1, t.blockFill},
                   {gap + b.cell, t.gridThin},
                   {gap + 4 * b.cell, t.gridThin},
                   {gap + 5 * b.cell - 1, t.blockFill},
                   {pitch, t.gridHeavy},
                   {pitch + gap - 1, t.gridHeavy},
                   {pitch + gap, t.blockFill}};
    for (const auto& s : samples) {
        // The later block is drawn over the earlier one.
        const int x = s.x >= pitch ? s.x - pitch : s.x;
        EXPECT_TRUE(block.Is(x, y, s.colour)) << "x " << s.x;
    }
    const Image yes = FromTexture(CB::DrawSelectionYes(b.cell)), no = FromTexture(CB::DrawSelectionNo(b.cell));
    EXPECT_EQ(yes.width, b.cell);
    EXPECT_GT(yes.Alpha(b.cell / 2, b.cell / 2), no.Alpha(b.cell / 2 + 3, b.cell / 2 - 1)) << "a square, a cross";
    EXPECT_LT(yes.Alpha(b.cell / 2, b.cell / 2), 255) << "translucent";
}

// The clue boxes as the panels place them, by hand: a 10 x 10 board at (400, 400) has its field at
// 267..533 both ways; rows step by the cell and the gap at each block edge, the first included.
TEST(BoardContentFit, ClueBoxesFollowThePanelsLayout) {
    const Theme::BoardGeometry board{10, 26, 5, -2, 400.0f, 400.0f, 1};
    CB::ClueFontMetrics font;
    font.lineHeight = 17;
    font.digitAdvance.fill(8);
    CB::BoardClues clues{std::vector<std::vector<int>>(10, {3}), std::vector<std::vector<int>>(10, {0})};
    clues.rows[9] = {1, 2, 10};
    clues.cols[0] = {4, 1};
    const CB::FieldPlacement field = CB::PlaceField(board, 10, 10);
    EXPECT_EQ(field.width, 266);
    EXPECT_FLOAT_EQ(field.x, 267.0f);
    const CB::BoardExtent e = CB::ClueExtent(board, clues, font, font);
    EXPECT_FLOAT_EQ(e.left, 251.0f - 2 * 20.0f - 4.0f) << "the third number from the field";
    EXPECT_FLOAT_EQ(e.top, 252.0f - 15.0f - 8.5f) << "the second number above column 0";
    EXPECT_FLOAT_EQ(e.right, 282.0f + 2.0f + 9 * 26.0f + 4.0f) << "column 9, past the second block's gap";
    EXPECT_FLOAT_EQ(e.bottom, 282.0f + 2.0f + 9 * 26.0f + 8.5f) << "row 9, past the second block's gap";

    // The board with its ears and border, and the screen's limits.
    const CB::BoardExtent whole = CB::BoardExtentOf(board, clues, font, font);
    EXPECT_FLOAT_EQ(whole.left, 267.0f - static_cast<float>(Theme::kDecoration.earSize));
    EXPECT_FLOAT_EQ(whole.top, 267.0f - static_cast<float>(Theme::kDecoration.earSize));
    EXPECT_FLOAT_EQ(whole.bottom, 533.0f + static_cast<float>(Theme::kDecoration.borderCorner));
    EXPECT_TRUE(CB::FitsScreen(whole));
    const struct {
        float x, y;
        bool fits;
    } placements[] = {{400, 400, true}, {760, 400, false}, {400, 300, false}, {400, 640, false}, {190, 400, false}};
    for (const auto& p : placements) {
        Theme::BoardGeometry moved = board;
        moved.x = p.x, moved.y = p.y;
        EXPECT_EQ(CB::FitsScreen(CB::BoardExtentOf(moved, clues, font, font)), p.fits) << p.x << "," << p.y;
    }
    EXPECT_TRUE(CB::CluesOnEars(board, clues, font, font));
    clues.rows[0] = std::vector<int>(9, 1);
    EXPECT_FALSE(CB::CluesOnEars(board, clues, font, font)) << "nine numbers reach beyond the ear";
}

// Both clue fonts, the selection font, the bonus amount's and the counter's resolve in the font
// catalogue through the engine's reader.
class BoardContentFonts : public QRV::TestSupport::ResourceTreeTest {};

TEST_F(BoardContentFonts, EveryFontTheBoardNamesResolvesInTheCatalogue) {
    QRV::TestKit::NullRenderer renderer;
    // The run folder above the resource root the paths have set up.
    const fs::path run = fs::path(resources).parent_path().parent_path();
    CB::OutputTree out(run);
    CB::BuildStringTable(kContent.string(), out);
    CB::BuildFonts(kContent.string(), out);
    CB::BuildBoardFiles(kContent.string(), out);
    ASSERT_TRUE(manager.LoadNamed(std::string(Theme::kFontFolder)));
    QRV::JCFontCatalogue catalogue;
    ASSERT_TRUE(catalogue.Load(CB::ResourceKey(Theme::kFontFolder, Theme::kFontCatalogue)));
    std::map<std::string, pugi::xml_document> files;
    for (const char* key : {"effects", "numbers", "ambient"})
        ASSERT_TRUE(files[key].load_file((run / CB::GameplayFilePath(key)).c_str()));
    for (const pugi::xml_node& reference : {files["effects"].document_element().child("font_selected"),
                                            files["effects"].document_element().child("bonus_effect").child("font"),
                                            files["ambient"].document_element().child("sunime")}) {
        QRV::JCFontRef font;
        EXPECT_TRUE(font.Load(reference, &catalogue)) << reference.name() << " " << font.fontName;
        EXPECT_EQ(font.color >> 24, 0xFFu) << reference.name();
    }
    for (const pugi::xml_node& panel : files["numbers"].document_element().children())
        EXPECT_NE(catalogue.Find(panel.attribute("font").value()), nullptr) << panel.name();
    catalogue.ReleaseAll();
}

}  // namespace
