#include "engine/windows/pages.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "engine/graphics/transform.h"
#include "engine/gui/gui_label.h"
#include "engine/gui/gui_page_number.h"
#include "engine/resources/load_error.h"
#include "engine/resources/string_table.h"
#include "tests/bots/bot_test_support.h"
#include "tests/graphics/sprite_test_support.h"
#include "tests/windows/pages_test_support.h"

namespace QRV {
namespace {

using PagesTest::CodeItem;
using PagesTest::TickFrames;

static_assert(!std::is_copy_constructible_v<JCPages> && !std::is_copy_assignable_v<JCPages>);
static_assert(!std::is_copy_constructible_v<JCPagesItem> && !std::is_copy_assignable_v<JCPagesItem>);

// `count` items of 100 x 50, each with a widget tree and a property "n" = its number.
std::string Layout(int count, const std::string& attributes) {
    std::string xml = "<pages " + attributes + ">";
    for (int i = 0; i < count; ++i) {
        xml += R"(<item size="100 50"><GUI/><property><param key="n" value=")" + std::to_string(i) +
               R"("/></property></item>)";
    }
    return xml + "</pages>";
}

// 2 x 2 per page, gaps 10 and 20, pages 1024 apart, the strip at the screen's middle: item 0 lies
// at (457, 349), item 3 at (567, 419).
const std::string kGrid = R"(cols="2" rows="2" interval_x="10" interval_y="20" turn_offset="1024 768" pos="512 384")";
const std::string kDrags = kGrid + R"( slide_rect="0 0 1024 768")";

class PagesGridTest : public TestSupport::SpriteSceneTest {
protected:
    void Load(JCPages& target, const std::string& xml) {
        ASSERT_TRUE(document.load_string(xml.c_str()));
        target.Load(document.document_element(), nullptr);
        target.Message(MSG::LoadResources, 0.0f, 0.0f, 0.0f, nullptr);
    }
    void Load(const std::string& xml) {
        grid.delegate = &recorder;
        Load(grid, xml);
    }
    JCGUI_PageNumber* Indicator(const char* xml = R"(<PAGE_NUMBER ID="40"/>)") {
        EXPECT_TRUE(indicatorXml.load_string(xml));
        indicator = std::make_unique<JCGUI_PageNumber>(indicatorXml.document_element());
        return indicator.get();
    }
    void Settle() { TickFrames(grid, 200, 0.02f); }

    BotTest::FrameTimeGuard frameTime;
    PagesTest::ScriptedClock clock;
    pugi::xml_document document, indicatorXml;
    std::unique_ptr<JCGUI_PageNumber> indicator;
    PagesTest::Recorder recorder;
    JCPages grid;
    PagesTest::Pointer pointer{grid};
};

TEST_F(PagesGridTest, PageCountFollowsTheItemsAndThePageSizeAndShowsTheIndicator) {
    const struct { int items, cols, rows, pages; } cases[] = {{7, 3, 2, 2}, {6, 3, 2, 1}, {0, 3, 2, 0}, {5, 0, 2, 0}};
    for (const auto& c : cases) {
        JCPages pages;
        pages.SetPageNumberWidget(Indicator());
        Load(pages, Layout(c.items, "cols=\"" + std::to_string(c.cols) + "\" rows=\"" + std::to_string(c.rows) + "\""));
        EXPECT_EQ(pages.pageCount, c.pages) << c.items << " items, " << c.cols << " x " << c.rows;
        EXPECT_EQ(pages.slideEffect.pageTargets.size(), static_cast<size_t>(c.pages));
        EXPECT_EQ(indicator->record.marks.pageCount, c.pages);
        EXPECT_EQ(indicator->IsVisible(), c.pages > 1);
    }
}

TEST_F(PagesGridTest, ItemsAreLaidOutPageByPageOneOffsetApart) {
    const struct {
        const char* type;
        size_t index;
        float x, y;
    } cases[] = {
        {"SLIDE_HORIZONTAL", 0, -55, -35},        {"SLIDE_HORIZONTAL", 3, 55, 35},
        {"SLIDE_HORIZONTAL", 4, -55 + 1024, -35}, {"MOMENTAL", 5, 55 + 1024, -35},
        {"SLIDE_VERTICAL", 4, -55, -35 + 768},
    };
    for (const auto& c : cases) {
        JCPages pages;
        Load(pages, Layout(6, R"(cols="2" rows="2" interval_x="10" interval_y="20" turn_type=")" + std::string(c.type) +
                                  R"(" turn_offset="1024 768")"));
        const JS_TRANSFORM3& placed = pages.items[c.index]->transform;
        EXPECT_EQ(placed.positionX, c.x) << c.type << " " << c.index;
        EXPECT_EQ(placed.positionY, c.y) << c.type << " " << c.index;
        EXPECT_EQ(placed.parent, &pages.stripTransform);
    }
}

