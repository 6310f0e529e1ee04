#include "engine/bots/tween_transform.h"

#include <gtest/gtest.h>

#include <array>

#include "tests/bots/bot_test_support.h"

namespace {

using namespace QRV;
using BotTest::Tick;

std::array<float, 12> Fields(const JS_TRANSFORM3& t) {
    return {t.pivotX, t.pivotY, t.pivotZ, t.rotationX, t.rotationY, t.rotationZ,
            t.scaleX, t.scaleY, t.scaleZ, t.positionX, t.positionY, t.positionZ};
}

JS_TRANSFORM3 EndTransform() {
    JS_TRANSFORM3 end;
    end.pivotX = 4;
    end.pivotY = 8;
    end.pivotZ = 12;
    end.rotationX = 0.4f;
    end.rotationY = 0.8f;
    end.rotationZ = 1.2f;
    end.scaleX = 3;
    end.scaleY = 5;
    end.scaleZ = 9;
    end.positionX = 40;
    end.positionY = 80;
    end.positionZ = 120;
    return end;
}

struct StartCount {
    int calls = 0;
    JS_TRANSFORM3* target = nullptr;
    float xAtStart = 0.0f;
};

// After the delay the start callback runs with the start taken; all twelve floats then move
// linearly; the finishing tick writes the end exactly and calls the end callback once.
TEST(TweenTransform, DelayStartCallbackInterpolationAndEnd) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 parent;
    JS_TRANSFORM3 target;
    target.parent = &parent;
    JC_BOT_TRANSFORM tween(&target, EndTransform(), 0.5f, 1.0f);

    StartCount started;
    tween.startCallback.argument = reinterpret_cast<uintptr_t>(&started);
    tween.startCallback.fn = [](uintptr_t a) {
        ++reinterpret_cast<StartCount*>(a)->calls;
        return 0;
    };
    BotTest::Counter ended;
    ended.Attach(tween);

    target.positionX = 20.0f;  // moved during the delay: the start is taken when it ends
    EXPECT_EQ(Tick(tween, 0.25f), 0);
    EXPECT_EQ(started.calls, 0);
    EXPECT_EQ(Tick(tween, 0.25f), 0);
    EXPECT_EQ(started.calls, 1);
    EXPECT_EQ(tween.start.positionX, 20.0f);

    EXPECT_EQ(Tick(tween, 0.5f), 0);
    const std::array<float, 12> half = Fields(target);
    const std::array<float, 12> from = Fields(JS_TRANSFORM3{});
    const std::array<float, 12> to = Fields(EndTransform());
    for (size_t i = 0; i < 12; ++i) {
        const float start = i == 9 ? 20.0f : from[i];
        EXPECT_FLOAT_EQ(half[i], start + (to[i] - start) * 0.5f) << i;
    }
    EXPECT_EQ(Tick(tween, 0.5f), 0);  // elapsed == duration: still running, at the end values
    EXPECT_EQ(ended.calls, 0);
    EXPECT_EQ(Tick(tween, 0.01f), MSG_RESULT::Finished);
    EXPECT_EQ(Fields(target), to);
    EXPECT_EQ(target.parent, &parent);
    EXPECT_EQ(ended.calls, 1);
    EXPECT_EQ(started.calls, 1);
}

TEST(TweenTransform, FinishNowWritesEveryEndValueOnceAndKeepsTheParent) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 parent;
    JS_TRANSFORM3 target;
    target.parent = &parent;
    JC_BOT_TRANSFORM tween(&target, EndTransform(), 0.0f, 2.0f);
    Tick(tween, 0.3f);
    BotTest::Counter ended;
    ended.Attach(tween);
    EXPECT_EQ(BotTest::FinishNow(tween), 0);
    EXPECT_EQ(Fields(target), Fields(EndTransform()));
    EXPECT_EQ(target.parent, &parent);
    EXPECT_EQ(ended.calls, 1);
    EXPECT_EQ(tween.target, nullptr);

    target.positionX = -3.0f;
    EXPECT_EQ(Tick(tween, 0.3f), MSG_RESULT::Finished);
    EXPECT_EQ(target.positionX, -3.0f);
    EXPECT_EQ(ended.calls, 1);
}

// A zero duration (the slide effect's momentary type) lands on the end on the first tick even
// when that tick takes no time, instead of writing 0 / 0.
TEST(TweenTransform, ZeroDurationLandsOnTheEndWithoutNaN) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 target;
    JC_BOT_TRANSFORM tween(&target, EndTransform(), 0.0f, 0.0f);
    EXPECT_EQ(Tick(tween, 0.0f), MSG_RESULT::Finished);
    EXPECT_EQ(Fields(target), Fields(EndTransform()));
}

// The end is taken in its absolute form.
TEST(TweenTransform, EndIsTakenAbsolute) {
    BotTest::FrameTimeGuard guard;
    JS_TRANSFORM3 endParent;
    endParent.positionX = 100.0f;
    endParent.scaleX = 2.0f;
    JS_TRANSFORM3 end;
    end.positionX = 10.0f;
    end.parent = &endParent;
    JS_TRANSFORM3 target;
    JC_BOT_TRANSFORM tween(&target, end, 0.0f, 1.0f);
    BotTest::FinishNow(tween);
    EXPECT_FLOAT_EQ(target.positionX, 120.0f);
    EXPECT_FLOAT_EQ(target.scaleX, 2.0f);
    EXPECT_EQ(target.parent, nullptr);
}

// The end callback belongs to a target: a tween made without one never calls it, whether it runs
// out or is told to finish, and still ends when its time is up.
TEST(TweenTransform, NoTargetNoEndCallback) {
    BotTest::FrameTimeGuard guard;
    for (const bool finishNow : {false, true}) {
        SCOPED_TRACE(finishNow ? "message 45" : "ticks");
        JC_BOT_TRANSFORM tween(nullptr, EndTransform(), 0.0f, 1.0f);
        BotTest::Counter ended;
        ended.Attach(tween);
        if (finishNow) {
            EXPECT_EQ(BotTest::FinishNow(tween), 0);
        }
        EXPECT_EQ(Tick(tween, 0.6f), 0);
        EXPECT_EQ(Tick(tween, 0.6f), MSG_RESULT::Finished);
        EXPECT_EQ(ended.calls, 0);
    }
}

}  // namespace
