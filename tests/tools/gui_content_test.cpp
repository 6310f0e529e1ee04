// The GUI widgets' content as the widgets use it: strips divide into frames whose gutters stay
// clear, pieces that must join or repeat do, the check mark stays inside its box, the switch's
// knob stays inside its track, and the GUI fonts read as the GUI font reads them.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "tests/test_kit/rgba_image.h"
#include "tests/test_kit/temp_folder.h"
#include "tools/content_builder/font_content.h"
#include "tools/content_builder/gui_buttons.h"
#include "tools/content_builder/gui_content.h"
#include "tools/content_builder/gui_sliders.h"
#include "tools/content_builder/nine_part_panel.h"
#include "tools/content_builder/shape_distance.h"
#include "tools/content_builder/theme.h"

namespace {

namespace fs = std::filesystem;
namespace CB = ContentBuilder;
namespace Theme = ContentBuilder::Theme;

struct Image : QRV::TestKit::RgbaImage {
    bool SameColumn(int a, const Image& other, int b) const {
        for (int y = 0; y < height; ++y)
            for (int k = 0; k < 4; ++k)
                if (std::abs(At(a, y)[k] - other.At(b, y)[k]) > 1) return false;
        return true;
    }
    bool SameRow(int a, const Image& other, int b) const {
        for (int x = 0; x < width; ++x)
            for (int k = 0; k < 4; ++k)
                if (std::abs(At(x, a)[k] - other.At(x, b)[k]) > 1) return false;
        return true;
    }
};

bool Near(const uint8_t* pixel, Theme::Rgb colour, int tolerance) {
    return std::abs(pixel[0] - colour.r) <= tolerance && std::abs(pixel[1] - colour.g) <= tolerance &&
           std::abs(pixel[2] - colour.b) <= tolerance;
}

constexpr const char* kTestText = "Caf\xC3\xA9 \xE2\x80\x93 na\xC3\xAFve";

class GuiContent : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = std::make_unique<QRV::TestKit::TempFolder>("quorvel-gui-content");
        root = folder->Path();
        folder->Write("content/strings/en.txt", std::string("greeting\t") + kTestText + "\n");
        CB::OutputTree out(root / "run");
        CB::BuildGuiTextures(out);
        CB::BuildFonts((root / "content").string(), out);
    }
    static void TearDownTestSuite() { folder.reset(); }

    static fs::path PathOf(std::string_view file) { return root / "run" / "Resources" / Theme::kGuiFolder / file; }
    static Image Load(std::string_view file) { return {QRV::TestKit::LoadRgbaImage(PathOf(file).string())}; }

    static inline std::unique_ptr<QRV::TestKit::TempFolder> folder;
    static inline fs::path root;
};

enum Side { kLeft = 1, kRight = 2, kTop = 4, kBottom = 8, kAll = 15 };

// Which sides of frame i must keep the gutter.
using GutterSides = std::function<int(int)>;

int SliderGutters(int frame) {
    switch (frame) {
        case 9: return kLeft | kTop | kBottom;  // runs out through its right edge into the body
        case 10: return kTop | kBottom;         // repeats along x
        case 11: return kRight | kTop | kBottom;
        case 12: return kLeft | kRight;  // repeats along y
        default: return kAll;
    }
}