TEST_F(PagesGridTest, LayoutKeysAndTheirDefaults) {
    const struct {
        const char* attributes;
        float speed, stepX, stepY, viewX2;
        int32_t type;
    } cases[] = {
        {R"(turn_speed="3000" turn_offset="800 600" slide_rect="1 2 3 4")", 3000, 800, 600, 3, SLIDE_TYPE::Horizontal},
        {R"(turn_type="other" turn_speed="0")", 1500, 1024, 768, 0, SLIDE_TYPE::Momental},
        {R"(turn_type="SLIDE_VERTICAL" turn_speed="-5")", 1500, 1024, 768, 0, SLIDE_TYPE::Vertical},
    };
    for (const auto& c : cases) {
        JCPages pages;
        Load(pages, Layout(1, c.attributes));
        const JCSlideEffect& slide = pages.slideEffect;
        EXPECT_EQ(slide.speed, c.speed) << c.attributes;
        EXPECT_EQ(slide.pageStepX, c.stepX) << c.attributes;
        EXPECT_EQ(slide.pageStepY, c.stepY) << c.attributes;
        EXPECT_EQ(slide.viewX2, c.viewX2) << c.attributes;
        EXPECT_EQ(slide.type, c.type) << c.attributes;
    }
}

TEST_F(PagesGridTest, ItemsComeFromTheDelegateWithTheirPropertiesAndTrees) {
    Load(R"(<pages cols="2" rows="1"><item size="10 10"/><skip/><!-- note --><item size="20 10"><GUI/>)"
         R"(<property><param key="n" value="4"/></property></item></pages>)");
    ASSERT_EQ(grid.items.size(), 2u);
    JCPagesItem& second = *grid.items[1];
    EXPECT_EQ(second.Index(), 1);
    EXPECT_EQ(second.width, 20);
    ASSERT_NE(second.GetProperty("n"), nullptr);
    EXPECT_EQ(second.GetProperty("n")->intValue, 4);
    EXPECT_EQ(second.gui->rootObject->transform->parent, &second.transform);
    EXPECT_EQ(grid.items[0]->gui, nullptr);
}

