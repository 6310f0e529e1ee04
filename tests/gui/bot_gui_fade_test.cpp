#include "engine/gui/bot_gui_fade.h"

#include <gtest/gtest.h>

#include <memory>

#include "engine/bots/object_base.h"
#include "engine/core/property_map.h"
#include "engine/gui/gui_bot_builders.h"
#include "engine/gui/gui_object.h"
#include "tests/bots/bot_test_support.h"

namespace QRV {
namespace {

using BotTest::FinishNow;
using BotTest::Tick;

// A panel with one child: the bots act on the whole subtree.
class GuiFadeTest : public ::testing::Test {
protected:
    GuiFadeTest() { panel.AddChild(child = new JC_GUI_OBJECT(2)); }

    void ExpectShown(bool visible, float alpha) {
        EXPECT_EQ(panel.IsVisible(), visible);
        EXPECT_EQ(child->IsVisible(), visible);
        EXPECT_FLOAT_EQ(panel.alpha, alpha);
        EXPECT_FLOAT_EQ(child->alpha, alpha);
    }

    BotTest::FrameTimeGuard guard;
    JC_GUI_OBJECT panel{1};
    JC_GUI_OBJECT* child = nullptr;
};

TEST_F(GuiFadeTest, ShowHidesAtOnceThenFadesInAfterItsDelay) {
    // A fade started by a tick takes its first step on the next one.
    JCBot_GuiShow show(&panel, 0.5f, 0.25f);
    ExpectShown(false, 0.0f);
    EXPECT_EQ(Tick(show, 0.125f), MSG_RESULT::GoOn);
    ExpectShown(false, 0.0f);
    EXPECT_EQ(Tick(show, 0.125f), MSG_RESULT::GoOn);  // the delay runs out: visible, alpha 0
    ExpectShown(true, 0.0f);
    const float steps[] = {0.25f, 0.5f, 0.75f};
    for (const float alpha : steps) {
        EXPECT_EQ(Tick(show, 0.125f), MSG_RESULT::GoOn);
        ExpectShown(true, alpha);
    }
    EXPECT_EQ(Tick(show, 0.125f), MSG_RESULT::Finished);  // the fade ended on 1
    ExpectShown(true, 1.0f);
}

TEST_F(GuiFadeTest, HideFadesOutThenHides) {
    JCBot_GuiHide hide(0.0f, 0.25f, &panel);
    EXPECT_EQ(Tick(hide, 0.125f), MSG_RESULT::GoOn);  // starts
    ExpectShown(true, 1.0f);
    EXPECT_EQ(Tick(hide, 0.125f), MSG_RESULT::GoOn);
    ExpectShown(true, 0.5f);
    EXPECT_EQ(Tick(hide, 0.125f), MSG_RESULT::Finished);
    ExpectShown(false, 0.0f);
}

TEST_F(GuiFadeTest, HideWithoutFadeTimeHidesOnStartAndEndsOnTheNextTick) {
    JCBot_GuiHide hide(0.0f, 0.0f, &panel);
    EXPECT_EQ(Tick(hide, 0.1f), MSG_RESULT::GoOn);
    ExpectShown(false, 1.0f);
    EXPECT_EQ(Tick(hide, 0.1f), MSG_RESULT::Finished);
}

TEST_F(GuiFadeTest, StoppingEndsTheFadeAtOnceAndForGood) {
    {
        JCBot_GuiShow show(&panel, 1.0f, 0.0f);
        Tick(show, 0.1f);
        Tick(show, 0.1f);
        Tick(show, 0.3f);
        ASSERT_TRUE(panel.IsVisible());
        ASSERT_LT(panel.alpha, 1.0f);
        FinishNow(show);
        ExpectShown(true, 1.0f);
        EXPECT_EQ(Tick(show, 0.1f), MSG_RESULT::Finished);
        ExpectShown(true, 1.0f);  // no fade went on writing
    }
    {
        JCBot_GuiHide hide(0.0f, 1.0f, &panel);
        Tick(hide, 0.1f);
        Tick(hide, 0.1f);
        Tick(hide, 0.3f);
        ASSERT_GT(panel.alpha, 0.0f);
        FinishNow(hide);
        ExpectShown(false, 0.0f);
        EXPECT_EQ(Tick(hide, 0.1f), MSG_RESULT::Finished);
        ExpectShown(false, 0.0f);
    }
    {
        // Stopped before its delay ran out: shown at once, never started later.
        JCBot_GuiShow show(&panel, 1.0f, 5.0f);
        FinishNow(show);
        ExpectShown(true, 1.0f);
        EXPECT_EQ(Tick(show, 10.0f), MSG_RESULT::Finished);
        ExpectShown(true, 1.0f);
    }
}

TEST_F(GuiFadeTest, BuildersReadDelayAndTime) {
    JCPropertyMap properties;
    properties.SetFloat("delay", 0.5f);
    properties.SetFloat("time", 0.25f);
    std::unique_ptr<JCBot_GuiShow> show(CreateBotGuiShow(properties, &panel));
    ASSERT_NE(show, nullptr);
    EXPECT_FLOAT_EQ(show->delay, 0.5f);
    EXPECT_FLOAT_EQ(show->fadeTime, 0.25f);
    EXPECT_EQ(show->object, &panel);
    std::unique_ptr<JCBot_GuiHide> hide(CreateBotGuiHide(properties, &panel));
    ASSERT_NE(hide, nullptr);
    EXPECT_FLOAT_EQ(hide->delay, 0.5f);
    EXPECT_FLOAT_EQ(hide->fadeTime, 0.25f);
    EXPECT_EQ(hide->object, &panel);

    JCPropertyMap empty;
    std::unique_ptr<JCBot_GuiHide> instant(CreateBotGuiHide(empty, &panel));
    EXPECT_FLOAT_EQ(instant->fadeTime, 0.0f);
    EXPECT_FLOAT_EQ(instant->delay, 0.0f);
}

}  // namespace
}  // namespace QRV
