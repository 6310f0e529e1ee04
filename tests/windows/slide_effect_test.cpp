#include "engine/windows/slide_effect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/bots/bot_test_support.h"
#include "tests/windows/pages_test_support.h"

namespace QRV {
namespace {

using PagesTest::Pointer;
using PagesTest::Recorder;
using PagesTest::ScriptedClock;
using PagesTest::TickFrames;

// Three pages 1024 px apart; drags start anywhere on the screen, the slow-drag release zone is
// x 256..768.
class SlideEffectTest : public ::testing::Test {
protected:
    void SetUp() override {
        effect.strip = &strip;
        effect.delegate = &recorder;
        effect.pageCount = 3;
        effect.viewX1 = 0.0f;
        effect.viewY1 = 0.0f;
        effect.viewX2 = 1024.0f;
        effect.viewY2 = 768.0f;
        effect.LayoutPages();
        effect.UpdateDragLimits();
    }
    // Puts the strip at rest on a page.
    void RestOn(int32_t page) {
        effect.currentPage = effect.targetPage = page;
        strip.positionX = -1024.0f * static_cast<float>(page);
    }
    // Runs the slide out (four seconds is enough for any distance here).
    void Settle() { TickFrames(effect, 200, 0.02f); }

    BotTest::FrameTimeGuard frameTime;
    ScriptedClock clock;
    JS_TRANSFORM3 strip;
    Recorder recorder;
    JCSlideEffect effect;
    Pointer pointer{effect};
};

TEST_F(SlideEffectTest, ReleaseChoosesThePageByDistanceTimeAndWhereItEnds) {
    const struct {
        const char* what;
        int32_t startPage, fromX, toX;
        uint32_t ms;
        int32_t page, result;
    } cases[] = {
        {"flick left", 0, 600, 450, 200, 1, RESULT::Stop},
        {"flick left on the last page", 2, 600, 450, 200, 2, RESULT::Stop},
        {"flick right", 1, 400, 550, 500, 0, RESULT::Stop},
        {"flick right on the first page", 0, 400, 550, 500, 0, RESULT::Stop},
        {"slow drag released inside the limits", 0, 600, 450, 800, 0, RESULT::Stop},
        {"slow drag released left of them", 0, 400, 250, 800, 1, RESULT::Stop},
        {"slow drag released right of them", 1, 620, 770, 800, 0, RESULT::Stop},
        {"quick drag short of a turn", 0, 600, 501, 100, 0, RESULT::Stop},
        {"drag of 4 px", 1, 600, 604, 100, 1, RESULT::Stop},
        {"drag of 3 px", 1, 600, 597, 100, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RestOn(c.startPage);
        recorder.pages.clear();
        EXPECT_EQ(pointer.Drag(clock, c.fromX, c.toX, 300, 10000, 10000 + c.ms), c.result);
        Settle();
        EXPECT_EQ(effect.currentPage, c.page);
        EXPECT_EQ(strip.positionX, -1024.0f * static_cast<float>(c.page));
        EXPECT_EQ(recorder.pages, std::vector<int32_t>{c.page});
    }
}

// A slow drag across the millisecond counter's wrap is still slow (released inside the limits:
// back to the current page).
TEST_F(SlideEffectTest, DragTimeSurvivesTheClockWrapping) {
    RestOn(0);
    EXPECT_EQ(pointer.Drag(clock, 600, 450, 300, 0xFFFFFF00u, 0x00000300u), RESULT::Stop);
    Settle();
    EXPECT_EQ(effect.currentPage, 0);
}

TEST_F(SlideEffectTest, OnlyAPressStrictlyInsideTheViewStartsADrag) {
    effect.viewX1 = 100.0f;
    effect.viewY1 = 100.0f;
    effect.viewX2 = 300.0f;
    effect.viewY2 = 200.0f;
    const struct {
        int32_t x, y;
        bool drags;
    } cases[] = {{200, 150, true}, {100, 150, false}, {300, 150, false}, {200, 100, false},
                 {200, 200, false}, {50, 150, false}};
    for (const auto& c : cases) {
        recorder.slideBegins = 0;
        pointer.Press(c.x, c.y);
        EXPECT_EQ(effect.IsDragging(), c.drags) << c.x << "," << c.y;
        EXPECT_EQ(recorder.slideBegins, c.drags ? 1 : 0) << c.x << "," << c.y;
        pointer.Release(c.x, c.y);
    }
}

TEST_F(SlideEffectTest, NoDragsWhenDisabledOrMomental) {
    effect.enabled = 0;
    pointer.Press(500, 300);
    EXPECT_FALSE(effect.IsDragging());
    effect.enabled = 1;
    effect.type = SLIDE_TYPE::Momental;
    pointer.Press(500, 300);
    EXPECT_FALSE(effect.IsDragging());
    EXPECT_EQ(recorder.slideBegins, 0);
}

TEST_F(SlideEffectTest, AHorizontalDragMovesTheStripAlongXOnly) {
    pointer.Press(500, 300);
    pointer.MoveTo(470, 350);
    pointer.MoveTo(460, 380);
    EXPECT_EQ(strip.positionX, -40.0f);
    EXPECT_EQ(strip.positionY, 0.0f);
}

TEST_F(SlideEffectTest, ASlideTakesItsDistanceOverTheSpeed) {
    // 2048 px at 1500 px/s: 1.365 s.
    ASSERT_TRUE(effect.SlideToPage(2));
    TickFrames(effect, 136, 0.01f);
    EXPECT_TRUE(recorder.pages.empty());
    EXPECT_GT(strip.positionX, -2048.0f);
    TickFrames(effect, 2, 0.01f);
    EXPECT_EQ(recorder.pages, std::vector<int32_t>{2});
    EXPECT_EQ(strip.positionX, -2048.0f);
    EXPECT_FALSE(effect.IsSliding());
}

TEST_F(SlideEffectTest, AMomentalSlideEndsOnTheNextTick) {
    effect.type = SLIDE_TYPE::Momental;
    ASSERT_TRUE(effect.SlideToPage(2));
    TickFrames(effect, 1, 0.001f);
    EXPECT_EQ(recorder.pages, std::vector<int32_t>{2});
    EXPECT_EQ(strip.positionX, -2048.0f);
}

TEST_F(SlideEffectTest, SlidesToPagesThatDoNotExistAreRefused) {
    EXPECT_FALSE(effect.SlideToPage(-1));
    EXPECT_FALSE(effect.SlideToPage(3));
    EXPECT_FALSE(effect.IsSliding());
}

// Next then back before the first slide ends: the strip and the current page end on the same page,
// and the page change is heard once.
TEST_F(SlideEffectTest, ANewSlideReplacesTheRunningOne) {
    ASSERT_TRUE(effect.SlideToPage(1));
    TickFrames(effect, 10, 0.02f);
    ASSERT_TRUE(effect.SlideToPage(0));
    Settle();
    EXPECT_EQ(effect.currentPage, 0);
    EXPECT_EQ(strip.positionX, 0.0f);
    EXPECT_EQ(recorder.pages, std::vector<int32_t>{0});
}

TEST_F(SlideEffectTest, ADragWithNoPagesDoesNothing) {
    effect.pageCount = 0;
    effect.LayoutPages();
    EXPECT_EQ(pointer.Drag(clock, 600, 300, 300, 0, 100), 0);
    Settle();
    EXPECT_EQ(strip.positionX, 0.0f);
    EXPECT_EQ(recorder.slideBegins, 0);
    EXPECT_TRUE(recorder.pages.empty());
}

TEST_F(SlideEffectTest, WithoutAStripNothingMovesAndNothingBreaks) {
    JCSlideEffect bare;
    Pointer bareInput{bare};
    bare.viewX1 = 0.0f;
    bare.viewX2 = 1024.0f;
    bare.LayoutPages();
    EXPECT_TRUE(bare.pageTargets.empty());
    EXPECT_FALSE(bare.SlideToPage(0));
    EXPECT_EQ(bareInput.Drag(clock, 500, 300, 300, 0, 100), 0);
}

TEST_F(SlideEffectTest, TargetsKeepPageZerosPlaceWhileTheStripShowsAnotherPage) {
    RestOn(1);
    strip.positionX -= 30.0f;  // mid-drag
    effect.pageCount = 4;
    effect.LayoutPages();
    ASSERT_EQ(effect.pageTargets.size(), 4u);
    EXPECT_EQ(effect.pageTargets[0].positionX, 0.0f);
    EXPECT_EQ(effect.pageTargets[3].positionX, -3072.0f);
    strip.positionX = 100.0f;
    effect.LayoutPagesFromStrip();
    EXPECT_EQ(effect.pageTargets[1].positionX, -924.0f);
}

TEST(SlideEffectNames, TypesParseExactlyAndOtherTextIsMomental) {
    EXPECT_EQ(ParseSlideType("SLIDE_HORIZONTAL"), SLIDE_TYPE::Horizontal);
    EXPECT_EQ(ParseSlideType("SLIDE_VERTICAL"), SLIDE_TYPE::Vertical);
    EXPECT_EQ(ParseSlideType("MOMENTAL"), SLIDE_TYPE::Momental);
    EXPECT_EQ(ParseSlideType("slide_horizontal"), SLIDE_TYPE::Momental);
    EXPECT_EQ(ParseSlideType(""), SLIDE_TYPE::Momental);
}

}  // namespace
}  // namespace QRV