// Every strip is whole frames wide, every frame has opaque content, and the gutter along the
// sides that do not join a neighbour is fully transparent.
TEST_F(GuiContent, StripsDivideIntoFramesWithClearGutters) {
    struct Strip {
        std::string file;
        int frames;
        GutterSides sides;
    };
    std::vector<Strip> strips;
    for (const Theme::ButtonStrip& b : Theme::kButtonStrips)
        strips.push_back({std::string(b.file), 5, [](int) { return kAll; }});
    strips.push_back({std::string(Theme::kCheckBox.file), 5, [](int) { return kAll; }});
    strips.push_back({std::string(Theme::kSlider.file), 13, SliderGutters});
    strips.push_back({std::string(Theme::kSlider.listFile), 12, SliderGutters});
    strips.push_back({std::string(Theme::kProgressBar.file), 2, [](int) { return kAll; }});
    strips.push_back({std::string(Theme::kSimpleSliderTrack.file), 2, [](int) { return kAll; }});
    strips.push_back({std::string(Theme::kPageMarks.file), 2, [](int) { return kAll; }});
    strips.push_back({std::string(Theme::kSwitch.panelFile), 1, [](int) { return kAll; }});
    strips.push_back({std::string(Theme::kSwitch.knobFile), 1, [](int) { return kAll; }});
    for (std::string_view file : {Theme::kSwitch.onPanelFile, Theme::kSwitch.offPanelFile, Theme::kSwitch.stateKnobFile})
        strips.push_back({std::string(file), 1, [](int) { return kAll; }});
    strips.push_back({std::string(Theme::kSimpleSliderRunnerFile), 1, [](int) { return kAll; }});
    strips.push_back({std::string(Theme::kLineBox.file), 1, [](int) { return kAll; }});

    const int g = Theme::kGuiGutter;
    ASSERT_GE(g, 1);
    for (const Strip& strip : strips) {
        SCOPED_TRACE(strip.file);
        const Image image = Load(strip.file);
        ASSERT_GT(image.width, 0);
        ASSERT_EQ(image.width % strip.frames, 0);
        const int w = image.width / strip.frames, h = image.height;
        for (int frame = 0; frame < strip.frames; ++frame) {
            const int sides = strip.sides(frame), x0 = frame * w;
            int opaque = 0, dirty = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const uint8_t a = image.Alpha(x0 + x, y);
                    opaque += a == 255;
                    const bool gutter = ((sides & kLeft) && x < g) || ((sides & kRight) && x >= w - g) ||
                                        ((sides & kTop) && y < g) || ((sides & kBottom) && y >= h - g);
                    dirty += gutter && a != 0;
                }
            EXPECT_GT(opaque, 0) << "frame " << frame << " is empty";
            EXPECT_EQ(dirty, 0) << "frame " << frame << " has visible pixels in its gutter";
        }
    }
}

struct Box {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;  // opaque pixels' bounds, x1 and y1 past the last
    int Width() const { return x1 - x0; }
    int Height() const { return y1 - y0; }
};

// Bounds of the pixels at least `threshold` opaque in the columns x0 .. x0 + width - 1.
Box OpaqueBounds(const Image& image, int x0, int width, int threshold = 255) {
    Box box;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < width; ++x)
            if (image.Alpha(x0 + x, y) >= threshold) {
                box.x0 = std::min(box.x0, x);
                box.y0 = std::min(box.y0, y);
                box.x1 = std::max(box.x1, x + 1);
                box.y1 = std::max(box.y1, y + 1);
            }
    return box;
}

// The quad is centred on the widget: the body must be centred in its frame (the pressed one
// 2 px lower), with the theme's size, so the label over it sits in its middle.
TEST_F(GuiContent, ButtonBodiesAreCentredInTheirFramesAndPressedSinks) {
    const int shift = static_cast<int>(Theme::kButton.pressShift);
    for (const Theme::ButtonStrip& strip : Theme::kButtonStrips) {
        SCOPED_TRACE(std::string(strip.file));
        const Image image = Load(strip.file);
        const int w = image.width / 5;
        const Box normal = OpaqueBounds(image, 0, w), pressed = OpaqueBounds(image, 2 * w, w);
        EXPECT_EQ(normal.Width(), strip.bodyWidth);
        EXPECT_EQ(normal.Height(), strip.bodyHeight);
        EXPECT_EQ(normal.x0, w - normal.x1);
        EXPECT_EQ(normal.y0, image.height - normal.y1);
        EXPECT_EQ(pressed.y0, normal.y0 + shift);
        EXPECT_EQ(pressed.x0, normal.x0);
        // Hovered is lighter, pressed darker than normal, at the body's centre.
        auto luma = [&](int frame) {
            const uint8_t* p = image.At(frame * w + w / 2, normal.y0 + strip.bodyHeight / 4);
            return p[0] * 2 + p[1] * 5 + p[2];
        };
        EXPECT_GT(luma(1), luma(0));
        EXPECT_LT(luma(2), luma(0));
    }
}

