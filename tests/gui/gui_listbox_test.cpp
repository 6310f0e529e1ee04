#include "engine/gui/gui_listbox.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/gui/widget_scene.h"

namespace QRV {
namespace {

using GuiTest::SceneQuad;

// A list on a 200 x 90 panel at (300, 200): x 200..400, y 155..245; three rows of 30.
class ListBoxTest : public GuiTest::WidgetSceneTest {
protected:
    void SetUp() override {
        WidgetSceneTest::SetUp();
        PutImage("gui_panel.png", 200, 90);
        PutImage("gui_list.png", 8, 8);
        PutImage("gui_row.png", 16, 4);
        PutImage("gui_slider.png", 12, 40);
        LoadContent();
        list = MakeList();
    }

    std::unique_ptr<JC_GUI_LISTBOX> MakeList(std::vector<std::string> rows = {}) {
        auto made = std::make_unique<JC_GUI_LISTBOX>(4, "gui_list.png", "gui_panel.png", "gui_slider.png",
                                                     "gui_font.xml", "gui_font.png", 1.5f);
        made->SetPosition(300, 200, 0);
        for (const std::string& row : rows) made->AddItem(row);
        return made;
    }

    // The quads of the row highlight: the panel's width, a row high.
    static size_t Highlights(const std::vector<SceneQuad>& quads, float width = 200.0f, float height = 30.0f) {
        size_t n = 0;
        for (const SceneQuad& q : quads) n += q.Width() == width && q.Height() == height ? 1 : 0;
        return n;
    }

    std::vector<SceneQuad> Drawn() {
        return Quads([&] { list->Draw(); });
    }

