#include "engine/bots/bot_builders.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <pugixml.hpp>

#include "engine/bots/actor_animation.h"
#include "engine/bots/actor_move.h"
#include "engine/core/property_map.h"
#include "engine/graphics/animation.h"
#include "tests/bots/bot_test_support.h"
#include "tests/test_kit/parsed_xml.h"

namespace {

using namespace QRV;
using BotTest::Tick;

// The property map of one window "bots" entry, read from XML as the window reader does.
void Fill(JCPropertyMap& properties, const char* xml) {
    const TestKit::ParsedXml document(xml);
    ASSERT_TRUE(document);
    properties.Load(document.Root());
}

TEST(BuilderMove, ReadsEveryKeyAndPlacesTheTargetAtTheBeginning) {
    BotTest::FrameTimeGuard guard;
    JCPropertyMap properties;
    Fill(properties, R"(<bot>
        <param key="type" value="move"/>
        <param key="delay" value="0.5"/>
        <param key="time" value="1.5"/>
        <param key="position_begin" value="10 20 0"/>
        <param key="position_end" value="30 40 0"/>
    </bot>)");
    JS_TRANSFORM3 target;
    std::unique_ptr<JCBot_Move> move(CreateBotMove(properties, &target));
    ASSERT_NE(move, nullptr);
    EXPECT_EQ(move->delay, 0.5f);
    EXPECT_EQ(move->time, 1.5f);
    EXPECT_EQ(target.positionX, 10.0f);
    EXPECT_EQ(target.positionY, 20.0f);
    EXPECT_EQ(move->target, &target);

    EXPECT_EQ(Tick(*move, 0.5f), 0);  // delay
    int ticks = 0;
    while (Tick(*move, 0.25f) == 0 && ticks < 100) ++ticks;
    EXPECT_EQ(ticks, 5);
    EXPECT_EQ(target.positionX, 30.0f);
    EXPECT_EQ(target.positionY, 40.0f);
}

TEST(BuilderMoveLoop, ReadsTheDelayStepAndTheRest) {
    JCPropertyMap properties;
    Fill(properties, R"(<bot>
        <param key="delay_step" value="0.2"/>
        <param key="delay" value="0.1"/>
        <param key="time" value="0.7"/>
        <param key="position_begin" value="1 2 3"/>
        <param key="position_end" value="4 5 6"/>
    </bot>)");
    JS_TRANSFORM3 target;
    std::unique_ptr<JCBot_MoveLoop> loop(CreateBotMoveLoop(properties, &target));
    ASSERT_NE(loop, nullptr);
    EXPECT_EQ(loop->delayStep, 0.2f);
    EXPECT_EQ(loop->delay, 0.1f);
    EXPECT_EQ(loop->time, 0.7f);
    EXPECT_EQ(loop->begin.z, 3.0f);
    EXPECT_EQ(loop->end.x, 4.0f);
    EXPECT_EQ(loop->end.y, 5.0f);
    EXPECT_EQ(loop->target, &target);
}

TEST(BuilderAnimation, ReadsTheDelay) {
    JCPropertyMap properties;
    Fill(properties, R"(<bot><param key="delay" value="1.25"/></bot>)");
    G_ANIMATION animation;
    std::unique_ptr<JCBot_Animation> bot(CreateBotAnimation(properties, &animation));
    ASSERT_NE(bot, nullptr);
    EXPECT_EQ(bot->delay, 1.25f);
    EXPECT_EQ(bot->animation, &animation);
}

// Our own data should always carry every key; when one is missing the bot still builds: times
// read as 0 and positions as where the target stands.
TEST(BuilderMissingKeys, ReadAsZeroOrTheTargetsPosition) {
    BotTest::FrameTimeGuard guard;
    const JCPropertyMap empty;
    JS_TRANSFORM3 target;
    target.positionX = 7.0f;
    target.positionY = 8.0f;
    std::unique_ptr<JCBot_Move> move(CreateBotMove(empty, &target));
    ASSERT_NE(move, nullptr);
    EXPECT_EQ(move->delay, 0.0f);
    EXPECT_EQ(move->time, 0.0f);
    EXPECT_EQ(target.positionX, 7.0f);
    Tick(*move, 0.0f);
    EXPECT_EQ(Tick(*move, 0.0f), MSG_RESULT::Finished);
    EXPECT_EQ(target.positionX, 7.0f);
    EXPECT_EQ(target.positionY, 8.0f);

    JCPropertyMap onlyEnd;
    Fill(onlyEnd, R"(<bot><param key="position_end" value="1 1 0"/></bot>)");
    std::unique_ptr<JCBot_MoveLoop> loop(CreateBotMoveLoop(onlyEnd, &target));
    ASSERT_NE(loop, nullptr);
    EXPECT_EQ(loop->begin.x, 7.0f);
    EXPECT_EQ(loop->end.x, 1.0f);
    EXPECT_EQ(loop->delayStep, 0.0f);

    std::unique_ptr<JCBot_Move> noTarget(CreateBotMove(empty, nullptr));
    ASSERT_NE(noTarget, nullptr);
    EXPECT_EQ(noTarget->end.x, 0.0f);

    std::unique_ptr<JCBot_Animation> animation(CreateBotAnimation(empty, nullptr));
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(animation->delay, 0.0f);
}

}  // namespace
