#include "engine/gui/gui_linebox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/graphics/mesh.h"
#include "engine/graphics/named_texture.h"
#include "engine/graphics/texture_resource.h"
#include "tests/gui/widget_scene.h"

namespace QRV {
namespace {

// A 200 x 40 box at (300, 200); with the default margins its input area is 192 x 32, x 204..396.
class LineBoxTest : public GuiTest::TextWidgetSceneTest {
protected:
    void SetUp() override {
        TextWidgetSceneTest::SetUp();
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
        ASSERT_EQ(Code(Press(*box)), 7);
        Release(*box);
    }
    void Unfocus() {
        box->active = 0;
        Tick(*box, 0.0f);  // the caret goes with the focus
    }
    // Each character a key of its own: '<' and '>' the arrows, '\b' Backspace, '\x7f' Delete,
    // '\t' Tab, '\r' Return; anything else is typed. The reports, in order.
    std::vector<int32_t> Play(const std::wstring& script) {
        std::vector<int32_t> codes;
        for (const wchar_t c : script) {
            int32_t vk = 'A';
            switch (c) {
                case L'<': vk = VK_LEFT; break;
                case L'>': vk = VK_RIGHT; break;
                case L'\b': vk = VK_BACK; break;
                case L'\x7f': vk = VK_DELETE; break;
                case L'\t': vk = VK_TAB; break;
                case L'\r': vk = VK_RETURN; break;
                default: break;
            }
            codes.push_back(Code(Key(*box, vk, vk == 'A' || vk == VK_TAB ? c : 0)));
        }
        return codes;
    }