// Frame 3 is drawn over the box frames, so it may hold nothing but the tick, and the tick must
// stay inside the box's border.
TEST_F(GuiContent, CheckMarkFrameHoldsOnlyTheTickInsideTheBox) {
    const Theme::CheckBoxTheme& t = Theme::kCheckBox;
    const Image image = Load(t.file);
    const int w = image.width / 5, m = CB::CheckBoxMargin();
    const float b0 = static_cast<float>(m);
    const CB::Point a{b0 + t.box * t.tick[0], b0 + t.box * t.tick[1]},
        bottom{b0 + t.box * t.tick[2], b0 + t.box * t.tick[3]}, c{b0 + t.box * t.tick[4], b0 + t.box * t.tick[5]};
    int ink = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t alpha = image.Alpha(3 * w + x, y);
            if (alpha == 0) continue;
            const float px = x + 0.5f, py = y + 0.5f;
            const float d =
                std::min(CB::SegmentDistance(px, py, a, bottom, 0.0f), CB::SegmentDistance(px, py, bottom, c, 0.0f));
            EXPECT_LE(d, 0.5f * t.tickStroke + 1.0f) << "stray pixel at " << x << "," << y;
            EXPECT_GE(px, m + t.border) << x;
            EXPECT_LE(px, m + t.box - t.border) << x;
            EXPECT_GE(py, m + t.border) << y;
            EXPECT_LE(py, m + t.box - t.border) << y;
            if (alpha == 255) {
                ++ink;
                EXPECT_TRUE(Near(image.At(3 * w + x, y), t.mark, 2)) << x << "," << y;
                for (int box = 0; box < 3; ++box)
                    EXPECT_EQ(image.Alpha(box * w + x, y), 255) << "box " << box << " under the tick";
            }
        }
    EXPECT_GT(ink, t.box);
}

// The widget moves the knob by +-(panel width - knob width) / 2: at both ends the disc must lie on
// the track and stop the theme's inset before its end.
TEST_F(GuiContent, SwitchKnobStaysInsideTheTrackAtBothEnds) {
    const Theme::SwitchTheme& t = Theme::kSwitch;
    const Image panel = Load(t.panelFile), knob = Load(t.knobFile);
    ASSERT_LT(knob.width, panel.width);
    ASSERT_EQ((panel.width - knob.width) % 2, 0);
    ASSERT_EQ((panel.height - knob.height) % 2, 0);
    const int offset = (panel.width - knob.width) / 2, dy = (panel.height - knob.height) / 2;
    const Box track = OpaqueBounds(panel, 0, panel.width, 128), disc = OpaqueBounds(knob, 0, knob.width, 128);
    ASSERT_EQ(disc.Width(), t.knob);
    const int inset = (t.trackHeight - t.knob) / 2;
    for (int side : {-1, 1}) {
        SCOPED_TRACE(side);
        const int dx = offset + side * offset;  // knob texture's left edge in the panel
        for (int y = 0; y < knob.height; ++y)
            for (int x = 0; x < knob.width; ++x)
                if (knob.Alpha(x, y) >= 128) {
                    const int px = dx + x, py = dy + y;
                    ASSERT_TRUE(px >= 0 && py >= 0 && px < panel.width && py < panel.height);
                    EXPECT_EQ(panel.Alpha(px, py), 255) << "knob off the track at " << px << "," << py;
                }
        const int gap = side < 0 ? dx + disc.x0 - track.x0 : track.x1 - (dx + disc.x1);
        EXPECT_NEAR(gap, inset, 1);
    }
}

