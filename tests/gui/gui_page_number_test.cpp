#include "engine/gui/gui_page_number.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <memory>
#include <string>
#include <vector>

#include "engine/graphics/sprite.h"
#include "engine/gui/gui_button5.h"
#include "tests/graphics/sprite_test_support.h"
#include "tests/gui/gui_test_support.h"

namespace QRV {
namespace {

using GuiTest::ScriptedInput;

// Marks 16 x 16 (a 32 x 16 texture); buttons 20 x 20 (a 100 x 20 strip) 100 px either side.
constexpr const char* kLayout = R"(<PAGE_NUMBER ID="40" FILE="marks.png">
    <BUTTONS>
      <BUTTON ID="41" TEXTURE="strip.png"><TRANSFORM>-100 0 0 0 0 0 0 0 0 1 1 1</TRANSFORM></BUTTON>
      <BUTTON ID="42" TEXTURE="strip.png"><TRANSFORM>100 0 0 0 0 0 0 0 0 1 1 1</TRANSFORM></BUTTON>
    </BUTTONS>
  </PAGE_NUMBER>)";

class PageNumberTest : public TestSupport::SpriteSceneTest {
protected:
    void SetUp() override {
        SpriteSceneTest::SetUp();
        PutImage("marks.png", 32, 16);
        PutImage("strip.png", 100, 20);
        ASSERT_EQ(manager.LoadMain(), 1);
    }

    std::unique_ptr<JCGUI_PageNumber> Make(const char* xml = kLayout) {
        pugi::xml_document document;
        EXPECT_TRUE(document.load_string(xml));
        auto page = std::make_unique<JCGUI_PageNumber>(document.document_element());
        page->SetPosition(500, 300, 0);
        page->RestoreResources();
        return page;
    }

    // A whole click at a point: move there, press, release (one frame each).
    JS_GUI_EVENT* ClickAt(JCGUI_PageNumber& page, int32_t x, int32_t y) {
        input.Clear();
        input.MoveTo(x, y);
        page.DispatchMouseMove();
        input.Press();
        page.DispatchMouseDown();
        input.Clear();
        input.Release();
        return page.DispatchMouseUp();
    }

    static void Count(uintptr_t argument) { ++*reinterpret_cast<int*>(argument); }

