#include "engine/windows/pages.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "engine/graphics/transform.h"
#include "engine/gui/gui_page_number.h"
#include "engine/resources/load_error.h"
#include "tests/bots/bot_test_support.h"
#include "tests/graphics/sprite_test_support.h"
#include "tests/windows/pages_test_support.h"

namespace QRV {
namespace {

using PagesTest::CodeItem;
using PagesTest::Pointer;
using PagesTest::Recorder;
using PagesTest::ScriptedClock;
using PagesTest::TickFrames;

static_assert(!std::is_copy_constructible_v<JCPages> && !std::is_copy_assignable_v<JCPages>);
static_assert(!std::is_copy_constructible_v<JCPagesItem> && !std::is_copy_assignable_v<JCPagesItem>);

// A grid layout of `count` items of 100 x 50, each with an (empty) widget tree.
std::string Layout(int count, const std::string& attributes) {
    std::string xml = "<pages " + attributes + ">";
    for (int i = 0; i < count; ++i) xml += R"(<item size="100 50"><GUI/><property><param key="n" value=")" +
                                           std::to_string(i) + R"("/></property></item>)";
    return xml + "</pages>";
}

// 2 x 2 per page, gaps 10 and 20, pages 1024 apart, the strip at the screen's middle.
constexpr const char* kGrid = R"(cols="2" rows="2" interval_x="10" interval_y="20" turn_type="SLIDE_HORIZONTAL" )"
                              R"(turn_offset="1024 768" pos="512 384")";
constexpr const char* kDrags = R"( slide_rect="0 0 1024 768")";

class PagesTest : public TestSupport::SpriteSceneTest {
protected:
    void Load(JCPages& target, const std::string& xml) {
        ASSERT_TRUE(document.load_string(xml.c_str()));
        target.Load(document.document_element(), nullptr);
        target.Message(MSG::LoadResources, 0.0f, 0.0f, 0.0f, nullptr);
    }
    void Load(const std::string& xml) { Load(grid, xml); }
    // Code-built items, `perPage` to a page in one row.
    std::vector<CodeItem*> AddCodeItems(int count, int perPage) {
        grid.cols = perPage;
        grid.rows = 1;
        grid.perPage = perPage;
        std::vector<CodeItem*> made;
        for (int i = 0; i < count; ++i) {
            made.push_back(new CodeItem(100, 50));
            grid.AddItem(made.back());
        }
        grid.LoadResources();
        return made;
    }
    void Settle() { TickFrames(grid, 200, 0.02f); }
    JS_TRANSFORM3 Placed(size_t index) const { return GetAbsolute(grid.items[index]->transform); }

    BotTest::FrameTimeGuard frameTime;
    ScriptedClock clock;
    pugi::xml_document document;
    Recorder recorder;
    JCPages grid;
    Pointer pointer{grid};
};

TEST_F(PagesTest, PageCountFollowsTheItemsAndThePageSizeAndShowsTheIndicator) {
    const struct {
        int items, cols, rows, pages;
    } cases[] = {{7, 3, 2, 2}, {6, 3, 2, 1}, {0, 3, 2, 0}, {5, 0, 2, 0}, {1, 1, 1, 1}};
    for (const auto& c : cases) {
        pugi::xml_document indicatorXml;
        ASSERT_TRUE(indicatorXml.load_string(R"(<PAGE_NUMBER ID="40"/>)"));
        JCGUI_PageNumber indicator(indicatorXml.document_element());
        JCPages pages;
        pages.SetPageNumberWidget(&indicator);
        Load(pages, Layout(c.items, "cols=\"" + std::to_string(c.cols) + "\" rows=\"" + std::to_string(c.rows) + "\""));
        EXPECT_EQ(pages.pageCount, c.pages) << c.items << " items, " << c.cols << " x " << c.rows;
        EXPECT_EQ(pages.slideEffect.pageCount, c.pages);
        EXPECT_EQ(indicator.record.marks.pageCount, c.pages);
        EXPECT_EQ(indicator.IsVisible(), c.pages > 1);
    }
}