// An on/off switch's panels read apart at a glance: on, an accent pill with a light mark on the
// side the knob leaves free (the right); off, a grey pill with an ink mark on its left. Both have
// the tool switch's size, so the knob stops where it does there.
TEST_F(GuiContent, OnAndOffPanelsReadApartAtAGlance) {
    const Theme::SwitchTheme& t = Theme::kSwitch;
    const Image tool = Load(t.panelFile), knob = Load(t.stateKnobFile), toolKnob = Load(t.knobFile);
    EXPECT_EQ(knob.width, toolKnob.width);
    EXPECT_EQ(knob.height, toolKnob.height);
    const struct {
        std::string_view file;
        Theme::Rgb body, mark;
        bool markOnTheRight;
    } panels[] = {{t.onPanelFile, t.onTrack, t.onMark, true}, {t.offPanelFile, t.offTrack, t.offMark, false}};
    for (const auto& p : panels) {
        SCOPED_TRACE(p.file);
        const Image panel = Load(p.file);
        ASSERT_EQ(panel.width, tool.width);
        ASSERT_EQ(panel.height, tool.height);
        int opaque = 0, body = 0, accent = 0, markLeft = 0, markRight = 0;
        for (int y = 0; y < panel.height; ++y)
            for (int x = 0; x < panel.width; ++x) {
                if (panel.Alpha(x, y) < 255) continue;
                ++opaque;
                body += Near(panel.At(x, y), p.body, 16);
                accent += Near(panel.At(x, y), Theme::kAccent, 16);
                if (Near(panel.At(x, y), p.mark, 40)) {
                    (x < panel.width / 2 ? markLeft : markRight)++;
                }
            }
        EXPECT_GT(body * 10, opaque * 6);
        if (!p.markOnTheRight) {
            EXPECT_EQ(accent, 0);
        }
        EXPECT_GT(p.markOnTheRight ? markRight : markLeft, 15);
        EXPECT_EQ(p.markOnTheRight ? markLeft : markRight, 0);
    }
    // The two panels differ on most of their pixels.
    const Image on = Load(t.onPanelFile), off = Load(t.offPanelFile);
    int differ = 0, opaque = 0;
    for (int y = 0; y < on.height; ++y)
        for (int x = 0; x < on.width; ++x) {
            if (on.Alpha(x, y) < 255) continue;
            ++opaque;
            const uint8_t* a = on.At(x, y);
            const uint8_t* b = off.At(x, y);
            differ += std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]) > 60;
        }
    EXPECT_GT(differ * 10, opaque * 8);
}

// Slider frames are square (the button size is the width / 13); the track pieces join and repeat
// along x, the fill repeats along y; the list box's strip is the slider's without the fill; the
// simple slider's runner is the idle knob.
TEST_F(GuiContent, SliderTrackPiecesJoinAndRepeat) {
    const Image strip = Load(Theme::kSlider.file);
    ASSERT_EQ(strip.width % CB::kSliderFrames, 0);
    const int f = strip.width / CB::kSliderFrames;
    ASSERT_EQ(strip.height, f);
    auto column = [&](int frame, int x) { return frame * f + x; };
    EXPECT_TRUE(strip.SameColumn(column(9, f - 1), strip, column(10, 0)));
    EXPECT_TRUE(strip.SameColumn(column(10, f - 1), strip, column(11, 0)));
    for (int x = 1; x < f; ++x)
        EXPECT_TRUE(strip.SameColumn(column(10, x), strip, column(10, 0))) << "body column " << x;
    for (int y = 1; y < f; ++y)
        for (int x = 0; x < f; ++x)
            EXPECT_EQ(strip.Alpha(column(12, x), y), strip.Alpha(column(12, x), 0)) << "fill pixel " << x << "," << y;
    EXPECT_EQ(strip.Alpha(column(12, f / 2), 0), 255);
    EXPECT_TRUE(Near(strip.At(column(12, f / 2), 0), Theme::kSlider.fill, 2));
    // The track's ends are round: the outer end is clear at the middle row.
    EXPECT_EQ(strip.Alpha(column(9, f / 4), f / 2), 0);
    EXPECT_EQ(strip.Alpha(column(11, 3 * f / 4), f / 2), 0);

    const Image list = Load(Theme::kSlider.listFile);
    ASSERT_EQ(list.width, f * (CB::kSliderFrames - 1));
    ASSERT_EQ(list.height, f);
    for (int x = 0; x < list.width; ++x) EXPECT_TRUE(list.SameColumn(x, strip, x)) << "column " << x;

    const Image runner = Load(Theme::kSimpleSliderRunnerFile);
    ASSERT_EQ(runner.width, f);
    for (int x = 0; x < f; ++x) EXPECT_TRUE(runner.SameColumn(x, strip, column(6, x))) << "runner column " << x;
}

// The full half is drawn over the empty one up to any width: both need one outline.
TEST_F(GuiContent, BarHalvesShareOneOutline) {
    for (const Theme::BarTheme* bar : {&Theme::kProgressBar, &Theme::kSimpleSliderTrack}) {
        SCOPED_TRACE(std::string(bar->file));
        const Image image = Load(bar->file);
        ASSERT_EQ(image.width, 2 * bar->halfWidth);
        ASSERT_EQ(image.height, bar->height);
        const int half = bar->halfWidth;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < half; ++x)
                ASSERT_LE(std::abs(image.Alpha(x, y) - image.Alpha(half + x, y)), 1) << x << "," << y;
        const int cy = image.height / 2;
        EXPECT_TRUE(Near(image.At(half / 2, cy), bar->empty, 24));
        EXPECT_TRUE(Near(image.At(half + half / 2, cy), bar->full, 24));
    }
}

