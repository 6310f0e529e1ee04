#include "engine/bots/actor_move.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/bots/bot_test_support.h"

namespace {

using namespace QRV;
using BotTest::Tick;

// At begin right after construction; with time 0.5 at 0.25 s it reaches the end and finishes
// on the tick where elapsed reaches 0.5; z is left alone.
TEST(ActorMove, StartsAtBeginAndFinishesOnTheTickThatReachesTheEnd) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    target.positionZ = 9.0f;
    BotTest::Counter counter;
    JCBot_Move move(&target, {10, 20, 1}, {30, 60, 2}, 0.5f, 0.0f);
    move.completion = Closure<void()>(&counter, &BotTest::Counter::Bump);
    EXPECT_EQ(target.positionX, 10.0f);
    EXPECT_EQ(target.positionY, 20.0f);
    EXPECT_EQ(target.positionZ, 9.0f);

    EXPECT_EQ(Tick(move, 0.25f), 0);  // starts
    EXPECT_EQ(Tick(move, 0.25f), 0);
    EXPECT_FLOAT_EQ(target.positionX, 20.0f);
    EXPECT_FLOAT_EQ(target.positionY, 40.0f);
    EXPECT_EQ(Tick(move, 0.25f), MSG_RESULT::Finished);
    EXPECT_EQ(target.positionX, 30.0f);
    EXPECT_EQ(target.positionY, 60.0f);
    EXPECT_EQ(target.positionZ, 9.0f);
    EXPECT_EQ(counter.calls, 1);
}

TEST(ActorMove, StopMakesTheNextTickLandOnTheEnd) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    JCBot_Move move(&target, {0, 0, 0}, {100, 50, 0}, 10.0f, 0.0f);
    Tick(move, 0.1f);
    Tick(move, 0.1f);
    EXPECT_EQ(BotTest::FinishNow(move), 0);
    EXPECT_EQ(Tick(move, 0.1f), MSG_RESULT::Finished);
    EXPECT_EQ(target.positionX, 100.0f);
    EXPECT_EQ(target.positionY, 50.0f);
}

TEST(ActorMove, ZeroTimeLandsOnTheEndWithoutNaN) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    JCBot_Move move(&target, {1, 2, 0}, {3, 4, 0}, 0.0f, 0.0f);
    Tick(move, 0.0f);
    EXPECT_EQ(Tick(move, 0.0f), MSG_RESULT::Finished);
    EXPECT_EQ(target.positionX, 3.0f);
    EXPECT_EQ(target.positionY, 4.0f);
}

// (delay, begin, end, time, delay step, target) at 1/16 s per tick: the first leg starts when
// the 0.25 s delay runs out (tick 4) and moves from tick 5 to tick 12; each later leg rests at
// its end until its own 0.25 s delay has run (the arrival tick counts), so it moves again four
// ticks after the arrival. One owner callback per leg.
TEST(ActorMoveLoop, AlternatesPausesAtEachEndAndReportsEachLeg) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    BotTest::Counter legs;
    JCBot_MoveLoop loop(0.25f, {0, 0, 0}, {10, 0, 0}, 0.5f, 0.25f, &target);
    loop.completion = Closure<void()>(&legs, &BotTest::Counter::Bump);

    struct Expect {
        int tick;
        float x;
        int legs;
    };
    const std::vector<Expect> expected = {
        {3, 0.0f, 0},   {4, 0.0f, 0},   {5, 1.25f, 0}, {8, 5.0f, 0},  {11, 8.75f, 0}, {12, 10.0f, 1}, {13, 10.0f, 1},
        {15, 10.0f, 1}, {16, 8.75f, 1}, {23, 0.0f, 2}, {26, 0.0f, 2}, {27, 1.25f, 2}, {34, 10.0f, 3},
    };
    size_t next = 0;
    for (int tick = 1; tick <= 34; ++tick) {
        ASSERT_EQ(Tick(loop, 0.0625f), 0) << tick;
        if (next < expected.size() && expected[next].tick == tick) {
            EXPECT_FLOAT_EQ(target.positionX, expected[next].x) << "tick " << tick;
            EXPECT_EQ(legs.calls, expected[next].legs) << "tick " << tick;
            ++next;
        }
    }
    EXPECT_EQ(next, expected.size());

    // 45 drops the running leg: the next tick finishes.
    EXPECT_EQ(BotTest::FinishNow(loop), 0);
    EXPECT_EQ(Tick(loop, 0.0625f), MSG_RESULT::Finished);
    EXPECT_EQ(legs.calls, 3);
}

TEST(ActorMoveLoop, FinishNowWhileWaitingFinishes) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    JCBot_MoveLoop loop(1.0f, {0, 0, 0}, {10, 0, 0}, 0.5f, 0.2f, &target);
    Tick(loop, 0.1f);
    BotTest::FinishNow(loop);
    EXPECT_EQ(Tick(loop, 0.1f), MSG_RESULT::Finished);
}

}  // namespace
