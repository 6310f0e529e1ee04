#include "engine/bots/tween_sleep.h"

#include <gtest/gtest.h>

#include "tests/bots/bot_test_support.h"

namespace {

using namespace QRV;
using BotTest::Tick;

// 2 s at 60 frames a second: the callback comes on the first tick where the time left reaches
// 0 or below, and only then.
TEST(TweenSleep, CallsBackOnTheTickWhereTheTimeRunsOut) {
    BotTest::FrameTimeGuard guard;
    BotTest::Counter counter;
    const JS_CALLBACK record = counter.Record();
    JC_BOT_SLEEP sleep(&record, 2.0f, 99.0f);
    const float dt = 1.0f / 60.0f;
    float left = 2.0f;
    int ticks = 0;
    for (;;) {
        ++ticks;
        left -= dt;
        const int32_t result = Tick(sleep, dt);
        if (left > 0.0f) {
            ASSERT_EQ(result, 0) << ticks;
            ASSERT_EQ(counter.calls, 0);
        } else {
            EXPECT_EQ(result, MSG_RESULT::Finished);
            break;
        }
    }
    EXPECT_NEAR(ticks, 120, 1);
    EXPECT_EQ(counter.calls, 1);
    EXPECT_EQ(sleep.time, 0.0f);
}

TEST(TweenSleep, ZeroTimeFinishesOnTheFirstTickAndNullRecordIsFine) {
    BotTest::FrameTimeGuard guard;
    JC_BOT_SLEEP sleep(nullptr, 0.0f);
    EXPECT_EQ(sleep.completion.fn, nullptr);
    EXPECT_EQ(Tick(sleep, 0.0f), MSG_RESULT::Finished);
}

}  // namespace