// Nine square pieces: any rule for the smallest size gives twice the side; edges repeat along
// their long axis, the centre is one colour, and corners continue into their edges.
TEST_F(GuiContent, NinePatchPiecesAreSquareRepeatAndMeet) {
    std::array<Image, 9> p;
    const int c = CB::PanelCornerSize();
    for (int row = 1; row <= 3; ++row)
        for (int col = 1; col <= 3; ++col) {
            const std::string file = "panel9_" + std::to_string(row) + "_" + std::to_string(col) + ".png";
            Image& piece = p[static_cast<size_t>((row - 1) * 3 + col - 1)];
            piece = Load(file);
            ASSERT_EQ(piece.width, c) << file;
            ASSERT_EQ(piece.height, c) << file;
        }
    const Image &ul = p[0], &up = p[1], &ur = p[2], &left = p[3], &centre = p[4], &right = p[5], &dl = p[6],
                &down = p[7], &dr = p[8];
    for (int i = 0; i < c * c; ++i) {
        const uint8_t* m = &centre.rgba[static_cast<size_t>(i) * 4];
        ASSERT_TRUE(Near(m, Theme::kPanel.fill, 0) && m[3] == 255) << "centre pixel " << i;
    }
    for (int k = 1; k < c; ++k) {
        EXPECT_TRUE(up.SameColumn(k, up, 0)) << k;
        EXPECT_TRUE(down.SameColumn(k, down, 0)) << k;
        EXPECT_TRUE(left.SameRow(k, left, 0)) << k;
        EXPECT_TRUE(right.SameRow(k, right, 0)) << k;
    }
    EXPECT_TRUE(ul.SameColumn(c - 1, up, 0));
    EXPECT_TRUE(up.SameColumn(c - 1, ur, 0));
    EXPECT_TRUE(dl.SameColumn(c - 1, down, 0));
    EXPECT_TRUE(down.SameColumn(c - 1, dr, 0));
    EXPECT_TRUE(ul.SameRow(c - 1, left, 0));
    EXPECT_TRUE(left.SameRow(c - 1, dl, 0));
    EXPECT_TRUE(ur.SameRow(c - 1, right, 0));
    EXPECT_TRUE(right.SameRow(c - 1, dr, 0));
    EXPECT_EQ(ul.Alpha(0, 0), 0);
    EXPECT_EQ(ul.Alpha(c - 1, c - 1), 255);
}

// The row height is the panel's height over the rows; the highlight is one row of the panel's
// width; separators lie between rows only; the page marks are two cells, current first.
TEST_F(GuiContent, ListBoxAndPageMarksFitTheirLayout) {
    const Theme::ListBoxTheme& t = Theme::kListBox;
    const Image panel = Load(t.panelFile), row = Load(t.rowFile), lines = Load(t.listFile);
    ASSERT_EQ(panel.width, t.width);
    ASSERT_EQ(panel.height, t.rows * t.rowHeight);
    EXPECT_EQ(row.width, panel.width);
    EXPECT_EQ(row.height, panel.height / t.rows);
    ASSERT_EQ(lines.width, panel.width);
    ASSERT_EQ(lines.height, panel.height);
    for (int r = 0; r < t.rows; ++r) {
        EXPECT_EQ(lines.Alpha(t.width / 2, r * t.rowHeight + t.rowHeight / 2), 0) << "row " << r;
        if (r > 0) {
            EXPECT_EQ(lines.Alpha(t.width / 2, r * t.rowHeight - 1), 255) << "line above row " << r;
        }
    }
    EXPECT_EQ(lines.Alpha(t.width / 2, t.rows * t.rowHeight - 1), 0) << "no line under the last row";
    EXPECT_TRUE(Near(row.At(t.width / 2, t.rowHeight / 2), t.row, 24));

    const Theme::PageMarksTheme& m = Theme::kPageMarks;
    const Image marks = Load(m.file);
    ASSERT_EQ(marks.width, 2 * marks.height);
    const int s = marks.height;
    EXPECT_TRUE(Near(marks.At(s / 2, s / 2), m.currentColour, 0));
    EXPECT_TRUE(Near(marks.At(s + s / 2, s / 2), m.otherColour, 0));
    EXPECT_EQ(marks.Alpha(s / 2, s / 2), 255);
    EXPECT_EQ(marks.Alpha(s + s / 2, s / 2), 255);
}

