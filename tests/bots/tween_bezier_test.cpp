#include "engine/bots/tween_bezier.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/bots/bot_test_support.h"

namespace {

using namespace QRV;
using BotTest::Tick;

float Cubic(float p0, float p1, float p2, float p3, float t) {
    const float u = 1.0f - t;
    return u * u * u * p0 + 3 * t * u * u * p1 + 3 * t * t * u * p2 + t * t * t * p3;
}

// The two control points are used in the order given: swapping them changes the middle of the
// curve, so this also catches an argument mix-up.
TEST(TweenBezier, CubicFollowsTheCurveAndEndsWithinOneStep) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    target.positionX = 10.0f;
    JC_BOT_MOVE_CUBEBEZIER move(&target, {10, 100, 0}, {50, 0, 0}, {110, 0, 0}, 1.0f, 0.0f, 0.0f);
    BotTest::Counter counter;
    counter.Attach(move);

    EXPECT_EQ(Tick(move, 0.25f), 0);
    EXPECT_NEAR(target.positionX, Cubic(10, 10, 50, 110, 0.25f), 1e-4);
    EXPECT_NEAR(target.positionY, Cubic(0, 100, 0, 0, 0.25f), 1e-4);
    EXPECT_EQ(Tick(move, 0.25f), 0);
    EXPECT_NEAR(target.positionY, Cubic(0, 100, 0, 0, 0.5f), 1e-4);

    int ticks = 2;
    const float step = 1.0f / 60.0f;
    while (Tick(move, step) == 0 && ticks < 1000) ++ticks;
    EXPECT_EQ(counter.calls, 1);
    EXPECT_NEAR(target.positionX, 110.0f, 3.0f * (110.0f - 50.0f) * step + 0.1f);  // one step at t = 1
    EXPECT_NEAR(target.positionY, 0.0f, 1.0f);
    EXPECT_FLOAT_EQ(move.speed, 100.0f);  // only the duration was given: chord / duration
}

TEST(TweenBezier, QuadraticEndsExactlyOnItsEndPoint) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    target.positionX = 3.0f;
    target.positionY = 4.0f;
    JC_BOT_MOVE_QUADBEZIER move(&target, {50, -80, 0}, {100, 20, 5}, 0.7f, 0.0f, 0.0f);
    int ticks = 0;
    while (Tick(move, 1.0f / 60.0f) == 0 && ticks < 1000) ++ticks;
    EXPECT_NEAR(ticks, 42, 1);
    EXPECT_NEAR(target.positionX, 100.0f, 1e-3);
    EXPECT_NEAR(target.positionY, 20.0f, 1e-3);
    EXPECT_NEAR(target.positionZ, 5.0f, 1e-4);
}

// (…, duration, speed, delay): a delay waits without moving and the start is taken when it
// ends; only a speed gives duration = chord / speed; neither gives 1 second.
TEST(TweenBezier, ArgumentOrderAndDurationOrSpeed) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    JC_BOT_MOVE_QUADBEZIER delayed(&target, {0, 0, 0}, {30, 40, 0}, 0.0f, 25.0f, 0.5f);
    target.positionX = 0.0f;
    EXPECT_EQ(Tick(delayed, 0.25f), 0);
    EXPECT_EQ(Tick(delayed, 0.25f), 0);
    EXPECT_EQ(target.positionX, 0.0f);
    EXPECT_FLOAT_EQ(delayed.duration, 2.0f);
    EXPECT_FLOAT_EQ(delayed.remaining, 2.0f);

    JC_BOT_MOVE_CUBEBEZIER neither(&target, {}, {}, {6, 8, 0}, 0.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(neither.duration, 1.0f);
    EXPECT_FLOAT_EQ(neither.speed, 10.0f);

    JC_BOT_MOVE_CUBEBEZIER both(&target, {}, {}, {6, 8, 0}, 3.0f, 7.0f, 0.0f);
    EXPECT_FLOAT_EQ(both.duration, 3.0f);
    EXPECT_FLOAT_EQ(both.speed, 7.0f);
}

// Steps are added, so a transform moved by something else keeps that movement.
TEST(TweenBezier, StepsAddToOtherMovementAndFinishNowDoesNotSnap) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    JC_BOT_MOVE_QUADBEZIER move(&target, {50, 0, 0}, {100, 0, 0}, 1.0f, 0.0f, 0.0f);
    Tick(move, 0.5f);
    const float half = target.positionX;
    EXPECT_NEAR(half, 50.0f, 1e-4);
    target.positionY += 7.0f;
    BotTest::Counter counter;
    counter.Attach(move);
    EXPECT_EQ(BotTest::FinishNow(move), 0);
    EXPECT_EQ(counter.calls, 1);
    EXPECT_EQ(target.positionX, half);
    EXPECT_EQ(target.positionY, 7.0f);
}

TEST(TweenBezier, SpeedOverNoDistanceFinishesAtOnce) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    JC_BOT_MOVE_CUBEBEZIER move(&target, {5, 5, 0}, {9, 9, 0}, {0, 0, 0}, 0.0f, 10.0f, 0.0f);
    EXPECT_EQ(Tick(move, 0.0f), MSG_RESULT::Finished);
    EXPECT_TRUE(BotTest::Finite(target.positionX));
}

}  // namespace
