#include "engine/gui/gui_listbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "tests/gui/widget_scene.h"

namespace QRV {
namespace {

using GuiTest::SceneQuad;

// A list on a 200 x 90 panel at (300, 200): x 200..400, y 155..245; three rows of 30.
class ListBoxTest : public GuiTest::TextWidgetSceneTest {
protected:
    void SetUp() override {
        TextWidgetSceneTest::SetUp();
        PutImage("gui_panel.png", 200, 90);
        PutImage("gui_list.png", 8, 8);
        PutImage("gui_row.png", 16, 4);
        PutImage("gui_slider.png", 12, 40);
        LoadContent();
        list = MakeList();
    }
    std::unique_ptr<JC_GUI_LISTBOX> MakeList(const std::vector<std::string>& rows = {}) {
        auto made = std::make_unique<JC_GUI_LISTBOX>(4, "gui_list.png", "gui_panel.png", "gui_slider.png",
                                                     "gui_font.xml", "gui_font.png", 1.5f);
        made->SetPosition(300, 200, 0);
        for (const std::string& row : rows) made->AddItem(row);
        return made;
    }
    // Quads of the row highlight: the panel's width, a row high.
    static size_t Highlights(const std::vector<SceneQuad>& quads, float width = 200, float height = 30) {
        return static_cast<size_t>(std::count_if(quads.begin(), quads.end(), [&](const SceneQuad& q) {
            return q.Width() == width && q.Height() == height;
        }));
    }

    // An arrow key pressed, then released in the next frame; the release's record.
    JS_GUI_EVENT* Arrow(int32_t vk) {
        Key(*list, vk);
        input.Get().AgeKeys();
        input.Get().OnKeyUp(vk);
        return list->DispatchMouseUp();
    }