TEST_F(PagesGridTest, ItemTreesComeFromTheirLayoutPlacedOnTheItemWithLabelsLocalised) {
    const std::string rows =
        "<Workbook><Worksheet><Table><Row><Cell><Data>k_pack</Data></Cell><Cell><Data>Forest"
        "</Data></Cell></Row></Table></Worksheet></Workbook>";
    JC_STRING_TABLE table;
    ASSERT_TRUE(table.LoadFromMemory(rows.data(), rows.size()));
    ASSERT_TRUE(document.load_string(R"(<pages cols="2" rows="1" pos="512 384"><item size="100 50"><GUI>
        <WLABEL ID="3" FONT="f" FONT_TEXTURE="t" TEXT="k_pack"/>
        <BUTTON5 ID="4" TEXTURE="b.png"><TRANSFORM>10 5 0 0 0 0 0 0 0 1 1 1</TRANSFORM></BUTTON5>
        </GUI></item><item size="100 50"/></pages>)"));
    grid.Load(document.document_element(), &table);
    grid.LoadResources();
    const JC_GUI_OBJECT* tree = grid.items[0]->gui->rootObject;
    ASSERT_NE(tree->FindChildById(3), nullptr);
    EXPECT_EQ(static_cast<const JC_GUI_WLABEL*>(tree->FindChildById(3))->GetText(), L"Forest");
    const JS_TRANSFORM3 button = GetAbsolute(*tree->FindChildById(4)->transform);
    EXPECT_EQ(button.positionX, 512.0f - 50.0f + 10.0f);
    EXPECT_EQ(button.positionY, 384.0f + 5.0f);
    EXPECT_EQ(grid.gui.rootObject->children, std::vector<JC_GUI_OBJECT*>{grid.items[0]->gui->rootObject});
}

TEST_F(PagesGridTest, AReleaseOverAnItemClicksItWhereverThePressBegan) {
    Load(Layout(4, kGrid));
    // Item 0 covers 407..507 x 324..374, edges included.
    const struct {
        int32_t x, y, button;
        bool clicks;
    } cases[] = {
        {457, 349, VK_LBUTTON, true},  {407, 324, VK_LBUTTON, true},  {507, 374, VK_LBUTTON, true},
        {406, 349, VK_LBUTTON, false}, {457, 375, VK_LBUTTON, false}, {457, 349, VK_RBUTTON, true},
        {457, 349, VK_MBUTTON, false},
    };
    for (const auto& c : cases) {
        recorder.clicks.clear();
        pointer.Press(567, 419);  // on item 3
        EXPECT_EQ(pointer.Release(c.x, c.y, c.button), c.clicks ? 1 : 0) << c.x << "," << c.y;
        EXPECT_EQ(recorder.clicks, c.clicks ? std::vector<JCPagesItem*>{grid.items[0]} : std::vector<JCPagesItem*>{});
    }
}

TEST_F(PagesGridTest, AReleaseThatEndsADragClicksNothing) {
    Load(Layout(8, kDrags));
    const struct { int32_t moved, result; } cases[] = {{10, 0}, {4, 0}, {3, 1}};
    for (const auto& c : cases) {
        recorder.clicks.clear();
        pointer.Press(457, 349);
        pointer.MoveTo(457 + c.moved, 349);
        EXPECT_EQ(pointer.Release(457 + c.moved, 349), c.result) << c.moved;
        EXPECT_EQ(recorder.clicks.size(), c.result == 1 ? 1u : 0u) << c.moved;
        Settle();
    }
}

TEST_F(PagesGridTest, OnlyTheCurrentPageGetsTheMouseAndWithTheFlagIsTheOnlyOneDrawn) {
    grid.cols = grid.perPage = 2;
    grid.rows = 1;
    std::vector<CodeItem*> items;
    for (int i = 0; i < 3; ++i) grid.AddItem(items.emplace_back(new CodeItem(100, 50)));
    grid.LoadResources();  // item 1 covers (1, 1)
    const auto seen = [&] {
        std::vector<int> out;
        for (CodeItem* item : items) out.push_back(item->mouse + 10 * item->widget->draws);
        for (CodeItem* item : items) item->mouse = item->widget->draws = 0;
        return out;
    };
    pointer.Press(0, 0);
    pointer.MoveTo(1, 1);
    pointer.Release(1, 1);
    grid.Message(MSG::Draw, 0.0f, 0.0f, 0.0f, nullptr);
    EXPECT_EQ(seen(), (std::vector<int>{13, 13, 10}));
    grid.currentPageOnly = 1;
    ASSERT_TRUE(grid.NextPage());
    Settle();
    grid.RebuildPageGui();
    pointer.Press(0, 0);
    grid.Message(MSG::Draw, 0.0f, 0.0f, 0.0f, nullptr);
    EXPECT_EQ(seen(), (std::vector<int>{0, 0, 11}));
}

TEST_F(PagesGridTest, DragsAndPageStepsStopAtTheEnds) {
    Load(Layout(8, kDrags));
    EXPECT_FALSE(grid.PrevPage());
    EXPECT_EQ(pointer.Drag(clock, 700, 500, 300, 0, 200), 0);
    EXPECT_EQ(recorder.slideBegins, 1);
    Settle();
    EXPECT_EQ(grid.currentPage, 1);
    EXPECT_EQ(GetAbsolute(grid.items[4]->transform).positionX, 457.0f);
    EXPECT_FALSE(grid.NextPage());
    EXPECT_FALSE(grid.slideEffect.IsSliding());
    EXPECT_EQ(recorder.pages, std::vector<int32_t>{1});
}

TEST_F(PagesGridTest, ADragOnAGridWithNoPagesDoesNothing) {
    Load(Layout(0, kDrags));
    EXPECT_EQ(pointer.Drag(clock, 700, 300, 300, 0, 100), 0);
    Settle();
    EXPECT_EQ(grid.stripTransform.positionX, 512.0f);
    EXPECT_EQ(recorder.slideBegins, 0);
    EXPECT_TRUE(recorder.pages.empty());
}

TEST_F(PagesGridTest, RemovingAnItemClosesTheGapAndRecountsThePages) {
    grid.SetPageNumberWidget(Indicator());
    Load(Layout(5, kGrid));
    JCPagesItem* first = grid.items[0];
    JCPagesItem* last = grid.items[4];
    EXPECT_FALSE(grid.RemoveItem(nullptr));
    ASSERT_TRUE(grid.RemoveItem(first));
    EXPECT_FALSE(grid.RemoveItem(first));
    EXPECT_EQ(first->transform.parent, nullptr);
    delete first;  // the caller's again
    EXPECT_EQ(grid.pageCount, 1);
    EXPECT_EQ(grid.slideEffect.pageTargets.size(), 1u);
    EXPECT_FALSE(indicator->IsVisible());
    EXPECT_EQ(last->transform.positionX, 55.0f);  // from page 1 into the freed place
    EXPECT_EQ(last->transform.positionY, 35.0f);
    EXPECT_EQ(grid.gui.rootObject->children.size(), 4u);
}

TEST_F(PagesGridTest, RemovingTheCurrentLastPageSlidesBack) {
    Load(Layout(5, kGrid));
    ASSERT_TRUE(grid.NextPage());
    Settle();
    JCPagesItem* onPageOne = grid.items[4];
    ASSERT_TRUE(grid.RemoveItem(onPageOne));
    delete onPageOne;
    Settle();
    EXPECT_EQ(grid.currentPage, 0);
    EXPECT_EQ(grid.stripTransform.positionX, 512.0f);
}

TEST_F(PagesGridTest, BorrowedItemsOutliveTheGridThatShowedThem) {
    auto kept = std::make_unique<CodeItem>(100, 50);
    auto pages = std::make_unique<JCPages>();
    pages->BorrowItem(kept.get());
    pages->AddItem(new CodeItem(100, 50));
    EXPECT_FALSE(pages->Owns(kept.get()));
    EXPECT_TRUE(pages->Owns(pages->items[1]));
    EXPECT_EQ(pages->gui.rootObject->children.size(), 2u);
    EXPECT_EQ(kept->transform.parent, &pages->stripTransform);
    pages.reset();
    EXPECT_EQ(kept->transform.parent, nullptr);
    ASSERT_EQ(kept->gui->rootObject->children.size(), 1u);
    EXPECT_EQ(kept->gui->rootObject->children[0], kept->widget);
}

// The indicator's buttons (20 x 20) at (400, 700) and (600, 700); a grid of two pages.
class PagesIndicatorTest : public PagesGridTest {
protected:
    void SetUp() override {
        PagesGridTest::SetUp();
        PutImage("marks.png", 32, 16);
        PutImage("strip.png", 100, 20);
        ASSERT_EQ(manager.LoadMain(), 1);
        Indicator(R"(<PAGE_NUMBER ID="40" FILE="marks.png"><BUTTONS>
            <BUTTON ID="41" TEXTURE="strip.png"><TRANSFORM>-100 0 0 0 0 0 0 0 0 1 1 1</TRANSFORM></BUTTON>
            <BUTTON ID="42" TEXTURE="strip.png"><TRANSFORM>100 0 0 0 0 0 0 0 0 1 1 1</TRANSFORM></BUTTON>
            </BUTTONS></PAGE_NUMBER>)");
        indicator->SetPosition(500, 700, 0);
        indicator->RestoreResources();
        Load(Layout(5, kGrid));
        grid.SetPageNumberWidget(indicator.get());
    }
    void TearDown() override {
        indicator->ReleaseResources();
        indicator.reset();
        PagesGridTest::TearDown();
    }
    void ClickAt(int32_t x) {
        pointer.input.Clear();
        pointer.input.MoveTo(x, 700);
        indicator->DispatchMouseMove();
        pointer.input.Press();
        indicator->DispatchMouseDown();
        pointer.input.Clear();
        pointer.input.Release();
        indicator->DispatchMouseUp();
    }
};

TEST_F(PagesIndicatorTest, QuickClicksLeaveOneSlideAndAConsistentPage) {
    ClickAt(600);
    TickFrames(grid, 10, 0.02f);
    ClickAt(400);
    EXPECT_EQ(grid.slideEffect.bots.Count(), 1u);
    Settle();
    EXPECT_EQ(grid.currentPage, 0);
    EXPECT_EQ(grid.stripTransform.positionX, 512.0f);
    EXPECT_EQ(recorder.pages, std::vector<int32_t>{0});
    EXPECT_EQ(indicator->record.marks.currentPage, 0);
    ClickAt(600);
    Settle();
    EXPECT_EQ(grid.currentPage, 1);
    EXPECT_EQ(indicator->record.marks.currentPage, 1);
}

TEST_F(PagesIndicatorTest, WithPagingDisabledTheIndicatorMovesNothing) {
    grid.pagingEnabled = 0;
    ClickAt(600);
    Settle();
    EXPECT_EQ(grid.currentPage, 0);
    EXPECT_TRUE(recorder.pages.empty());
}

using PagesDeathTest = PagesGridTest;

TEST_F(PagesDeathTest, LoadsItsLayoutFromAResourceAndStopsWhenItIsMissing) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Put("pages.xml", Layout(3, kGrid));
    ASSERT_EQ(manager.LoadMain(), 1);
    grid.LoadFromFile("pages.xml");
    EXPECT_EQ(grid.items.size(), 3u);
    EXPECT_EXIT(grid.LoadFromFile("missing.xml"), ::testing::ExitedWithCode(kLoadErrorExitCode), "missing\\.xml");
}

}  // namespace
}  // namespace QRV
