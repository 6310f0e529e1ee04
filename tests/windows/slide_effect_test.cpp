#include "engine/windows/slide_effect.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/bots/bot_test_support.h"
#include "tests/windows/pages_test_support.h"

namespace QRV {
namespace {

using PagesTest::Pointer;
using PagesTest::TickFrames;

// Three pages 1024 px apart; drags start anywhere on the screen; slow drags turn the page when
// released left of x 256 or right of x 768.
class SlideEffectTest : public ::testing::Test {
protected:
    void SetUp() override {
        effect.strip = &strip;
        effect.delegate = &recorder;
        effect.pageCount = 3;
        effect.viewX1 = effect.viewY1 = 0.0f;
        effect.viewX2 = 1024.0f;
        effect.viewY2 = 768.0f;
        effect.LayoutPages();
        effect.UpdateDragLimits();
    }
    void RestOn(int32_t page) {
        effect.currentPage = effect.targetPage = page;
        strip.positionX = -1024.0f * static_cast<float>(page);
    }
    void Settle() { TickFrames(effect, 200, 0.02f); }

    BotTest::FrameTimeGuard frameTime;
    PagesTest::ScriptedClock clock;
    JS_TRANSFORM3 strip;
    PagesTest::Recorder recorder;
    JCSlideEffect effect;
    Pointer pointer{effect};
};

TEST_F(SlideEffectTest, ReleaseChoosesThePageByDistanceTimeAndWhereItEnds) {
    const struct {
        const char* what;
        int32_t startPage, fromX, toX;
        uint32_t startMs, endMs;
        int32_t page, result;
    } cases[] = {
        {"flick left", 0, 600, 450, 1000, 1200, 1, RESULT::Stop},
        {"flick left on the last page", 2, 600, 450, 1000, 1200, 2, RESULT::Stop},
        {"flick right", 1, 400, 550, 1000, 1500, 0, RESULT::Stop},
        {"flick right on the first page", 0, 400, 550, 1000, 1500, 0, RESULT::Stop},
        {"slow drag released inside the limits", 0, 600, 450, 1000, 1800, 0, RESULT::Stop},
        {"slow drag released left of them", 0, 400, 250, 1000, 1800, 1, RESULT::Stop},
        {"slow drag released right of them", 1, 620, 770, 1000, 1800, 0, RESULT::Stop},
        {"slow drag across the clock's wrap", 0, 600, 450, 0xFFFFFF00u, 0x300u, 0, RESULT::Stop},
        {"quick drag short of a turn", 0, 600, 501, 1000, 1100, 0, RESULT::Stop},
        {"drag of 4 px", 1, 600, 604, 1000, 1100, 1, RESULT::Stop},
        {"drag of 3 px", 1, 600, 597, 1000, 1100, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RestOn(c.startPage);
        recorder.pages.clear();
        EXPECT_EQ(pointer.Drag(clock, c.fromX, c.toX, 300, c.startMs, c.endMs), c.result);
        Settle();
        EXPECT_EQ(effect.currentPage, c.page);
        EXPECT_EQ(strip.positionX, -1024.0f * static_cast<float>(c.page));
        EXPECT_EQ(recorder.pages, std::vector<int32_t>{c.page});
    }
}

TEST_F(SlideEffectTest, OnlyAPressStrictlyInsideTheViewOfAnEnabledSlidingStripStartsADrag) {
    effect.viewX1 = 100.0f;
    effect.viewY1 = 100.0f;
    effect.viewX2 = 300.0f;
    effect.viewY2 = 200.0f;
    const struct {
        int32_t x, y;
        uint8_t enabled;
        int32_t type;
        bool drags;
    } cases[] = {{200, 150, 1, SLIDE_TYPE::Horizontal, true},  {100, 150, 1, SLIDE_TYPE::Horizontal, false},
                 {300, 150, 1, SLIDE_TYPE::Horizontal, false}, {200, 100, 1, SLIDE_TYPE::Horizontal, false},
                 {200, 200, 1, SLIDE_TYPE::Horizontal, false}, {200, 150, 0, SLIDE_TYPE::Horizontal, false},
                 {200, 150, 1, SLIDE_TYPE::Momental, false}};
    for (const auto& c : cases) {
        recorder.slideBegins = 0;
        effect.enabled = c.enabled;
        effect.type = c.type;
        pointer.Press(c.x, c.y);
        EXPECT_EQ(effect.IsDragging(), c.drags) << c.x << "," << c.y;
        EXPECT_EQ(recorder.slideBegins, c.drags ? 1 : 0) << c.x << "," << c.y;
        pointer.Release(c.x, c.y);
    }
}

TEST_F(SlideEffectTest, ASlideTakesItsDistanceOverTheSpeedAndAMomentalOneNoTime) {
    const struct {
        int32_t type, ticksShort;
    } cases[] = {{SLIDE_TYPE::Horizontal, 136}, {SLIDE_TYPE::Momental, 0}};  // 2048 / 1500 s = 1.365 s
    for (const auto& c : cases) {
        RestOn(0);
        recorder.pages.clear();
        effect.type = c.type;
        ASSERT_TRUE(effect.SlideToPage(2));
        TickFrames(effect, c.ticksShort, 0.01f);
        EXPECT_TRUE(recorder.pages.empty()) << c.type;
        TickFrames(effect, 2, 0.01f);
        EXPECT_EQ(recorder.pages, std::vector<int32_t>{2}) << c.type;
        EXPECT_EQ(strip.positionX, -2048.0f) << c.type;
    }
}

// Next, then back before the first slide has ended.
TEST_F(SlideEffectTest, ANewSlideReplacesTheRunningOne) {
    ASSERT_TRUE(effect.SlideToPage(1));
    TickFrames(effect, 10, 0.02f);
    ASSERT_TRUE(effect.SlideToPage(0));
    Settle();
    EXPECT_EQ(effect.currentPage, 0);
    EXPECT_EQ(strip.positionX, 0.0f);
    EXPECT_EQ(recorder.pages, std::vector<int32_t>{0});
}

TEST_F(SlideEffectTest, ADragWithNoPagesOrNoStripDoesNothing) {
    effect.pageCount = 0;
    effect.LayoutPages();
    EXPECT_EQ(pointer.Drag(clock, 600, 300, 300, 0, 100), 0);
    Settle();
    EXPECT_EQ(strip.positionX, 0.0f);
    EXPECT_EQ(recorder.slideBegins, 0);
    EXPECT_TRUE(recorder.pages.empty());

    JCSlideEffect bare;
    Pointer barePointer{bare};
    bare.LayoutPages();
    EXPECT_TRUE(bare.pageTargets.empty());
    EXPECT_FALSE(bare.SlideToPage(0));
    EXPECT_EQ(barePointer.Drag(clock, 500, 300, 300, 0, 100), 0);
}

TEST_F(SlideEffectTest, TargetsKeepPageZerosPlaceWhileTheStripShowsAnotherPage) {
    RestOn(1);
    strip.positionX -= 30.0f;  // mid-drag
    effect.pageCount = 4;
    effect.LayoutPages();
    ASSERT_EQ(effect.pageTargets.size(), 4u);
    EXPECT_EQ(effect.pageTargets[3].positionX, -3072.0f);
    strip.positionX = 100.0f;
    effect.LayoutPagesFromStrip();
    EXPECT_EQ(effect.pageTargets[1].positionX, -924.0f);
}

}  // namespace
}  // namespace QRV