    std::unique_ptr<JC_GUI_LISTBOX> list;
};

TEST_F(ListBoxTest, AnEmptyListDrawsOnlyThePanelAndSelectsNoText) {
    list->RestoreResources();
    EXPECT_EQ(Quads(*list).size(), 1u);
    EXPECT_STREQ(list->GetFirstItemText(), L"");
    MoveTo(*list, 300, 200);
    for (const int32_t key : {VK_DOWN, VK_UP}) {
        EXPECT_EQ(Arrow(key), nullptr);
        EXPECT_EQ(list->GetSelectedText(), nullptr);
    }
    EXPECT_EQ(Code(Press(*list)), 7);
    EXPECT_EQ(list->GetSelectedText(), nullptr);
}

TEST_F(ListBoxTest, ALeftPressSelectsTheRowUnderThePointer) {
    const struct {
        int32_t button, x, y;
        int32_t code, selected;
    } cases[] = {
        {VK_LBUTTON, 300, 160, 7, 0}, {VK_LBUTTON, 210, 190, 7, 1},
        {VK_LBUTTON, 300, 230, 7, 1},  // below the last row: the last row
        {VK_LBUTTON, 450, 190, 0, 0}, {VK_RBUTTON, 300, 190, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.button << " at " << c.x << ", " << c.y);
        list = MakeList({"ann", "bob"});
        list->RestoreResources();
        MoveTo(*list, c.x, c.y);
        EXPECT_EQ(Code(Press(*list, c.button)), c.code);
        EXPECT_EQ(list->GetSelected(), c.selected);
        Release(*list, c.button);
    }
}

TEST_F(ListBoxTest, ReleasedArrowsOverTheListMoveTheSelectionWithinTheRows) {
    list = MakeList({"a", "b", "c", "d", "e"});
    list->RestoreResources();
    MoveTo(*list, 500, 500);
    Arrow(VK_DOWN);
    EXPECT_EQ(list->GetSelected(), 0);  // not over the list
    MoveTo(*list, 300, 200);
    Key(*list, VK_DOWN);
    EXPECT_EQ(list->GetSelected(), 0);  // a press alone does nothing
    for (int i = 0; i < 6; ++i) Arrow(VK_DOWN);
    EXPECT_EQ(list->GetSelected(), 4);
    // Rows past the visible count are never drawn, nor the highlight of one of them.
    std::vector<SceneQuad> quads = Quads(*list);
    EXPECT_EQ(Spelled(quads), L"abc");
    EXPECT_EQ(Highlights(quads), 0u);
    for (int i = 0; i < 6; ++i) Arrow(VK_UP);
    EXPECT_EQ(list->GetSelected(), 0);
    EXPECT_EQ(Highlights(Quads(*list)), 1u);
}

TEST_F(ListBoxTest, RowsAreDrawnLiterallyInTheirColoursFromThePanelsTopLeft) {
    list = MakeList({"%s%d", "b"});
    list->SetColors(0xFF111111);
    list->SetSelectedColor(0xFF222222);
    list->RestoreResources();
    const std::vector<SceneQuad> glyphs = GlyphsOf(Quads(*list));
    EXPECT_EQ(Spelled(glyphs), L"%s%db");
    ASSERT_EQ(glyphs.size(), 5u);
    // x: the panel's left edge plus a twentieth of its width; y: centred in the 30-pixel row.
    EXPECT_FLOAT_EQ(glyphs[0].left, 210.0f);
    EXPECT_FLOAT_EQ(glyphs[0].top, 162.0f);
    EXPECT_EQ(glyphs[0].color, 0xFF222222u);  // row 0 is selected
    EXPECT_FLOAT_EQ(glyphs[4].top, 192.0f);
    EXPECT_EQ(glyphs[4].color, 0xFF111111u);
    list->SetVisible(false);
    EXPECT_TRUE(Quads(*list).empty());
}

TEST_F(ListBoxTest, RowLimitClearAndSelectionByText) {
    list->SetMaxRows(2);
    for (const char* row : {"x", "y", "z"}) list->AddItem(row);
    EXPECT_EQ(list->GetRowCount(), 2u);
    EXPECT_EQ(list->GetMaxRows(), 2u);
    list->SetMaxRows(0xFFFFFFFF);
    list->AddItem(std::wstring(L"x"));
    list->SelectByText(L"x");
    EXPECT_EQ(list->GetSelected(), 2);  // the last match
    list->SelectByText(L"none");
    EXPECT_STREQ(list->GetSelectedText(), L"x");
    list->AddItem(
        "\xC5\x81"
        "a");
    EXPECT_EQ(list->GetRow(3), L"\u0141a");
    list->Clear();
    EXPECT_EQ(list->GetRowCount(), 0u);
    EXPECT_EQ(list->GetSelected(), 0);
}

TEST_F(ListBoxTest, TheRowHeightComesFromTheVisibleCountAndSurvivesZeroCounts) {
    const struct {
        const char* name;
        int32_t visible, drawCount;  // drawCount < 0: no row texture
        bool sizeBefore, sizeAfter;
        int32_t w, h;
        int32_t rowHeight;
        const wchar_t* drawn;
    } cases[] = {
        {"visible count 0 is ignored", 0, -1, false, false, 0, 0, 30, L"abc"},
        {"draw count after the visible count", 3, 2, false, false, 0, 0, 30, L"ab"},
        {"draw count 0, then a size", 3, 0, true, true, 200, 90, 30, L"abcde"},
        {"size before the build", 3, -1, true, false, 300, 60, 20, L"abc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        list = MakeList({"a", "b", "c", "d", "e"});
        list->SetVisibleCount(c.visible);
        if (c.drawCount >= 0) list->SetRowTexture("gui_row.png", c.drawCount);
        if (c.sizeBefore) list->SetSize(c.w, c.h);
        list->RestoreResources();
        if (c.sizeAfter) list->SetSize(c.w, c.h);
        EXPECT_EQ(list->GetRowHeight(), c.rowHeight);
        EXPECT_EQ(Spelled(Quads(*list)), c.drawn);
        // The second row takes a press a pixel inside its top.
        const float top = 200.0f - 0.5f * list->panel->height;
        MoveTo(*list, 300, static_cast<int32_t>(top) + c.rowHeight + 1);
        EXPECT_EQ(Code(Press(*list)), 7);
        Release(*list);
        EXPECT_EQ(list->GetSelected(), 1);
    }
    EXPECT_EQ(list->panel->width, 300.0f);
    EXPECT_EQ(Highlights(Quads(*list), 300, 20), 1u);
    EXPECT_EQ(Record("gui_row.png")->refCount, 0);
    EXPECT_EQ(Record("gui_list.png")->refCount, 1);  // the highlight without a row texture
    list->ReleaseResources();
    for (const char* key : {"gui_list.png", "gui_panel.png", "gui_font.png", "gui_slider.png"}) {
        EXPECT_EQ(Record(key)->refCount, 0) << key;
    }
}

}  // namespace
}  // namespace QRV