    ScriptedInput input;
};

TEST_F(PageNumberTest, MarksAreCentredNearThePositionWithTheCurrentOneDistinct) {
    auto page = Make();
    page->record.previousButton->SetVisible(false);
    page->record.nextButton->SetVisible(false);
    const struct {
        int32_t count, current;
        size_t quads;
        float firstLeft;
    } cases[] = {
        {4, 2, 4, 468},  // two spacings left of the position
        {3, 0, 3, 484},  // an odd count is not centred
        {1, 0, 0, 0},
        {0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        page->record.marks.pageCount = c.count;
        page->record.marks.currentPage = c.current;
        const std::vector<JS_VERTEX> drawn = DrawnVertices([&] { page->Draw(); });
        ASSERT_EQ(drawn.size(), c.quads * 4) << c.count;
        for (size_t q = 0; q < c.quads; ++q) {
            const JS_VERTEX* v = &drawn[q * 4];
            EXPECT_FLOAT_EQ(v[0].x, c.firstLeft + 16.0f * static_cast<float>(q)) << c.count;
            EXPECT_FLOAT_EQ(v[0].y, 292);
            EXPECT_FLOAT_EQ(v[2].x - v[0].x, 16);
            const bool current = static_cast<int32_t>(q) == c.current;
            EXPECT_FLOAT_EQ(v[0].u, current ? 0.0f : 0.5f) << c.count << " mark " << q;
            EXPECT_FLOAT_EQ(v[2].u, current ? 0.5f : 1.0f) << c.count << " mark " << q;
        }
    }
}

TEST_F(PageNumberTest, ButtonsStepThePageAndStopAtTheEnds) {
    auto page = Make();
    int calls = 0;
    page->record.pageChanged = &Count;
    page->record.pageChangedArgument = reinterpret_cast<uintptr_t>(&calls);
    page->record.marks.pageCount = 3;
    page->record.marks.currentPage = 1;
    page->UpdateButtons();
    JC_GUI_BUTTON5* previous = page->record.previousButton;
    JC_GUI_BUTTON5* next = page->record.nextButton;
    ASSERT_NE(previous, nullptr);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(previous->GetId(), 41);
    EXPECT_EQ(next->GetId(), 42);
    EXPECT_EQ(previous->GetState(), 0);
    EXPECT_EQ(next->GetState(), 0);

    const struct {
        int32_t x;  // 400: previous, 600: next
        bool answered;
        int32_t page, calls, previousState, nextState;
    } steps[] = {
        {400, true, 0, 1, 4, 0},                             // to the first page: previous leads nowhere now
        {400, false, 0, 1, 4, 0},                            // a click on it does nothing
        {600, true, 1, 2, 0, 1},                             // the pointer still rests on next: hovered
        {600, true, 2, 3, 0, 4},                             // the last page
        {600, false, 2, 3, 0, 4}, {500, false, 2, 3, 0, 4},  // between the buttons
    };
    for (const auto& s : steps) {
        JS_GUI_EVENT* record = ClickAt(*page, s.x, 300);
        EXPECT_EQ(record != nullptr, s.answered) << s.x << " to " << s.page;
        if (record != nullptr) {
            EXPECT_EQ(record, &page->event);
        }
        EXPECT_EQ(page->record.marks.currentPage, s.page);
        EXPECT_EQ(calls, s.calls);
        EXPECT_EQ(previous->GetState(), s.previousState) << s.page;
        EXPECT_EQ(next->GetState(), s.nextState) << s.page;
    }
}

// With no pages both buttons lead nowhere; hidden, the indicator takes no clicks at all.
TEST_F(PageNumberTest, AnEmptyOrHiddenIndicatorIsInert) {
    const struct {
        const char* what;
        int32_t pages, current;
        bool hidden;
    } cases[] = {{"no pages", 0, 0, false}, {"hidden, no pages", 0, 0, true}, {"hidden, three pages", 3, 1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto page = Make();
        int calls = 0;
        page->record.pageChanged = &Count;
        page->record.pageChangedArgument = reinterpret_cast<uintptr_t>(&calls);
        page->record.marks.pageCount = c.pages;
        page->record.marks.currentPage = c.current;
        page->UpdateButtons();
        if (c.hidden) page->SetVisible(false);
        if (c.pages == 0) {
            EXPECT_EQ(page->record.nextButton->GetState(), 4);
            EXPECT_EQ(page->record.previousButton->GetState(), 4);
        }
        for (const int32_t x : {400, 600}) EXPECT_EQ(ClickAt(*page, x, 300), nullptr) << x;
        EXPECT_EQ(page->record.marks.currentPage, c.current);
        EXPECT_EQ(calls, 0);
    }
}

TEST_F(PageNumberTest, AClickOutsideTheRangeAnnouncesNothing) {
    auto page = Make();
    int calls = 0;
    page->record.pageChanged = &Count;
    page->record.pageChangedArgument = reinterpret_cast<uintptr_t>(&calls);
    page->record.marks.pageCount = 2;
    page->record.marks.currentPage = 0;
    // The owner never called UpdateButtons: previous is still clickable on the first page.
    EXPECT_NE(ClickAt(*page, 400, 300), nullptr);
    EXPECT_EQ(page->record.marks.currentPage, 0);
    EXPECT_EQ(calls, 0);
}

TEST_F(PageNumberTest, MissingButtonsAreSkippedEverywhere) {
    const char* layouts[] = {
        R"(<PAGE_NUMBER ID="1"><FILE>marks.png</FILE></PAGE_NUMBER>)",
        R"(<PAGE_NUMBER ID="1" FILE="marks.png"><BUTTONS/></PAGE_NUMBER>)",
        R"(<PAGE_NUMBER ID="1" FILE="marks.png"><BUTTONS><B ID="7" TEXTURE="strip.png"/></BUTTONS></PAGE_NUMBER>)",
    };
    for (const char* xml : layouts) {
        auto page = Make(xml);
        EXPECT_EQ(page->record.nextButton, nullptr) << xml;
        page->record.marks.pageCount = 2;
        page->UpdateButtons();
        // A lone previous button sits on the widget, leading nowhere from the first page.
        EXPECT_EQ(ClickAt(*page, 500, 300), nullptr) << xml;
        if (page->record.previousButton != nullptr) {
            EXPECT_EQ(page->record.previousButton->GetState(), 4);
        }
        page->DispatchUpdate();
        page->SetAlphaTree(0.5f);
        // The marks alone still show: the child "FILE" names their texture too.
        EXPECT_EQ(DrawnVertices([&] { page->Draw(); }).size() / 4,
                  2u + (page->record.previousButton != nullptr ? 1u : 0u))
            << xml;
        page->ReleaseResources();
    }
}

TEST_F(PageNumberTest, DrawPaginationIsReadOnlyWhenGiven) {
    const struct {
        const char* attribute;
        uint8_t drawMarks;
    } cases[] = {
        {"", 1}, {R"(DRAW_PAGINATION="false")", 0}, {R"(DRAW_PAGINATION="Yes")", 1}, {R"(DRAW_PAGINATION="0")", 0}};
    for (const auto& c : cases) {
        const std::string xml = std::string("<PAGE_NUMBER FILE=\"marks.png\" ") + c.attribute + "/>";
        auto page = Make(xml.c_str());
        EXPECT_EQ(page->record.drawMarks, c.drawMarks) << c.attribute;
        page->record.marks.pageCount = 3;
        EXPECT_EQ(DrawnVertices([&] { page->Draw(); }).size(), c.drawMarks != 0 ? 12u : 0u) << c.attribute;
    }
}

TEST_F(PageNumberTest, ButtonsFollowTheWidgetAndShareItsAlphaAndResources) {
    auto page = Make();
    JS_RESOURCE* strip = Record("strip.png");
    JS_RESOURCE* marks = Record("marks.png");
    EXPECT_EQ(strip->refCount, 2);
    EXPECT_EQ(marks->refCount, 1);
    page->SetAlphaTree(0.5f);
    EXPECT_FLOAT_EQ(page->record.nextButton->alpha, 0.5f);
    page->SetPosition(100, 100, 0);
    page->record.marks.pageCount = 1;
    const std::vector<JS_VERTEX> drawn = DrawnVertices([&] { page->Draw(); });
    ASSERT_EQ(drawn.size(), 8u);
    EXPECT_FLOAT_EQ(drawn[0].x, -10);  // previous: centred 100 px left of the widget
    EXPECT_FLOAT_EQ(drawn[4].x, 190);
    EXPECT_EQ(drawn[0].color >> 24, 0x80u);
    page->ReleaseResources();
    EXPECT_EQ(strip->refCount, 0);
    EXPECT_EQ(marks->refCount, 0);
}

}  // namespace
}  // namespace QRV
