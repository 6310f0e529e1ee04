#include "engine/bots/tween_base.h"

#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "engine/bots/bot_list.h"
#include "engine/bots/tween_bezier.h"
#include "engine/bots/tween_color.h"
#include "engine/bots/tween_move.h"
#include "engine/bots/tween_sleep.h"
#include "engine/bots/tween_transform.h"
#include "engine/graphics/sprite.h"
#include "tests/bots/bot_test_support.h"

namespace {

using namespace QRV;

struct Targets {
    JS_TRANSFORM3 transform;
    uint32_t word = 0xFF000000;
    G_SPRITE sprite;
};

struct Case {
    const char* name;
    std::function<JC_BOT_TWEEN*(Targets&)> make;
};

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"bot_color", [](Targets& t) { return new JC_BOT_COLOR(&t.sprite, 0, 0, 1); }},
        {"bot_color", [](Targets& t) { return new JC_BOT_COLOR_JS(&t.word, 0, 0, 1); }},
        {"bot_move", [](Targets& t) { return new JC_BOT_MOVE(&t.transform, 1, 2, 3, 0, 1, 0); }},
        {"bot_move_cubebezier",
         [](Targets& t) {
             return new JC_BOT_MOVE_CUBEBEZIER(&t.transform, {}, {}, {1, 1, 0}, 1, 0, 0);
         }},
        {"bot_move_quadbezier",
         [](Targets& t) {
             return new JC_BOT_MOVE_QUADBEZIER(&t.transform, {}, {1, 1, 0}, 1, 0, 0);
         }},
        {"nonamed", [](Targets& t) { return new JC_BOT_MOVE_ON(&t.transform, 1, 1, 1, 0); }},
        {"bot_sleep", [](Targets&) { return new JC_BOT_SLEEP(nullptr, 1); }},
        {"bot_transform", [](Targets& t) { return new JC_BOT_TRANSFORM(&t.transform, JS_TRANSFORM3{}, 0, 1); }},
    };
    return cases;
}

TEST(TweenCommon, NamePriorityAndDrawLevel) {
    for (const Case& c : Cases()) {
        Targets targets;
        std::unique_ptr<JC_BOT_TWEEN> bot(c.make(targets));
        SCOPED_TRACE(c.name);
        EXPECT_EQ(bot->name, c.name);
        EXPECT_EQ(std::bit_cast<uint32_t>(bot->priority), 0x7F7FC99Eu);
        EXPECT_LT(bot->priority, std::numeric_limits<float>::max());
        EXPECT_EQ(bot->drawLevel, 0);
    }
}

// Every tween: 38 copies the record (null keeps it), 45 calls it once and answers 0, a later 45
// or tick calls nothing more and the tick answers Finished; unknown ids answer 0.
TEST(TweenCommon, CallbackRecordAndFinishNowProtocol) {
    BotTest::FrameTimeGuard guard;
    for (const Case& c : Cases()) {
        Targets targets;
        std::unique_ptr<JC_BOT_TWEEN> bot(c.make(targets));
        SCOPED_TRACE(c.name);
        BotTest::Counter counter;
        counter.Attach(*bot);
        EXPECT_EQ(bot->Message(MSG::SetCallback, 0, 0, 0, nullptr), 0);
        EXPECT_EQ(bot->completion.name, "counter");
        EXPECT_EQ(bot->Message(MSG::Draw, 0, 0, 0, nullptr), 0);
        EXPECT_EQ(bot->Message(99, 0, 0, 0, nullptr), 0);
        EXPECT_EQ(counter.calls, 0);

        EXPECT_EQ(BotTest::FinishNow(*bot), 0);
        EXPECT_EQ(counter.calls, 1);
        EXPECT_EQ(BotTest::FinishNow(*bot), 0);
        EXPECT_EQ(BotTest::Tick(*bot, 0.1f), MSG_RESULT::Finished);
        EXPECT_EQ(counter.calls, 1);
    }
}

// In a list with the default filter tweens are ticked and never drawn, go ahead of ordinary
// objects and are deleted once they finish.
TEST(TweenCommon, LivesInABotListAheadOfOrdinaryObjects) {
    BotTest::FrameTimeGuard guard;

    struct Ordinary : JC_BASE {
        int32_t Message(int32_t, float, float, float, void*) override { return 0; }
    };
    struct CountingSleep : JC_BOT_SLEEP {
        CountingSleep(int& draws, int& deleted) : JC_BOT_SLEEP(nullptr, 0.5f), draws(draws), deleted(deleted) {}
        ~CountingSleep() override { ++deleted; }
        int32_t Message(int32_t id, float a, float b, float c, void* data) override {
            if (id == MSG::Draw) ++draws;
            return JC_BOT_SLEEP::Message(id, a, b, c, data);
        }
        int& draws;
        int& deleted;
    };

    int draws = 0, deleted = 0;
    JC_BOT_LIST list;
    auto* ordinary = new Ordinary();
    list.Add(ordinary);
    auto* sleep = new CountingSleep(draws, deleted);
    list.Add(sleep);

    QRV::g_frameTime.store(0.25f);
    list.Update();
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.objects.front(), sleep);
    list.Draw();
    EXPECT_EQ(draws, 0);
    list.Update();
    EXPECT_EQ(deleted, 1);
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.objects.front(), ordinary);
}

}  // namespace
