#include "engine/gui/gui_linebox.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/graphics/mesh.h"
#include "engine/graphics/named_texture.h"
#include "engine/graphics/texture_resource.h"
#include "engine/gui/gui_root.h"
#include "tests/gui/widget_scene.h"

namespace QRV {
namespace {

using GuiTest::SceneQuad;

// A 200 x 40 box at (300, 200); with the default margins its input area is 192 x 32, x 204..396.
class LineBoxTest : public GuiTest::WidgetSceneTest {
protected:
    void SetUp() override {
        WidgetSceneTest::SetUp();
        PutImage("gui_box.png", 200, 40);
        LoadContent();
        box = MakeBox();
    }

    std::unique_ptr<JC_GUI_LINEBOX> MakeBox() {
        auto made = std::make_unique<JC_GUI_LINEBOX>(2, "gui_box.png", "gui_font.png", "gui_font.xml");
        made->SetPosition(300, 200, 0);
        return made;
    }

    // Built and focused by a click in its input area.
    void Focus() {
        if (!box->IsBuilt()) box->RestoreResources();
        MoveTo(*box, 300, 200);
        ASSERT_NE(Press(*box), nullptr);
        Release(*box);
    }

    // Focus gone and the caret with it.
    void Unfocus() {
        box->active = 0;
        Tick(*box, 0.0f);
    }

    std::vector<SceneQuad> Glyphs() {
        const std::vector<SceneQuad> all = Quads([&] { box->Draw(); });
        std::vector<SceneQuad> glyphs;
        for (const SceneQuad& q : all) {
            if (GlyphOf(q) != 0) glyphs.push_back(q);
        }
        return glyphs;
    }