bool IsInteger(const char* text) {
    int value = 0;
    const char* end = text + std::strlen(text);
    const auto [ptr, ec] = std::from_chars(text, end, value);
    return *text != '\0' && ec == std::errc() && ptr == end;
}

// The GUI font reads "common" lineHeight and "chars" children with eight integer attributes; the
// glyph set covers what a player can type and every string-table character, '?' (stand-in for
// a missing glyph) and '|' (the caret) drawn with ink; boxes lie inside the atlas.
TEST_F(GuiContent, GuiFontsParseAsTheGuiFontReadsThem) {
    const std::vector<uint32_t> needed = CB::FontCodepoints({{"greeting", kTestText}});
    ASSERT_TRUE(std::count(needed.begin(), needed.end(), 0xE9u));
    for (const Theme::GuiFont& gui : Theme::kGuiFonts) {
        const std::string file(gui.file);
        SCOPED_TRACE(file);
        pugi::xml_document document;
        ASSERT_TRUE(document.load_file(PathOf(file + ".xml").c_str()));
        const pugi::xml_node font = document.document_element();
        ASSERT_STREQ(font.name(), "font");
        EXPECT_GT(font.child("common").attribute("lineHeight").as_int(), 0);
        EXPECT_TRUE(font.child("pages"));
        EXPECT_FALSE(font.child("kernings").child("kerning")) << "the GUI font draws unkerned";
        const Image atlas = Load(file + ".png");
        ASSERT_GT(atlas.width, 0);

        std::set<uint32_t> ids;
        for (const pugi::xml_node& glyph : font.child("chars").children()) {
            for (const char* name : {"id", "x", "y", "width", "height", "xoffset", "yoffset", "xadvance"})
                ASSERT_TRUE(IsInteger(glyph.attribute(name).value()))
                    << name << " of " << glyph.attribute("id").value();
            const int x = glyph.attribute("x").as_int(), y = glyph.attribute("y").as_int();
            const int w = glyph.attribute("width").as_int(), h = glyph.attribute("height").as_int();
            EXPECT_TRUE(x >= 0 && y >= 0 && x + w <= atlas.width && y + h <= atlas.height)
                << glyph.attribute("id").value();
            const auto id = static_cast<uint32_t>(glyph.attribute("id").as_int());
            EXPECT_TRUE(ids.insert(id).second) << "repeated " << id;
            if (id == '?' || id == '|') {
                EXPECT_GT(glyph.attribute("xadvance").as_int(), 0);
                int ink = 0;
                for (int py = y; py < y + h; ++py)
                    for (int px = x; px < x + w; ++px) ink += atlas.Alpha(px, py) > 128;
                EXPECT_GE(ink, 4) << static_cast<char>(id);
            }
        }
        for (uint32_t c : needed) EXPECT_TRUE(ids.count(c)) << "no glyph " << c;
    }
}

// Output is byte-for-byte repeatable, and every texture is a distinct file the build wrote.
TEST_F(GuiContent, TexturesRepeatByteForByteUnderDistinctNames) {
    auto first = CB::DrawGuiTextures(), second = CB::DrawGuiTextures();
    ASSERT_EQ(first.size(), second.size());
    std::set<std::string> names;
    for (size_t i = 0; i < first.size(); ++i) {
        SCOPED_TRACE(first[i].first);
        EXPECT_EQ(first[i].first, second[i].first);
        EXPECT_TRUE(names.insert(first[i].first).second) << "repeated name";
        EXPECT_EQ(first[i].first.find(' '), std::string::npos);
        EXPECT_TRUE(fs::is_regular_file(PathOf(first[i].first)));
        EXPECT_EQ(CB::EncodeTexture(std::move(first[i].second)), CB::EncodeTexture(std::move(second[i].second)));
    }
}

}  // namespace