    std::unique_ptr<JC_GUI_LISTBOX> list;
};

TEST_F(ListBoxTest, AnEmptyListDrawsOnlyThePanelAndSelectsNoText) {
    list->RestoreResources();
    EXPECT_EQ(Drawn().size(), 1u);
    EXPECT_EQ(list->GetSelectedText(), nullptr);
    EXPECT_STREQ(list->GetFirstItemText(), L"");
    MoveTo(*list, 300, 200);
    for (const int32_t key : {VK_DOWN, VK_UP, VK_DOWN}) {
        EXPECT_EQ(KeyUp(*list, key), nullptr);
        EXPECT_EQ(list->GetSelectedText(), nullptr);
    }
    const JS_GUI_EVENT* record = Press(*list);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(list->GetSelectedText(), nullptr);
}

TEST_F(ListBoxTest, ALeftPressSelectsTheRowUnderThePointer) {
    const struct {
        int32_t button, x, y;
        int32_t code;
        int32_t selected;
    } cases[] = {
        {VK_LBUTTON, 300, 160, 7, 0},
        {VK_LBUTTON, 210, 190, 7, 1},
        {VK_LBUTTON, 300, 230, 7, 1},  // below the last row: the last row
        {VK_LBUTTON, 450, 190, 0, 0},  // outside
        {VK_RBUTTON, 300, 190, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.button << " at " << c.x << ", " << c.y);
        list = MakeList({"ann", "bob"});
        list->RestoreResources();
        MoveTo(*list, c.x, c.y);
        const JS_GUI_EVENT* record = Press(*list, c.button);
        EXPECT_EQ(record != nullptr ? record->code : 0, c.code);
        EXPECT_EQ(list->GetSelected(), c.selected);
        Release(*list, c.button);
    }
}

TEST_F(ListBoxTest, ArrowReleasesOverTheListMoveTheSelectionWithoutPassingTheEnds) {
    list = MakeList({"a", "b", "c", "d", "e"});
    list->RestoreResources();
    MoveTo(*list, 500, 500);
    KeyUp(*list, VK_DOWN);
    EXPECT_EQ(list->GetSelected(), 0);  // not over the list
    MoveTo(*list, 300, 200);
    Key(*list, VK_DOWN);
    EXPECT_EQ(list->GetSelected(), 0);  // presses do nothing
    for (int i = 0; i < 6; ++i) KeyUp(*list, VK_DOWN);
    EXPECT_EQ(list->GetSelected(), 4);
    // Rows past the visible count are never drawn, nor is the highlight of a row among them.
    std::vector<SceneQuad> quads = Drawn();
    EXPECT_EQ(Spelled(quads), L"abc");
    EXPECT_EQ(Highlights(quads), 0u);
    for (int i = 0; i < 6; ++i) KeyUp(*list, VK_UP);
    EXPECT_EQ(list->GetSelected(), 0);
    quads = Drawn();
    EXPECT_EQ(Highlights(quads), 1u);
    EXPECT_EQ(Spelled(quads), L"abc");
}

TEST_F(ListBoxTest, RowsAreDrawnLiterallyInTheirColoursFromThePanelsTopLeft) {
    list = MakeList({"%s%d", "b"});
    list->SetColors(0xFF111111);
    list->SetSelectedColor(0xFF222222);
    list->RestoreResources();
    const std::vector<SceneQuad> quads = Drawn();
    EXPECT_EQ(Spelled(quads), L"%s%db");
    std::vector<SceneQuad> glyphs;
    for (const SceneQuad& q : quads) {
        if (GlyphOf(q) != 0) glyphs.push_back(q);
    }
    ASSERT_EQ(glyphs.size(), 5u);
    // x: the panel's left edge plus a twentieth of its width; y: centred in the 30-pixel row.
    EXPECT_FLOAT_EQ(glyphs[0].left, 210.0f);
    EXPECT_FLOAT_EQ(glyphs[0].top, 162.0f);
    EXPECT_EQ(glyphs[0].color, 0xFF222222u);  // row 0 is selected
    EXPECT_FLOAT_EQ(glyphs[4].left, 210.0f);
    EXPECT_FLOAT_EQ(glyphs[4].top, 192.0f);
    EXPECT_EQ(glyphs[4].color, 0xFF111111u);
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
    EXPECT_EQ(list->GetSelected(), 2);
    EXPECT_STREQ(list->GetSelectedText(), L"x");
    list->AddItem("\xC5\x81" "a");  // UTF-8
    EXPECT_EQ(list->GetRow(3), L"\u0141a");
    list->Clear();
    EXPECT_EQ(list->GetRowCount(), 0u);
    EXPECT_EQ(list->GetSelected(), 0);
    EXPECT_EQ(list->GetSelectedText(), nullptr);
}

TEST_F(ListBoxTest, CountsOfZeroNeverReachTheRowHeight) {
    list = MakeList({"a", "b", "c", "d", "e"});
    list->SetVisibleCount(0);
    EXPECT_EQ(list->GetVisibleCount(), 3);
    // A draw count of 0 draws every row; the size given after it divides by the visible count.
    list->SetRowTexture("gui_row.png", 0);
    list->SetSize(200, 90);
    list->RestoreResources();
    list->SetSize(200, 90);
    list->SetVisibleCount(-2);
    EXPECT_EQ(list->GetRowHeight(), 30);
    MoveTo(*list, 300, 190);
    ASSERT_NE(Press(*list), nullptr);
    EXPECT_EQ(list->GetSelected(), 1);
    EXPECT_EQ(Spelled(Drawn()), L"abcde");
}

TEST_F(ListBoxTest, ADrawCountAfterTheVisibleCountLimitsTheRowsButNotTheirHeight) {
    list = MakeList({"a", "b", "c", "d", "e"});
    list->SetVisibleCount(3);
    list->SetRowTexture("gui_row.png", 2);
    list->RestoreResources();
    EXPECT_EQ(list->GetRowHeight(), 30);
    EXPECT_EQ(Spelled(Drawn()), L"ab");
    EXPECT_EQ(Record("gui_row.png")->refCount, 1);
    EXPECT_EQ(Record("gui_list.png")->refCount, 0);
    list->ReleaseResources();
    EXPECT_EQ(Record("gui_row.png")->refCount, 0);
    EXPECT_EQ(Record("gui_panel.png")->refCount, 0);
    EXPECT_EQ(Record("gui_font.png")->refCount, 0);
}

TEST_F(ListBoxTest, ASizeBeforeTheBuildIsKept) {
    list = MakeList({"a", "b"});
    list->SetSize(300, 60);
    list->RestoreResources();
    EXPECT_EQ(list->panel->width, 300.0f);
    EXPECT_EQ(list->GetRowHeight(), 20);
    EXPECT_FLOAT_EQ(list->ListArea().a, 300.0f);
    EXPECT_EQ(Highlights(Drawn(), 300.0f, 20.0f), 1u);
    MoveTo(*list, 449, 185);
    ASSERT_NE(Press(*list), nullptr);
    EXPECT_EQ(list->GetSelected(), 0);
    Release(*list);
    MoveTo(*list, 300, 229);
    ASSERT_NE(Press(*list), nullptr);
    EXPECT_EQ(list->GetSelected(), 1);
}

TEST_F(ListBoxTest, AHiddenListDrawsNothing) {
    list = MakeList({"a"});
    list->RestoreResources();
    EXPECT_FALSE(Drawn().empty());
    list->SetVisible(false);
    EXPECT_TRUE(Drawn().empty());
}

}  // namespace
}  // namespace QRV
