#include "engine/bots/actor_bot.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/bots/actor_tick.h"
#include "engine/bots/bot_timer.h"
#include "engine/bots/owned_vectors.h"
#include "tests/bots/bot_test_support.h"

namespace {

using namespace QRV;
using BotTest::Tick;

// Logs its hooks and finishes when told.
class LoggingBot : public JCBot {
public:
    explicit LoggingBot(float delay) : JCBot(delay) {}
    void OnStart() override { log.push_back("start"); }
    int32_t OnTick(float dt) override {
        log.push_back("tick " + std::to_string(dt));
        return finishOnTick ? MSG_RESULT::Finished : MSG_RESULT::GoOn;
    }
    void OnStop() override { log.push_back("stop"); }

    std::vector<std::string> log;
    bool finishOnTick = false;
};

TEST(Timer, FiresOnceWhenItsDelayIsReached) {
    BotTest::FrameTimeGuard guard;
    int fired = 0;
    JCTimer timer(0.5f, Closure<void()>(&fired, [](void* n) { ++*static_cast<int*>(n); }));
    EXPECT_EQ(Tick(timer, 0.25f), 0);
    EXPECT_EQ(Tick(timer, 0.25f), MSG_RESULT::Finished);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(timer.active, 0);
    EXPECT_EQ(Tick(timer, 1.0f), 0);
    EXPECT_EQ(fired, 1);
}

TEST(Timer, ZeroDelayFiresOnTheFirstTickAndFinishNowOnTheNext) {
    BotTest::FrameTimeGuard guard;
    JCTimer now(0.0f, Closure<void()>());
    EXPECT_EQ(Tick(now, 0.0f), MSG_RESULT::Finished);

    int fired = 0;
    JCTimer later(100.0f, Closure<void()>(&fired, [](void* n) { ++*static_cast<int*>(n); }));
    EXPECT_EQ(BotTest::FinishNow(later), 0);
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(Tick(later, 0.0f), MSG_RESULT::Finished);
    EXPECT_EQ(fired, 1);
}

TEST(ActorBot, ZeroDelayStartsOnTheFirstTickAndTicksFromTheSecond) {
    BotTest::FrameTimeGuard guard;
    LoggingBot bot(0.0f);
    EXPECT_EQ(Tick(bot, 0.25f), 0);
    EXPECT_EQ(bot.log, std::vector<std::string>{"start"});
    EXPECT_TRUE(bot.IsRunning());
    EXPECT_TRUE(bot.children.IsEmpty());  // the timer is gone
    EXPECT_EQ(Tick(bot, 0.5f), 0);
    EXPECT_EQ(bot.log.back(), "tick 0.500000");
    bot.finishOnTick = true;
    EXPECT_EQ(Tick(bot, 0.5f), MSG_RESULT::Finished);
}

TEST(ActorBot, DelayStartsInTheTickWhereItRunsOut) {
    BotTest::FrameTimeGuard guard;
    LoggingBot bot(0.5f);
    EXPECT_EQ(Tick(bot, 0.25f), 0);
    EXPECT_TRUE(bot.log.empty());
    EXPECT_EQ(Tick(bot, 0.25f), 0);
    EXPECT_EQ(bot.log, std::vector<std::string>{"start"});
}

// 45 before the start: OnStop runs, the bot never starts and finishes on its next tick.
TEST(ActorBot, FinishNowWhileWaitingEndsTheBot) {
    BotTest::FrameTimeGuard guard;
    LoggingBot bot(1.0f);
    Tick(bot, 0.5f);
    EXPECT_EQ(BotTest::FinishNow(bot), 0);
    EXPECT_EQ(Tick(bot, 1.0f), MSG_RESULT::Finished);
    EXPECT_EQ(bot.log, std::vector<std::string>{"stop"});
}

// Children run before the bot's own hook, in the same tick.
TEST(ActorBot, ChildrenRunBeforeTheHook) {
    BotTest::FrameTimeGuard guard;
    struct Child : JC_BASE {
        explicit Child(std::vector<std::string>& log) : log(log) {}
        int32_t Message(int32_t id, float, float, float, void*) override {
            if (id == MSG::Tick) log.push_back("child");
            return 0;
        }
        std::vector<std::string>& log;
    };
    LoggingBot bot(0.0f);
    Tick(bot, 0.1f);
    bot.children.Add(new Child(bot.log));
    Tick(bot, 0.1f);
    EXPECT_EQ(bot.log, (std::vector<std::string>{"start", "child", "tick 0.100000"}));
}

TEST(ActorTick, FinishesWhenItsTimeHasPassedOrOnStop) {
    BotTest::FrameTimeGuard guard;
    BotTest::Counter counter;
    JCBot_Tick wait(0.5f, 0.25f);
    wait.completion = Closure<void()>(&counter, &BotTest::Counter::Bump);
    EXPECT_EQ(Tick(wait, 0.25f), 0);  // delay
    EXPECT_EQ(Tick(wait, 0.25f), 0);
    EXPECT_EQ(Tick(wait, 0.25f), MSG_RESULT::Finished);
    EXPECT_EQ(counter.calls, 1);

    JCBot_Tick stopped(100.0f, 0.0f);
    stopped.completion = Closure<void()>(&counter, &BotTest::Counter::Bump);
    Tick(stopped, 0.1f);
    BotTest::FinishNow(stopped);
    EXPECT_EQ(Tick(stopped, 0.0f), MSG_RESULT::Finished);
    EXPECT_EQ(counter.calls, 2);
}

struct Effect {
    Effect(std::string label, std::string& log, int& deleted) : label(std::move(label)), log(log), deleted(deleted) {}
    virtual ~Effect() { ++deleted; }
    bool Update() {
        log += label;
        return finishes;
    }
    std::string label;
    std::string& log;
    int& deleted;
    bool finishes = false;
};

// [A, B, C] with A finishing: A and C are updated, B moves into A's place and waits a frame.
TEST(ActorOwnedVectors, UpdateAndEraseFinishedSkipsTheElementThatMovesDown) {
    std::string log;
    int deleted = 0;
    std::vector<Effect*> effects = {new Effect("A", log, deleted), new Effect("B", log, deleted),
                                    new Effect("C", log, deleted)};
    effects[0]->finishes = true;
    UpdateAndEraseFinished(effects);
    EXPECT_EQ(log, "AC");
    EXPECT_EQ(deleted, 1);
    ASSERT_EQ(effects.size(), 2u);
    log.clear();
    UpdateAndEraseFinished(effects);
    EXPECT_EQ(log, "BC");

    effects.push_back(nullptr);
    DeleteOwnedVector(effects);
    EXPECT_EQ(deleted, 3);
    EXPECT_TRUE(effects.empty());
    EXPECT_EQ(effects.capacity(), 0u);
}

}  // namespace
