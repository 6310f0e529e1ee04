#include "engine/bots/actor_lerp.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/bots/bot_test_support.h"

namespace {

using namespace QRV;
using BotTest::Tick;

template <class T>
struct Sink {
    std::vector<T> values;
    static void Take(void* self, const T& value) { static_cast<Sink*>(self)->values.push_back(value); }
};

// (from, to, delay, object, function, time): the delay is waited out, values in between go to
// the function, the last tick hands it `to` exactly and calls the completion once.
TEST(ActorLerp, FloatArgumentOrderValuesAndEnd) {
    BotTest::FrameTimeGuard guard;
    Sink<float> sink;
    BotTest::Counter counter;
    JCBot_LerpTick<float> lerp(2.0f, 10.0f, 0.5f, &sink, &Sink<float>::Take, 1.0f);
    lerp.completion = Closure<void()>(&counter, &BotTest::Counter::Bump);
    EXPECT_EQ(Tick(lerp, 0.25f), 0);
    EXPECT_EQ(Tick(lerp, 0.25f), 0);  // the delay runs out: starts, nothing sent
    EXPECT_TRUE(sink.values.empty());
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Tick(lerp, 0.25f), 0);
    EXPECT_EQ(Tick(lerp, 0.25f), MSG_RESULT::Finished);
    EXPECT_EQ(sink.values, (std::vector<float>{4.0f, 6.0f, 8.0f, 10.0f}));
    EXPECT_EQ(counter.calls, 1);
}

// 45 hands over `to` and calls the completion at once, and only once, however it goes on.
TEST(ActorLerp, FinishNowSendsTheEndOnce) {
    BotTest::FrameTimeGuard guard;
    Sink<float> sink;
    BotTest::Counter counter;
    JCBot_LerpTick<float> lerp(0.0f, 1.0f, 0.0f, &sink, &Sink<float>::Take, 1.0f);
    lerp.completion = Closure<void()>(&counter, &BotTest::Counter::Bump);
    Tick(lerp, 0.1f);
    Tick(lerp, 0.1f);
    BotTest::FinishNow(lerp);
    BotTest::FinishNow(lerp);
    EXPECT_EQ(Tick(lerp, 0.1f), MSG_RESULT::Finished);
    EXPECT_EQ(sink.values.back(), 1.0f);
    EXPECT_EQ(sink.values.size(), 2u);
    EXPECT_EQ(counter.calls, 1);

    // Stopped while still waiting for its delay: the same single end.
    Sink<float> waitingSink;
    JCBot_LerpTick<float> waiting(0.0f, 1.0f, 5.0f, &waitingSink, &Sink<float>::Take, 1.0f);
    Tick(waiting, 0.1f);
    BotTest::FinishNow(waiting);
    EXPECT_EQ(Tick(waiting, 0.1f), MSG_RESULT::Finished);
    EXPECT_EQ(waitingSink.values, std::vector<float>{1.0f});
}

TEST(ActorLerp, ZeroTimeGoesStraightToTheEnd) {
    BotTest::FrameTimeGuard guard;
    Sink<float> sink;
    JCBot_LerpTick<float> lerp(3.0f, 7.0f, 0.0f, &sink, &Sink<float>::Take, 0.0f);
    Tick(lerp, 0.0f);
    EXPECT_EQ(Tick(lerp, 0.0f), MSG_RESULT::Finished);
    EXPECT_EQ(sink.values, std::vector<float>{7.0f});
}

TEST(ActorLerp, VectorAndColourComponentsMoveTogether) {
    BotTest::FrameTimeGuard guard;
    Sink<JS_VECTOR2> points;
    JCBot_LerpT<JS_VECTOR2> vector({0, 10}, {20, -10}, 0.0f, &points, &Sink<JS_VECTOR2>::Take, 1.0f);
    Tick(vector, 0.25f);
    Tick(vector, 0.25f);
    ASSERT_EQ(points.values.size(), 1u);
    EXPECT_FLOAT_EQ(points.values[0].x, 5.0f);
    EXPECT_FLOAT_EQ(points.values[0].y, 5.0f);

    Sink<JS_COLORf> colours;
    JCBot_LerpTick<JS_COLORf> colour({1, 0, 0, 1}, {0, 1, 0.5f, 0}, 0.0f, &colours, &Sink<JS_COLORf>::Take, 2.0f);
    Tick(colour, 0.5f);
    Tick(colour, 0.5f);
    ASSERT_EQ(colours.values.size(), 1u);
    EXPECT_FLOAT_EQ(colours.values[0].r, 0.75f);
    EXPECT_FLOAT_EQ(colours.values[0].g, 0.25f);
    EXPECT_FLOAT_EQ(colours.values[0].b, 0.125f);
    EXPECT_FLOAT_EQ(colours.values[0].a, 0.75f);
}

}  // namespace