TEST_F(PagesTest, ItemsAreLaidOutPageByPageOneOffsetApart) {
    const struct {
        const char* type;
        size_t index;
        float x, y;
    } cases[] = {
        {"SLIDE_HORIZONTAL", 0, -55, -35}, {"SLIDE_HORIZONTAL", 1, 55, -35},
        {"SLIDE_HORIZONTAL", 3, 55, 35},   {"SLIDE_HORIZONTAL", 4, -55 + 1024, -35},
        {"MOMENTAL", 5, 55 + 1024, -35},   {"SLIDE_VERTICAL", 4, -55, -35 + 768},
    };
    for (const auto& c : cases) {
        JCPages pages;
        Load(pages, Layout(6, std::string(R"(cols="2" rows="2" interval_x="10" interval_y="20" turn_type=")") + c.type +
                                  R"(" turn_offset="1024 768")"));
        EXPECT_EQ(pages.items[c.index]->transform.positionX, c.x) << c.type << " " << c.index;
        EXPECT_EQ(pages.items[c.index]->transform.positionY, c.y) << c.type << " " << c.index;
        EXPECT_EQ(pages.items[c.index]->transform.parent, &pages.stripTransform);
        EXPECT_EQ(pages.pageWidth, 210);
        EXPECT_EQ(pages.pageHeight, 120);
    }
}

TEST_F(PagesTest, LayoutKeysAndTheirDefaults) {
    const struct {
        const char* attributes;
        float speed, offsetX, offsetY, viewX2;
        int32_t type;
    } cases[] = {
        {R"(turn_speed="3000" turn_offset="800 600" slide_rect="1 2 3 4")", 3000, 800, 600, 3, SLIDE_TYPE::Horizontal},
        {R"(turn_type="MOMENTAL")", 1500, 1024, 768, 0, SLIDE_TYPE::Momental},
        {R"(turn_type="other" turn_speed="0")", 1500, 1024, 768, 0, SLIDE_TYPE::Momental},
        {R"(turn_speed="-5")", 1500, 1024, 768, 0, SLIDE_TYPE::Horizontal},
    };
    for (const auto& c : cases) {
        JCPages pages;
        Load(pages, Layout(1, c.attributes));
        EXPECT_EQ(pages.slideEffect.speed, c.speed) << c.attributes;
        EXPECT_EQ(pages.slideEffect.pageStepX, c.offsetX) << c.attributes;
        EXPECT_EQ(pages.slideEffect.pageStepY, c.offsetY) << c.attributes;
        EXPECT_EQ(pages.slideEffect.viewX2, c.viewX2) << c.attributes;
        EXPECT_EQ(pages.slideEffect.type, c.type) << c.attributes;
    }
}

TEST_F(PagesTest, TheDelegateMakesTheItemsAndMaySkipSome) {
    grid.delegate = &recorder;
    Load(R"(<pages cols="2" rows="1"><item size="10 10"/><skip/><!-- note --><item size="20 10"/></pages>)");
    ASSERT_EQ(grid.items.size(), 2u);
    EXPECT_EQ(grid.items[0]->Index(), 0);
    EXPECT_EQ(grid.items[1]->Index(), 1);
    EXPECT_EQ(grid.items[1]->width, 20);
}

TEST_F(PagesTest, AReleaseOverAnItemClicksItWhereverThePressBegan) {
    grid.delegate = &recorder;
    Load(Layout(4, kGrid));
    // Item 0 lies at (457, 349): its rectangle is 407..507 x 324..374, edges included.
    const struct {
        int32_t x, y, button;
        bool clicks;
    } cases[] = {
        {457, 349, VK_LBUTTON, true}, {407, 324, VK_LBUTTON, true}, {507, 374, VK_LBUTTON, true},
        {406, 349, VK_LBUTTON, false}, {457, 375, VK_LBUTTON, false}, {457, 349, VK_RBUTTON, true},
        {457, 349, VK_MBUTTON, false},
    };
    for (const auto& c : cases) {
        recorder.clicks.clear();
        pointer.Press(567, 419);  // over item 3
        EXPECT_EQ(pointer.Release(c.x, c.y, c.button), c.clicks ? 1 : 0) << c.x << "," << c.y;
        EXPECT_EQ(recorder.clicks, c.clicks ? std::vector<JCPagesItem*>{grid.items[0]} : std::vector<JCPagesItem*>{});
    }
}

TEST_F(PagesTest, AnItemWithoutAWidgetTreeIsNeverClicked) {
    grid.delegate = &recorder;
    Load(R"(<pages cols="1" rows="1" pos="512 384"><item size="100 50"/></pages>)");
    EXPECT_EQ(pointer.Release(512, 384), 0);
    EXPECT_TRUE(recorder.clicks.empty());
}

TEST_F(PagesTest, AReleaseThatEndsADragClicksNothing) {
    grid.delegate = &recorder;
    Load(Layout(8, std::string(kGrid) + kDrags));
    const struct {
        int32_t moved;
        int32_t result;
    } cases[] = {{10, 0}, {4, 0}, {3, 1}};
    for (const auto& c : cases) {
        recorder.clicks.clear();
        pointer.Press(457, 349);
        pointer.MoveTo(457 + c.moved, 349);
        EXPECT_EQ(pointer.Release(457 + c.moved, 349), c.result) << c.moved;
        EXPECT_EQ(recorder.clicks.size(), c.result == 1 ? 1u : 0u) << c.moved;
        Settle();
    }
}

TEST_F(PagesTest, OnlyTheCurrentPagesItemsGetTheMouse) {
    const std::vector<CodeItem*> items = AddCodeItems(3, 2);
    const auto counts = [&] {
        std::vector<int> seen;
        for (const CodeItem* item : items) seen.push_back(item->presses + item->moves + item->releases);
        return seen;
    };
    pointer.Press(0, 0);
    pointer.MoveTo(1, 1);
    pointer.Release(1, 1);
    EXPECT_EQ(counts(), (std::vector<int>{3, 3, 0}));
    ASSERT_TRUE(grid.NextPage());
    Settle();
    pointer.Press(0, 0);
    pointer.MoveTo(1, 1);
    pointer.Release(1, 1);
    EXPECT_EQ(counts(), (std::vector<int>{3, 3, 3}));
}

TEST_F(PagesTest, ThePageGuiHoldsTheCurrentPageOrEveryPage) {
    const std::vector<CodeItem*> items = AddCodeItems(3, 2);
    const auto draws = [&] {
        for (CodeItem* item : items) item->widget->draws = 0;
        grid.Message(MSG::Draw, 0.0f, 0.0f, 0.0f, nullptr);
        std::vector<int> seen;
        for (const CodeItem* item : items) seen.push_back(item->widget->draws);
        return seen;
    };
    EXPECT_EQ(draws(), (std::vector<int>{1, 1, 1}));
    grid.currentPageOnly = 1;
    grid.RebuildPageGui();
    EXPECT_EQ(draws(), (std::vector<int>{1, 1, 0}));
    grid.currentPage = 1;
    grid.RebuildPageGui();
    EXPECT_EQ(draws(), (std::vector<int>{0, 0, 1}));
}

TEST_F(PagesTest, NextAndPreviousStopAtTheEnds) {
    grid.delegate = &recorder;
    Load(Layout(5, kGrid));
    EXPECT_FALSE(grid.PrevPage());
    EXPECT_TRUE(grid.NextPage());
    Settle();
    EXPECT_EQ(grid.currentPage, 1);
    EXPECT_EQ(recorder.pages, std::vector<int32_t>{1});
    EXPECT_FALSE(grid.NextPage());
    EXPECT_FALSE(grid.slideEffect.IsSliding());
    EXPECT_EQ(grid.stripTransform.positionX, 512.0f - 1024.0f);
}

TEST_F(PagesTest, ADragSlidesToTheNextPage) {
    grid.delegate = &recorder;
    Load(Layout(8, std::string(kGrid) + kDrags));
    EXPECT_EQ(pointer.Drag(clock, 700, 500, 300, 0, 200), 0);
    EXPECT_EQ(recorder.slideBegins, 1);
    Settle();
    EXPECT_EQ(grid.currentPage, 1);
    EXPECT_EQ(Placed(4).positionX, 457.0f);
}

TEST_F(PagesTest, ADragOnAGridWithNoPagesDoesNothing) {
    grid.delegate = &recorder;
    Load(Layout(0, std::string(kGrid) + kDrags));
    EXPECT_EQ(pointer.Drag(clock, 700, 300, 300, 0, 100), 0);
    Settle();
    EXPECT_EQ(grid.stripTransform.positionX, 512.0f);
    EXPECT_EQ(recorder.slideBegins, 0);
    EXPECT_TRUE(recorder.pages.empty());
}

TEST_F(PagesTest, RemovingAnItemClosesTheGapAndRecountsThePages) {
    pugi::xml_document indicatorXml;
    ASSERT_TRUE(indicatorXml.load_string(R"(<PAGE_NUMBER ID="40"/>)"));
    JCGUI_PageNumber indicator(indicatorXml.document_element());
    grid.SetPageNumberWidget(&indicator);
    Load(Layout(5, kGrid));
    ASSERT_EQ(grid.pageCount, 2);
    JCPagesItem* first = grid.items[0];
    JCPagesItem* last = grid.items[4];
    EXPECT_FALSE(grid.RemoveItem(nullptr));
    ASSERT_TRUE(grid.RemoveItem(first));
    EXPECT_FALSE(grid.RemoveItem(first));
    EXPECT_EQ(first->transform.parent, nullptr);
    delete first;  // it is the caller's again
    EXPECT_EQ(grid.pageCount, 1);
    EXPECT_EQ(grid.slideEffect.pageTargets.size(), 1u);
    EXPECT_FALSE(indicator.IsVisible());
    EXPECT_EQ(last->transform.positionX, 55.0f);  // from page 1 into the freed place on page 0
    EXPECT_EQ(last->transform.positionY, 35.0f);
    EXPECT_EQ(grid.gui.rootObject->children.size(), 4u);
}

TEST_F(PagesTest, RemovingTheLastPageWhileOnItSlidesBack) {
    grid.delegate = &recorder;
    Load(Layout(5, kGrid));
    ASSERT_TRUE(grid.NextPage());
    Settle();
    ASSERT_EQ(grid.currentPage, 1);
    JCPagesItem* onPageOne = grid.items[4];
    ASSERT_TRUE(grid.RemoveItem(onPageOne));
    delete onPageOne;
    Settle();
    EXPECT_EQ(grid.currentPage, 0);
    EXPECT_EQ(grid.stripTransform.positionX, 512.0f);
}

TEST_F(PagesTest, BorrowedItemsOutliveTheGridThatShowedThem) {
    auto kept = std::make_unique<CodeItem>(100, 50);
    auto pages = std::make_unique<JCPages>();
    pages->BorrowItem(kept.get());
    pages->AddItem(new CodeItem(100, 50));
    pages->cols = pages->rows = pages->perPage = 1;
    pages->UpdatePageCount();
    EXPECT_FALSE(pages->Owns(kept.get()));
    EXPECT_TRUE(pages->Owns(pages->items[1]));
    EXPECT_EQ(pages->gui.rootObject->children.size(), 2u);
    EXPECT_EQ(kept->transform.parent, &pages->stripTransform);
    pages.reset();
    EXPECT_EQ(kept->transform.parent, nullptr);
    ASSERT_EQ(kept->gui->rootObject->children.size(), 1u);
    EXPECT_EQ(kept->gui->rootObject->children[0], kept->widget);
}

TEST_F(PagesTest, ItemsKeepTheirPropertiesAndShowOrHideTheirWidgets) {
    Load(Layout(2, kGrid));
    const JSProperty* n = grid.items[1]->GetProperty("n");
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->intValue, 1);
    EXPECT_EQ(grid.items[1]->GetProperty("absent"), nullptr);
    EXPECT_EQ(grid.items[0]->gui->rootObject->transform->parent, &grid.items[0]->transform);

    CodeItem item(10, 10);
    item.SetChildVisible(7, false);
    EXPECT_FALSE(item.widget->IsVisible());
    item.SetChildVisible(99, true);  // absent: nothing
    EXPECT_FALSE(item.widget->IsVisible());
}

