#include "engine/bots/actor_blob.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tests/bots/bot_test_support.h"

namespace {

using namespace QRV;
using BotTest::Tick;

constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;

// (target, frequency, decay, start scale, rest scale, delay, duration, amplitude): distinct
// values so that a mix-up of any two shows.
TEST(ActorBlob, ConstructorOrderAndStartScale) {
    JS_TRANSFORM3 target;
    target.scaleZ = 5.0f;
    JCBot_Blob blob(&target, 2.0f, 0.5f, 0.25f, 1.5f, 0.75f, 3.0f, 0.125f);
    EXPECT_EQ(blob.name, "JCBot_Blob");
    EXPECT_EQ(blob.frequency, 2.0f);
    EXPECT_EQ(blob.decay, 0.5f);
    EXPECT_EQ(blob.startScale, 0.25f);
    EXPECT_EQ(blob.restScale, 1.5f);
    EXPECT_EQ(blob.delay, 0.75f);
    EXPECT_EQ(blob.duration, 3.0f);
    EXPECT_EQ(blob.amplitude, 0.125f);
    EXPECT_EQ(blob.loop, 0);
    EXPECT_EQ(target.scaleX, 0.25f);
    EXPECT_EQ(target.scaleY, 0.25f);
    EXPECT_EQ(target.scaleZ, 1.0f);
}

// Equal start and rest scales (the finish window's stars) ring from the first tick; after the
// duration the bot calls back once and finishes; z stays 1 and nothing is NaN.
TEST(ActorBlob, EqualScalesRingFromTheFirstTickAndFinish) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    BotTest::Counter counter;
    JCBot_Blob blob(&target, 2.0f, 1.0f, 1.0f, 1.0f, 0.0f, 1.0f, 0.5f);
    blob.completion = Closure<void()>(&counter, &BotTest::Counter::Bump);
    EXPECT_EQ(Tick(blob, 0.125f), 0);  // starts
    EXPECT_EQ(Tick(blob, 0.125f), 0);  // r = 0
    EXPECT_FLOAT_EQ(target.scaleX, 1.0f);
    EXPECT_EQ(blob.phase, 1);
    EXPECT_EQ(Tick(blob, 0.125f), 0);  // r = 0.125
    const float r = 0.125f;
    EXPECT_NEAR(target.scaleX, 0.5f * std::sin(kTwoPi * 2.0f * r) / std::exp(kTwoPi * 1.0f * r) + 1.0f, 1e-5);
    EXPECT_EQ(target.scaleY, target.scaleX);

    int ticks = 3;
    while (Tick(blob, 0.125f) == 0 && ticks < 100) {
        ++ticks;
        ASSERT_TRUE(BotTest::Finite(target.scaleX));
        ASSERT_EQ(target.scaleZ, 1.0f);
    }
    EXPECT_EQ(ticks, 10);  // ticks at r = 0 .. 1, then the one past the duration
    EXPECT_EQ(counter.calls, 1);
}

// Growing: start + (rest - start) r frequency until the rest scale is reached, then ringing.
TEST(ActorBlob, GrowsToTheRestScaleThenRings) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    JCBot_Blob blob(&target, 4.0f, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.25f);
    Tick(blob, 0.125f);  // starts
    Tick(blob, 0.125f);  // r = 0
    EXPECT_FLOAT_EQ(target.scaleX, 0.0f);
    Tick(blob, 0.125f);  // r = 0.125: 0.5
    EXPECT_FLOAT_EQ(target.scaleX, 0.5f);
    EXPECT_EQ(blob.phase, 0);
    Tick(blob, 0.125f);  // r = 0.25: reaches 1, rings: 0.25 sin(2 pi) + 1
    EXPECT_EQ(blob.phase, 1);
    EXPECT_NEAR(target.scaleX, 1.0f, 1e-5);
    Tick(blob, 0.125f);  // r = 0.375: 0.25 sin(3 pi) + 1
    EXPECT_NEAR(target.scaleX, 1.0f, 1e-5);
}

TEST(ActorBlob, StopGoesToRestWithZOneAndZeroDurationFinishesAtOnce) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    JCBot_Blob blob(&target, 1.0f, 0.0f, 0.5f, 2.0f, 0.0f, 10.0f, 1.0f);
    Tick(blob, 0.1f);
    Tick(blob, 0.1f);
    BotTest::FinishNow(blob);
    EXPECT_EQ(target.scaleX, 2.0f);
    EXPECT_EQ(target.scaleZ, 1.0f);
    EXPECT_EQ(blob.elapsed, blob.duration);

    JS_TRANSFORM3 other;
    JCBot_Blob instant(&other, 1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(Tick(instant, 0.0f), 0);
    EXPECT_EQ(Tick(instant, 0.0f), MSG_RESULT::Finished);
    EXPECT_TRUE(BotTest::Finite(other.scaleX));
}

// A looping blob starts over after its duration and does not stop on 45.
TEST(ActorBlob, LoopRestartsAndIgnoresStop) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    JCBot_Blob blob(&target, 1.0f, 0.0f, 0.5f, 1.0f, 0.0f, 0.25f, 0.1f);
    blob.loop = 1;
    for (int i = 0; i < 40; ++i) ASSERT_EQ(Tick(blob, 0.125f), 0) << i;
    BotTest::FinishNow(blob);
    EXPECT_EQ(Tick(blob, 0.125f), 0);
}

// A strongly negative decay would divide by almost 0; the pulse stays finite.
TEST(ActorBlob, NegativeDecayStaysFinite) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    JCBot_Blob blob(&target, 3.0f, -50.0f, 1.0f, 1.0f, 0.0f, 1.0f, 1.0f);
    while (Tick(blob, 0.05f) == 0) {
        ASSERT_TRUE(BotTest::Finite(target.scaleX));
        ASSERT_LT(std::abs(target.scaleX), 1001.0f + 1.0f);
    }
}

}  // namespace
