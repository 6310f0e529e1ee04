#include "engine/bots/tween_color.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/graphics/sprite.h"
#include "tests/bots/bot_test_support.h"

namespace {

using namespace QRV;
using BotTest::Tick;

uint32_t Alpha(uint32_t argb) { return argb >> 24; }

// 255 -> 0 over 1 s at 0.25 s: truncation gives 255, 191, 127, 63, then exactly 0 on the fifth
// tick, which finishes; every vertex of the quad follows.
TEST(TweenColor, SpriteFadeTruncatesAndEndsExactly) {
    BotTest::FrameTimeGuard guard;
    G_SPRITE sprite;
    SetMeshColor(&sprite, 0xFF102030);
    JC_BOT_COLOR fade(&sprite, 0x00102030, 0.0f, 1.0f);
    BotTest::Counter counter;
    counter.Attach(fade);

    for (uint32_t expected : {255u, 191u, 127u, 63u}) {
        EXPECT_EQ(Tick(fade, 0.25f), 0);
        for (uint32_t v = 0; v < sprite.vertexCount; ++v) {
            EXPECT_EQ(Alpha(sprite.vertices[v].color), expected) << v;
            EXPECT_EQ(sprite.vertices[v].color & 0xFFFFFFu, 0x102030u);
        }
    }
    EXPECT_EQ(counter.calls, 0);
    EXPECT_EQ(Tick(fade, 0.25f), MSG_RESULT::Finished);
    EXPECT_EQ(sprite.vertices[3].color, 0x00102030u);
    EXPECT_EQ(counter.calls, 1);
}

TEST(TweenColor, SameColourStillRunsItsDurationAndCallsBackOnce) {
    BotTest::FrameTimeGuard guard;
    uint32_t word = 0x80FF0000;
    JC_BOT_COLOR_JS tween(&word, 0x80FF0000, 0.0f, 0.5f);
    BotTest::Counter counter;
    counter.Attach(tween);
    int ticks = 0;
    while (Tick(tween, 0.125f) == 0 && ticks < 100) ++ticks;
    EXPECT_EQ(ticks, 4);
    EXPECT_EQ(word, 0x80FF0000u);
    EXPECT_EQ(counter.calls, 1);
}

// Each channel runs on its own, rising and falling, with its own sign.
TEST(TweenColor, WordChannelsMoveIndependently) {
    BotTest::FrameTimeGuard guard;
    uint32_t word = 0x00FF8000;
    JC_BOT_COLOR_JS tween(&word, 0xFF0080FF, 0.0f, 1.0f);
    Tick(tween, 0.5f);
    EXPECT_EQ(word, 0x00FF8000u);  // the first tick writes the start
    Tick(tween, 0.5f);
    // a 0 -> 255: 127.5; r 255 -> 0: 127.5; g 128 -> 128; b 0 -> 255: 127.5
    EXPECT_EQ(word, 0x7F7F807Fu);
    EXPECT_EQ(Tick(tween, 0.5f), MSG_RESULT::Finished);
    EXPECT_EQ(word, 0xFF0080FFu);
}

// The constructor takes (…, delay, duration), Create takes (…, duration, delay). The start
// colour is the one the target has when the delay ends.
TEST(TweenColor, ConstructorAndCreateArgumentOrders) {
    BotTest::FrameTimeGuard guard;
    G_SPRITE sprite;
    SetMeshColor(&sprite, 0xFFFFFFFF);
    std::unique_ptr<JC_BOT_COLOR> made(JC_BOT_COLOR::Create(&sprite, 0x00FFFFFF, 2.0f, 0.5f));
    ASSERT_NE(made, nullptr);
    EXPECT_FLOAT_EQ(made->duration, 2.0f);
    EXPECT_FLOAT_EQ(made->delay, 0.5f);

    JC_BOT_COLOR built(&sprite, 0x00FFFFFF, 0.5f, 2.0f);
    EXPECT_FLOAT_EQ(built.delay, 0.5f);
    EXPECT_FLOAT_EQ(built.duration, 2.0f);

    SetMeshColor(&sprite, 0x80FFFFFF);  // changed during the delay
    EXPECT_EQ(Tick(built, 0.25f), 0);
    EXPECT_EQ(Tick(built, 0.25f), 0);
    EXPECT_EQ(sprite.vertices[0].color, 0x80FFFFFFu);
    EXPECT_EQ(built.startColor, 0x80FFFFFFu);
    EXPECT_EQ(Tick(built, 1.0f), 0);
    EXPECT_EQ(Tick(built, 1.0f), 0);
    EXPECT_EQ(Alpha(sprite.vertices[0].color), 64u);
}

TEST(TweenColor, FinishNowAndZeroDurationWriteTheTarget) {
    BotTest::FrameTimeGuard guard;
    uint32_t word = 0xFFFFFFFF;
    JC_BOT_COLOR_JS stopped(&word, 0x11223344, 0.0f, 1.0f);
    Tick(stopped, 0.3f);
    BotTest::Counter counter;
    counter.Attach(stopped);
    EXPECT_EQ(BotTest::FinishNow(stopped), 0);
    EXPECT_EQ(word, 0x11223344u);
    EXPECT_EQ(counter.calls, 1);

    uint32_t other = 0;
    JC_BOT_COLOR_JS instant(&other, 0xABCDEF01, 0.0f, 0.0f);
    EXPECT_EQ(Tick(instant, 0.0f), MSG_RESULT::Finished);
    EXPECT_EQ(other, 0xABCDEF01u);
}

}  // namespace
