#include "engine/bots/actor_animation.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/graphics/animation.h"
#include "tests/bots/bot_test_support.h"

namespace {

using namespace QRV;
using BotTest::Tick;

// A 4 x 1 sheet of four frames, stepping every update (10 fps at 0.2 s).
void MakeStrip(G_ANIMATION& animation, bool forward, bool loop) {
    animation.SetGrid(4, 1);
    animation.frameCount = 4;
    animation.fps = 10.0f;
    animation.direction = forward ? 1 : 0;
    animation.loop = loop ? 1 : 0;
    animation.startDelay = 3.0f;  // the bot starts it without delay
}

int ShownFrame(const G_ANIMATION& animation) { return static_cast<int>(animation.vertices[0].u * 4.0f + 0.5f); }

std::vector<int> Play(G_ANIMATION& animation, JCBot_Animation& bot, int& ticks) {
    std::vector<int> shown;
    ticks = 0;
    EXPECT_EQ(Tick(bot, 0.2f), 0);  // starts
    shown.push_back(ShownFrame(animation));
    while (ticks < 20) {
        ++ticks;
        const int32_t result = Tick(bot, 0.2f);
        shown.push_back(ShownFrame(animation));
        if (result == MSG_RESULT::Finished) break;
    }
    return shown;
}

TEST(ActorAnimation, ForwardPlaysZeroToLastAndFinishes) {
    BotTest::FrameTimeGuard guard;
    G_ANIMATION animation;
    MakeStrip(animation, true, false);
    JCBot_Animation bot(&animation, 0.0f);
    int ticks = 0;
    const std::vector<int> shown = Play(animation, bot, ticks);
    EXPECT_EQ(shown, (std::vector<int>{0, 0, 1, 2, 3}));
    EXPECT_EQ(animation.playing, 0);
}

// Backwards from the last frame, stepping -1, and it ends.
TEST(ActorAnimation, ReversePlaysLastToZeroAndFinishes) {
    BotTest::FrameTimeGuard guard;
    G_ANIMATION animation;
    MakeStrip(animation, false, false);
    JCBot_Animation bot(&animation, 0.0f);
    int ticks = 0;
    const std::vector<int> shown = Play(animation, bot, ticks);
    EXPECT_EQ(shown, (std::vector<int>{3, 3, 2, 1, 0}));
    EXPECT_EQ(animation.step, -1);
    EXPECT_EQ(animation.playing, 0);
}

// Looping backwards keeps going the right way round.
TEST(ActorAnimation, ReverseLoopWrapsToTheLastFrame) {
    BotTest::FrameTimeGuard guard;
    G_ANIMATION animation;
    MakeStrip(animation, false, true);
    JCBot_Animation bot(&animation, 0.5f);
    EXPECT_EQ(Tick(bot, 0.3f), 0);
    EXPECT_EQ(animation.playing, 0);  // still waiting for its delay
    std::vector<int> shown;
    for (int i = 0; i < 7; ++i) {
        ASSERT_EQ(Tick(bot, 0.2f), 0);
        shown.push_back(ShownFrame(animation));
    }
    EXPECT_EQ(shown, (std::vector<int>{3, 3, 2, 1, 0, 3, 2}));
}

}  // namespace
