#include "engine/bots/tween_move.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/bots/bot_test_support.h"

namespace {

using namespace QRV;
using BotTest::Tick;

// Delay 0.5 and duration 1 at 0.25 s: two still ticks (the start is taken on the second), then
// 0, 25, 50, 75, 100, then the finishing tick.
TEST(TweenMove, WaitsTakesTheStartWhenTheDelayEndsThenMovesLinearly) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    target.positionX = -40.0f;
    JC_BOT_MOVE move(&target, 100.0f, 0.0f, 10.0f, 0.5f, 1.0f, 0.0f);
    BotTest::Counter counter;
    counter.Attach(move);

    target.positionX = 0.0f;  // moved after construction: the start is not taken yet
    EXPECT_EQ(Tick(move, 0.25f), 0);
    EXPECT_EQ(target.positionX, 0.0f);
    target.positionZ = 2.0f;
    EXPECT_EQ(Tick(move, 0.25f), 0);
    EXPECT_EQ(target.positionX, 0.0f);

    const std::vector<float> xs = {0, 25, 50, 75, 100};
    for (float x : xs) {
        EXPECT_EQ(Tick(move, 0.25f), 0);
        EXPECT_FLOAT_EQ(target.positionX, x);
    }
    EXPECT_FLOAT_EQ(target.positionZ, 10.0f);
    EXPECT_EQ(counter.calls, 0);

    target.positionX = 7.0f;
    EXPECT_EQ(Tick(move, 0.25f), MSG_RESULT::Finished);
    EXPECT_EQ(target.positionX, 100.0f);
    EXPECT_EQ(counter.calls, 1);
    EXPECT_EQ(move.target, nullptr);
}

TEST(TweenMove, DurationZeroWithoutSpeedTakesOneSecond) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    JC_BOT_MOVE move(&target, 8.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    int ticks = 0;
    while (Tick(move, 0.25f) == 0 && ticks < 100) ++ticks;
    EXPECT_EQ(ticks, 5);  // 0, 0.25, 0.5, 0.75, 1.0 then the finish
    EXPECT_EQ(target.positionX, 8.0f);
}

TEST(TweenMove, SpeedGivesTheDurationFromTheDistanceAtStart) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    JC_BOT_MOVE move(&target, 30.0f, 40.0f, 0.0f, 0.5f, 0.0f, 25.0f);
    target.positionX = 0.0f;
    Tick(move, 0.5f);  // delay over: the distance is 50, so 2 seconds
    EXPECT_FLOAT_EQ(move.duration, 2.0f);
    Tick(move, 1.0f);
    Tick(move, 1.0f);
    EXPECT_FLOAT_EQ(target.positionX, 15.0f);
}

TEST(TweenMove, SpeedOverNoDistanceFinishesOnTheFirstTickWithoutNaN) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    target.positionX = 5.0f;
    JC_BOT_MOVE move(&target, 5.0f, 0.0f, 0.0f, 0.0f, 0.0f, 10.0f);
    BotTest::Counter counter;
    counter.Attach(move);
    EXPECT_EQ(Tick(move, 0.0f), MSG_RESULT::Finished);
    EXPECT_EQ(target.positionX, 5.0f);
    EXPECT_TRUE(BotTest::Finite(target.positionY));
    EXPECT_EQ(counter.calls, 1);
}

TEST(TweenMove, FinishNowWritesTheEndAndLetsGoOfTheTarget) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    JC_BOT_MOVE move(&target, 1.0f, 2.0f, 3.0f, 0.0f, 1.0f, 0.0f);
    Tick(move, 0.25f);
    BotTest::Counter counter;
    counter.Attach(move);
    EXPECT_EQ(BotTest::FinishNow(move), 0);
    EXPECT_EQ(target.positionX, 1.0f);
    EXPECT_EQ(target.positionY, 2.0f);
    EXPECT_EQ(target.positionZ, 3.0f);
    EXPECT_EQ(counter.calls, 1);
    target.positionX = -1.0f;
    EXPECT_EQ(Tick(move, 0.25f), MSG_RESULT::Finished);
    EXPECT_EQ(target.positionX, -1.0f);
    EXPECT_EQ(counter.calls, 1);
}

// Adds displacement * dt / time per tick; stops once the remaining time goes below 0, with no
// final step; z never moves; the trailing z and delay arguments change nothing.
TEST(TweenMoveOn, AddsItsShareEachTickAndStopsWithoutAFinalStep) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    target.positionX = 10.0f;
    JC_BOT_MOVE_ON move(&target, 100.0f, -40.0f, 1.0f, 0.0f, 55.0f, 3.0f);
    EXPECT_FLOAT_EQ(move.speed, 107.70329f);
    BotTest::Counter counter;
    counter.Attach(move);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(Tick(move, 0.25f), 0) << i;
        EXPECT_FLOAT_EQ(target.positionX, 10.0f + 25.0f * static_cast<float>(i));
        EXPECT_FLOAT_EQ(target.positionY, -10.0f * static_cast<float>(i));
    }
    target.positionX += 1.0f;                            // another move of the same transform adds up
    EXPECT_EQ(Tick(move, 0.25f), MSG_RESULT::Finished);  // remaining -0.25
    EXPECT_FLOAT_EQ(target.positionX, 111.0f);
    EXPECT_EQ(target.positionZ, 0.0f);
    EXPECT_EQ(counter.calls, 1);
}

TEST(TweenMoveOn, TimeFromSpeedAndZeroDistanceDoesNotDivideByZero) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    JC_BOT_MOVE_ON fromSpeed(&target, 30.0f, 40.0f, 0.0f, 10.0f);
    EXPECT_FLOAT_EQ(fromSpeed.totalTime, 5.0f);
    JC_BOT_MOVE_ON noTime(&target, 3.0f, 4.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(noTime.totalTime, 1.0f);

    JC_BOT_MOVE_ON nowhere(&target, 0.0f, 0.0f, 0.0f, 10.0f);
    EXPECT_EQ(Tick(nowhere, 0.0f), MSG_RESULT::Finished);
    EXPECT_TRUE(BotTest::Finite(target.positionX));
    EXPECT_TRUE(BotTest::Finite(target.positionY));
}

}  // namespace