    std::unique_ptr<JC_GUI_LINEBOX> box;
};

// One editing step: a key (with the character it types) or, for vk 0, SetText(text).
struct Step {
    int32_t vk;
    wchar_t typed;
    const wchar_t* text = nullptr;
};

TEST_F(LineBoxTest, EditingKeysChangeTheTextAndCaretAndReportOnlyInsertions) {
    const Step a{'A', L'a'}, b{'B', L'b'}, c{'C', L'c'}, d{'D', L'd'};
    const Step back{VK_BACK, 0}, del{VK_DELETE, 0}, left{VK_LEFT, 0}, right{VK_RIGHT, 0};
    const struct {
        const char* name;
        uint32_t maxLength;
        int32_t maxWidth;
        std::vector<Step> steps;
        std::vector<int32_t> codes;
        const wchar_t* text;
        uint32_t caret;
    } cases[] = {
        {"typing inserts at the caret", 0xFFFFFFFF, 0x7FFFFFFF, {a, b, c}, {10, 10, 10}, L"abc", 3},
        {"the length limit refuses silently", 3, 0x7FFFFFFF, {a, b, c, d}, {10, 10, 10, 0}, L"abc", 3},
        {"backspace erases before the caret", 0xFFFFFFFF, 0x7FFFFFFF, {a, b, c, left, back}, {10, 10, 10, 0, 0}, L"ac", 1},
        {"delete erases at the caret", 0xFFFFFFFF, 0x7FFFFFFF, {a, b, c, left, left, del}, {10, 10, 10, 0, 0, 0}, L"ac", 1},
        {"backspace at 0 does nothing", 0xFFFFFFFF, 0x7FFFFFFF, {{0, 0, L"xy"}, back}, {0, 0}, L"xy", 0},
        {"delete at the end does nothing", 0xFFFFFFFF, 0x7FFFFFFF, {a, b, del}, {10, 10, 0}, L"ab", 2},
        {"left stops at 0, right at the end", 0xFFFFFFFF, 0x7FFFFFFF, {a, left, left, right, right}, {10, 0, 0, 0, 0}, L"a", 1},
        {"SetText puts the caret at 0", 0xFFFFFFFF, 0x7FFFFFFF, {{0, 0, L"xy"}, a}, {0, 10}, L"axy", 1},
        {"tab and control keys insert nothing", 0xFFFFFFFF, 0x7FFFFFFF,
         {{VK_TAB, L'\t'}, {VK_RETURN, L'\r'}, {VK_ESCAPE, 27}, {VK_HOME, 0}, {'Q', 0}}, {0, 0, 0, 0, 0}, L"", 0},
        // Tested before the insert: the text may end one character past the pixel limit.
        {"the pixel limit", 0xFFFFFFFF, 25, {a, b, c, d}, {10, 10, 10, 0}, L"abc", 3},
        // 'W' advances 20; an insert needs room for two more in the 192-pixel area: 140 + 40 < 192,
        // 160 + 40 is not.
        {"the input area", 0xFFFFFFFF, 0x7FFFFFFF, std::vector<Step>(10, Step{'W', L'W'}),
         {10, 10, 10, 10, 10, 10, 10, 10, 0, 0}, L"WWWWWWWW", 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        box = MakeBox();
        box->maxLength = c.maxLength;
        box->maxWidth = c.maxWidth;
        Focus();
        std::vector<int32_t> codes;
        for (const Step& step : c.steps) {
            if (step.vk == 0) {
                box->SetText(step.text);
                codes.push_back(0);
                continue;
            }
            const JS_GUI_EVENT* record = Key(*box, step.vk, step.typed);
            codes.push_back(record != nullptr ? record->code : 0);
            if (record != nullptr) {
                EXPECT_EQ(record->id, 2);
            }
        }
        EXPECT_EQ(codes, c.codes);
        EXPECT_EQ(box->GetText(), c.text);
        EXPECT_EQ(box->GetCaret(), c.caret);
    }
}

TEST_F(LineBoxTest, ForbiddenCharactersAreRefusedWhenTypedOnly) {
    box->forbiddenCharacters = L"%_ ";
    Focus();
    EXPECT_EQ(Type(*box, L"a%b_ c"), (std::vector<int32_t>{10, 0, 10, 0, 0, 10}));
    EXPECT_EQ(box->GetText(), L"abc");
    box->SetText(L"a%_");
    EXPECT_EQ(box->GetText(), L"a%_");
}

TEST_F(LineBoxTest, CharactersWithoutAGlyphCountAsTheQuestionMarkAgainstThePixelLimit) {
    Focus();
    // Each measures 10: an insert needs width + 20 < 192, so the 18th is the last.
    Type(*box, std::wstring(30, L'\u00e9'));
    EXPECT_EQ(box->GetText(), std::wstring(18, L'\u00e9'));
    const std::vector<SceneQuad> glyphs = Glyphs();
    ASSERT_GE(glyphs.size(), 18u);
    EXPECT_EQ(GlyphOf(glyphs[0]), L'?');
    EXPECT_LE(glyphs[17].right, 396.0f);  // still inside the input area
}

TEST_F(LineBoxTest, SetTextRefusesWhatDoesNotFitAndKeepsTheOldText) {
    box->RestoreResources();
    box->maxLength = 5;
    box->SetText(L"abc");
    box->SetText(L"abcdef");                   // too long
    box->SetText(std::wstring(20, L'W'));      // 400 px, wider than the area
    EXPECT_EQ(box->GetText(), L"abc");
    box->SetText(std::wstring(5, L'W'));
    EXPECT_EQ(box->GetText(), L"WWWWW");
}

TEST_F(LineBoxTest, FocusFollowsLeftPressesInTheInputArea) {
    const struct {
        const char* name;
        bool ignoresClicks;
        int32_t button, x, y;
        int32_t code;  // 0: null
        bool focused;
    } cases[] = {
        {"press inside", false, VK_LBUTTON, 300, 200, 7, true},
        {"press in the margin", false, VK_LBUTTON, 202, 200, 0, false},
        {"press outside", false, VK_LBUTTON, 500, 200, 0, false},
        {"right press outside keeps it", false, VK_RBUTTON, 500, 200, 0, true},
        {"ignored press outside keeps it", true, VK_LBUTTON, 500, 200, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        box = MakeBox();
        Focus();
        box->ignoresClicks = c.ignoresClicks ? 1 : 0;
        MoveTo(*box, c.x, c.y);
        const JS_GUI_EVENT* record = Press(*box, c.button);
        EXPECT_EQ(record != nullptr ? record->code : 0, c.code);
        EXPECT_EQ(box->IsActive(), c.focused);
        Release(*box, c.button);
        // Keys reach the text only with the focus; a right press types nothing.
        Type(*box, L"a");
        EXPECT_EQ(box->GetText(), c.focused ? L"a" : L"");
    }
}

TEST_F(LineBoxTest, KeepsFocusTakesItOnEveryMove) {
    box->RestoreResources();
    EXPECT_EQ(MoveTo(*box, 10, 10), nullptr);
    box->keepsFocus = 1;
    for (int i = 0; i < 2; ++i) {
        box->active = 0;
        const JS_GUI_EVENT* record = MoveTo(*box, 10 + i, 10);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->code, 11);
        EXPECT_TRUE(box->IsActive());
    }
    EXPECT_EQ(Type(*box, L"a"), std::vector<int32_t>{10});
}

TEST_F(LineBoxTest, TheCaretBlinksOnlyWhileFocusedAndTypingShowsIt) {
    box->SetBlinkTime(0.5f);
    Focus();
    const float steps[] = {0.2f, 0.2f, 0.2f};
    for (const float s : steps) Tick(*box, s);  // the phase runs out
    EXPECT_TRUE(box->IsCaretVisible());
    Tick(*box, 0.2f);
    EXPECT_FALSE(box->IsCaretVisible());
    Type(*box, L"a");
    EXPECT_TRUE(box->IsCaretVisible());
    EXPECT_FLOAT_EQ(box->blinkTimer, 0.5f);
    box->active = 0;
    Tick(*box, 0.01f);
    EXPECT_FALSE(box->IsCaretVisible());
}

TEST_F(LineBoxTest, TextAndCaretAreDrawnFromTheAlignedOrigin) {
    // "ab" is 20 wide. Left: 10 px inside the area's left edge (204); centre: on the box's centre;
    // right: ending 10 px inside its right edge (396). The line's top is the bottom margin above the
    // centre.
    const struct {
        int32_t alignment;
        float firstLeft;
    } cases[] = {{3, 214}, {0, 214}, {4, 290}, {7, 290}, {5, 366}, {8, 366}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.alignment);
        box = MakeBox();
        Focus();
        box->SetText(L"ab");
        box->SetAlignment(c.alignment);
        Key(*box, VK_RIGHT);
        const std::vector<SceneQuad> glyphs = Glyphs();
        ASSERT_EQ(glyphs.size(), 3u);
        EXPECT_EQ(GlyphOf(glyphs[0]), L'a');
        EXPECT_FLOAT_EQ(glyphs[0].left, c.firstLeft);
        EXPECT_FLOAT_EQ(glyphs[0].top, 196.0f);
        // The caret after the first character, 2 px left of the pen.
        EXPECT_EQ(GlyphOf(glyphs[1]), L'|');
        EXPECT_FLOAT_EQ(glyphs[1].left, c.firstLeft + 8.0f);
        EXPECT_EQ(GlyphOf(glyphs[2]), L'b');
        EXPECT_FLOAT_EQ(glyphs[2].left, c.firstLeft + 10.0f);
    }
}

TEST_F(LineBoxTest, SettersBeforeTheBuildAreKeptAndApplied) {
    box->SetText(L"abc");
    box->SetAlignment(4);
    box->SetInputArea(20, 4, 4, 4);  // area 176 wide, centred 8 px right
    box->SetTextColor(0xFF102030);
    EXPECT_EQ(box->GetText(), L"abc");
    box->RestoreResources();
    EXPECT_EQ(box->GetText(), L"abc");
    EXPECT_EQ(box->GetAlignment(), 4);
    EXPECT_FLOAT_EQ(box->InputArea().a, 176.0f);
    Unfocus();
    const std::vector<SceneQuad> glyphs = Glyphs();
    ASSERT_EQ(glyphs.size(), 3u);
    EXPECT_FLOAT_EQ(glyphs[0].left, 293.0f);  // 308 - 15
    EXPECT_EQ(glyphs[0].color, 0xFF102030u);

    // A stored text that does not fit is dropped by the build.
    box = MakeBox();
    box->maxLength = 2;
    box->SetText(L"abc");
    box->RestoreResources();
    EXPECT_EQ(box->GetText(), L"");
}

TEST_F(LineBoxTest, PlayerTextIsDrawnLiterally) {
    Focus();
    box->SetText(L"%s%d%");
    Unfocus();
    EXPECT_EQ(Spelled(Glyphs()), L"%s%d%");
}

TEST_F(LineBoxTest, HiddenBoxesDrawNothingEvenOutsideARoot) {
    JC_GUI_ROOT root;
    auto* inRoot = new JC_GUI_LINEBOX(3, "gui_box.png", "gui_font.png", "gui_font.xml");
    root.rootObject->AddChild(inRoot);
    root.RebuildLevels();
    root.RestoreResources();
    box->RestoreResources();
    EXPECT_FALSE(Quads([&] { root.Draw(); box->Draw(); }).empty());
    inRoot->SetVisible(false);
    box->SetVisible(false);
    EXPECT_TRUE(Quads([&] { root.Draw(); box->Draw(); box->DrawTree(); }).empty());
}

TEST_F(LineBoxTest, ReleaseGivesTheTexturesBackAndRestoreTakesThemAgain) {
    box->RestoreResources();
    JS_RESOURCE* atlas = Record("gui_font.png");
    JS_RESOURCE* background = Record("gui_box.png");
    EXPECT_EQ(atlas->refCount, 1);
    EXPECT_EQ(background->refCount, 1);
    box->ReleaseResources();
    EXPECT_EQ(atlas->refCount, 0);
    EXPECT_EQ(background->refCount, 0);
    // Nothing is left pointing at a texture the cache may free.
    EXPECT_FALSE(IsRealTexture(box->Font()->glyphQuad->texture));
    EXPECT_TRUE(Quads([&] { box->Draw(); }).empty());
    box->RestoreResources();
    EXPECT_EQ(atlas->refCount, 1);
    EXPECT_EQ(box->Font()->glyphQuad->texture, GetResourceTexture(atlas));
    box->SetText(L"a");
    EXPECT_EQ(Glyphs().size(), 2u);
}

TEST_F(LineBoxTest, MissingContentDrawsWithoutFailing) {
    JC_GUI_LINEBOX missing(4, "gui_none.png", "gui_none.png", "gui_none.xml");
    missing.RestoreResources();
    missing.SetText(L"ab");
    EXPECT_EQ(missing.GetText(), L"ab");
    Quads([&] { missing.Draw(); });
    missing.ReleaseResources();
}

}  // namespace
}  // namespace QRV