    std::unique_ptr<JC_GUI_LINEBOX> box;
};

TEST_F(LineBoxTest, EditingChangesTextAndCaretAndReportsOnlyInsertions) {
    const struct {
        const char* name;
        uint32_t maxLength;
        int32_t maxWidth;
        const wchar_t* forbidden;
        const wchar_t* preset;  // SetText before the keys
        std::wstring script;
        const wchar_t* text;
        uint32_t caret;
        size_t inserted;
    } cases[] = {
        {"typing inserts at the caret", 0xFFFFFFFF, 0x7FFFFFFF, L"", L"", L"abc", L"abc", 3, 3},
        {"SetText puts the caret at 0", 0xFFFFFFFF, 0x7FFFFFFF, L"", L"xy", L"a", L"axy", 1, 1},
        {"backspace erases before the caret", 0xFFFFFFFF, 0x7FFFFFFF, L"", L"", L"abc<\b", L"ac", 1, 3},
        {"delete erases at the caret", 0xFFFFFFFF, 0x7FFFFFFF, L"", L"", L"abc<<\x7f", L"ac", 1, 3},
        {"backspace at 0 does nothing", 0xFFFFFFFF, 0x7FFFFFFF, L"", L"xy", L"\b<", L"xy", 0, 0},
        {"delete at the end does nothing", 0xFFFFFFFF, 0x7FFFFFFF, L"", L"xy", L">>>\x7f", L"xy", 2, 0},
        {"tab and control keys insert nothing", 0xFFFFFFFF, 0x7FFFFFFF, L"", L"", L"\t\r", L"", 0, 0},
        {"the length limit", 3, 0x7FFFFFFF, L"", L"", L"abcd", L"abc", 3, 3},
        {"forbidden characters", 0xFFFFFFFF, 0x7FFFFFFF, L"%_ ", L"%_", L"a%b_ c", L"abc%_", 3, 3},
        // Tested before the insert: the text may end one character past the pixel limit.
        {"the pixel limit", 0xFFFFFFFF, 25, L"", L"", L"abcd", L"abc", 3, 3},
        // An insert needs room for two more advances in the 192-pixel area: 140 + 40 < 192.
        {"the input area", 0xFFFFFFFF, 0x7FFFFFFF, L"", L"", std::wstring(10, L'W'), L"WWWWWWWW", 8, 8},
        // A character without a glyph measures as the '?' it shows as (10): 170 + 20 < 192.
        {"characters without a glyph", 0xFFFFFFFF, 0x7FFFFFFF, L"", L"", std::wstring(30, L'\u00e9'),
         L"\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9"
         L"\u00e9",
         18, 18},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        box = MakeBox();
        box->maxLength = c.maxLength;
        box->maxWidth = c.maxWidth;
        box->forbiddenCharacters = c.forbidden;
        Focus();
        box->SetText(c.preset);
        const std::vector<int32_t> codes = Play(c.script);
        EXPECT_EQ(std::count(codes.begin(), codes.end(), 10), static_cast<ptrdiff_t>(c.inserted));
        EXPECT_EQ(std::count(codes.begin(), codes.end(), 0), static_cast<ptrdiff_t>(codes.size() - c.inserted));
        EXPECT_EQ(box->GetText(), c.text);
        EXPECT_EQ(box->GetCaret(), c.caret);
    }
}

TEST_F(LineBoxTest, SetTextRefusesWhatDoesNotFitAndKeepsTheOldText) {
    box->RestoreResources();
    box->maxLength = 5;
    for (const std::wstring& text : {std::wstring(L"abc"), std::wstring(L"abcdef"), std::wstring(20, L'W')}) {
        box->SetText(text);
    }
    EXPECT_EQ(box->GetText(), L"abc");
}

TEST_F(LineBoxTest, FocusFollowsLeftPressesInTheInputArea) {
    const struct {
        const char* name;
        bool ignoresClicks;
        int32_t button, x;
        int32_t code;
        bool focused;
    } cases[] = {
        {"press inside", false, VK_LBUTTON, 300, 7, true},
        {"press in the margin", false, VK_LBUTTON, 202, 0, false},
        {"right press outside", false, VK_RBUTTON, 500, 0, true},
        {"ignored press outside", true, VK_LBUTTON, 500, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        box = MakeBox();
        Focus();
        box->ignoresClicks = c.ignoresClicks ? 1 : 0;
        MoveTo(*box, c.x, 200);
        EXPECT_EQ(Code(Press(*box, c.button)), c.code);
        EXPECT_EQ(box->IsActive(), c.focused);
        Release(*box, c.button);
        Play(L"a");  // keys reach the text only with the focus
        EXPECT_EQ(box->GetText(), c.focused ? L"a" : L"");
    }
    // Keeping the focus: every move takes it again but answers nothing, so the widgets after the
    // box still see the pointer; a press outside and a walk that clears the flag leave the keys
    // with it.
    box->keepsFocus = 1;
    box->active = 0;
    EXPECT_EQ(Code(MoveTo(*box, 10, 10)), 0);
    EXPECT_TRUE(box->IsActive());
    EXPECT_EQ(Code(Press(*box, VK_LBUTTON)), 0);
    Release(*box, VK_LBUTTON);
    EXPECT_TRUE(box->IsActive());
    box->SetActive(false);
    Play(L"b");
    EXPECT_EQ(box->GetText(), L"ab");
}

TEST_F(LineBoxTest, TheCaretBlinksOnlyWhileFocusedAndTypingShowsIt) {
    box->SetBlinkTime(0.5f);
    Focus();
    for (int i = 0; i < 3; ++i) Tick(*box, 0.2f);  // 0.5 runs out
    EXPECT_TRUE(box->IsCaretVisible());
    Tick(*box, 0.2f);
    EXPECT_FALSE(box->IsCaretVisible());
    Play(L"a");
    EXPECT_TRUE(box->IsCaretVisible());
    EXPECT_FLOAT_EQ(box->blinkTimer, 0.5f);
    Unfocus();
    EXPECT_FALSE(box->IsCaretVisible());
}

TEST_F(LineBoxTest, TextAndCaretAreDrawnLiterallyFromTheAlignedOrigin) {
    // "%s" is 20 wide. Left: 10 px inside the area's left edge (204); centre: on the centre; right:
    // ending 10 px inside the right edge (396). The line's top is the bottom margin above the centre.
    const struct {
        int32_t alignment;
        float left;
    } cases[] = {{3, 214}, {0, 214}, {4, 290}, {7, 290}, {5, 366}, {8, 366}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.alignment);
        box = MakeBox();
        Focus();
        box->SetText(L"%s");
        box->SetAlignment(c.alignment);
        Play(L">");
        const std::vector<GuiTest::SceneQuad> glyphs = GlyphsOf(Quads(*box));
        EXPECT_EQ(Spelled(glyphs), L"%|s");  // the caret 2 px left of the pen after '%'
        ASSERT_EQ(glyphs.size(), 3u);
        EXPECT_FLOAT_EQ(glyphs[0].left, c.left);
        EXPECT_FLOAT_EQ(glyphs[0].top, 196.0f);
        EXPECT_FLOAT_EQ(glyphs[1].left, c.left + 8.0f);
        EXPECT_FLOAT_EQ(glyphs[2].left, c.left + 10.0f);
    }
}

TEST_F(LineBoxTest, SettersBeforeTheBuildAreKeptAndApplied) {
    box->SetText(L"abc");
    box->SetAlignment(4);
    box->SetInputArea(20, 4, 4, 4);  // 176 wide, centred 8 px right
    box->SetTextColor(0xFF102030);
    box->RestoreResources();
    EXPECT_EQ(box->GetText(), L"abc");
    EXPECT_FLOAT_EQ(box->InputArea().a, 176.0f);
    Unfocus();
    const std::vector<GuiTest::SceneQuad> glyphs = GlyphsOf(Quads(*box));
    ASSERT_EQ(glyphs.size(), 3u);
    EXPECT_FLOAT_EQ(glyphs[0].left, 293.0f);  // 308 - 15
    EXPECT_EQ(glyphs[0].color, 0xFF102030u);

    box = MakeBox();  // a stored text that does not fit is dropped by the build
    box->maxLength = 2;
    box->SetText(L"abc");
    box->RestoreResources();
    EXPECT_EQ(box->GetText(), L"");
}

TEST_F(LineBoxTest, ReleaseGivesTheTexturesBackAndHiddenOrMissingDrawsNothing) {
    box->RestoreResources();
    JS_RESOURCE* atlas = Record("gui_font.png");
    EXPECT_EQ(atlas->refCount, 1);
    box->ReleaseResources();
    EXPECT_EQ(atlas->refCount, 0);
    EXPECT_EQ(Record("gui_box.png")->refCount, 0);
    EXPECT_FALSE(IsRealTexture(box->Font()->glyphQuad->texture));  // nothing left pointing at it
    EXPECT_TRUE(Quads(*box).empty());
    box->RestoreResources();
    EXPECT_EQ(atlas->refCount, 1);
    EXPECT_EQ(box->Font()->glyphQuad->texture, GetResourceTexture(atlas));
    EXPECT_EQ(Quads(*box).size(), 2u);  // background and caret
    box->SetVisible(false);
    EXPECT_TRUE(Quads(*box).empty());

    JC_GUI_LINEBOX missing(4, "none.png", "none.png", "none.xml");
    missing.RestoreResources();
    missing.SetText(L"ab");
    EXPECT_EQ(missing.GetText(), L"ab");
    Quads(missing);
}

}  // namespace
}  // namespace QRV