// Buttons 20 x 20 at (400, 700) and (600, 700); a grid of two pages.
class PagesIndicatorTest : public PagesTest {
protected:
    void SetUp() override {
        PagesTest::SetUp();
        PutImage("marks.png", 32, 16);
        PutImage("strip.png", 100, 20);
        ASSERT_EQ(manager.LoadMain(), 1);
        ASSERT_TRUE(indicatorXml.load_string(R"(<PAGE_NUMBER ID="40" FILE="marks.png"><BUTTONS>
            <BUTTON ID="41" TEXTURE="strip.png"><TRANSFORM>-100 0 0 0 0 0 0 0 0 1 1 1</TRANSFORM></BUTTON>
            <BUTTON ID="42" TEXTURE="strip.png"><TRANSFORM>100 0 0 0 0 0 0 0 0 1 1 1</TRANSFORM></BUTTON>
            </BUTTONS></PAGE_NUMBER>)"));
        indicator = std::make_unique<JCGUI_PageNumber>(indicatorXml.document_element());
        indicator->SetPosition(500, 700, 0);
        indicator->RestoreResources();
        grid.delegate = &recorder;
        Load(Layout(5, kGrid));
        grid.SetPageNumberWidget(indicator.get());
    }
    void TearDown() override {
        indicator->ReleaseResources();
        indicator.reset();
        PagesTest::TearDown();
    }
    void ClickAt(int32_t x, int32_t y) {
        GuiTest::ScriptedInput& input = pointer.input;
        input.Clear();
        input.MoveTo(x, y);
        indicator->DispatchMouseMove();
        input.Press();
        indicator->DispatchMouseDown();
        input.Clear();
        input.Release();
        indicator->DispatchMouseUp();
    }

    pugi::xml_document indicatorXml;
    std::unique_ptr<JCGUI_PageNumber> indicator;
};

TEST_F(PagesIndicatorTest, AClickOnNextTurnsThePage) {
    ClickAt(600, 700);
    Settle();
    EXPECT_EQ(grid.currentPage, 1);
    EXPECT_EQ(recorder.pages, std::vector<int32_t>{1});
    EXPECT_EQ(indicator->record.marks.currentPage, 1);
}

TEST_F(PagesIndicatorTest, QuickClicksLeaveOneSlideAndAConsistentPage) {
    ClickAt(600, 700);
    TickFrames(grid, 10, 0.02f);
    ClickAt(400, 700);
    EXPECT_EQ(grid.slideEffect.bots.Count(), 1u);
    Settle();
    EXPECT_EQ(grid.currentPage, 0);
    EXPECT_EQ(grid.stripTransform.positionX, 512.0f);
    EXPECT_EQ(recorder.pages, std::vector<int32_t>{0});
    EXPECT_EQ(indicator->record.marks.currentPage, 0);
}

TEST_F(PagesIndicatorTest, WithPagingDisabledTheIndicatorMovesNothing) {
    grid.pagingEnabled = 0;
    ClickAt(600, 700);
    Settle();
    EXPECT_EQ(grid.currentPage, 0);
    EXPECT_TRUE(recorder.pages.empty());
}

TEST_F(PagesTest, LoadsItsLayoutFromAResource) {
    Put("pages.xml", Layout(3, kGrid));
    ASSERT_EQ(manager.LoadMain(), 1);
    grid.LoadFromFile("pages.xml");
    EXPECT_EQ(grid.items.size(), 3u);
    EXPECT_EQ(grid.pageCount, 1);
}

using PagesDeathTest = PagesTest;

TEST_F(PagesDeathTest, AMissingLayoutEndsTheProgramNamingIt) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Put("other.xml", "<pages/>");
    ASSERT_EQ(manager.LoadMain(), 1);
    EXPECT_EXIT(grid.LoadFromFile("missing_pages.xml"), ::testing::ExitedWithCode(kLoadErrorExitCode),
                "missing_pages\\.xml");
}

}  // namespace
}  // namespace QRV
