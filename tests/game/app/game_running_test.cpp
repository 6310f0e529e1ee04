// The game root's own rules in the started game over the shipped content: what every frame does,
// what a level start, a player selection and a pending purchase do to the windows and settings,
// and the answers of the question before the first level.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/app/app_context.h"
#include "engine/core/conversions.h"
#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_label.h"
#include "engine/sound/sound_group.h"
#include "engine/sound/sound_groups.h"
#include "game/screens/window_shop.h"
#include "tests/game/screens/screen_scene.h"

namespace {

class GameRunningTest : public ScreenTest::ScreenScene {
protected:
    static float GroupGain(const char* name) {
        const JCSoundGroup* group = Context().soundGroups.FindGroup(name);
        return group != nullptr ? group->gain : -1.0f;
    }
    // Shows the window and lets its show end.
    void ShowSettled(const char* name) {
        Windows().ShowWindow(name, false);
        Seconds(0.5f);
        ASSERT_TRUE(Settled(name)) << name;
    }
};

// A lost heart's countdown runs with the frames, not only when the hearts are looked at.
TEST_F(GameRunningTest, ALostHeartsCountdownRunsWithTheFrames) {
    gcPlayerHealth& health = Player()->GetHealth();
    Root().RefillAllHearts();
    ASSERT_TRUE(health.LoseHeart());
    const double start = health.GetCountdown();
    ASSERT_GT(start, 10.0);
    Seconds(2.0f);
    EXPECT_NEAR(health.GetCountdown(), start - 2.0, 0.05);
}

// Windows queued before a level starts belong to what came before: the level's start window is
// the only one queued, and it shows at once.
TEST_F(GameRunningTest, ALevelStartDropsTheWindowsQueuedBeforeIt) {
    Windows().QueueWindow("confirm_pack_is_close");
    Windows().QueueWindow("Confirm_Exit");
    ASSERT_EQ(Windows().Queue().size(), 2u);
    ASSERT_TRUE(Root().StartLevel("pack01.level02"));
    ASSERT_EQ(Windows().Queue().size(), 1u);
    EXPECT_EQ(Windows().Queue().front()->name, "GP_Start");
    EXPECT_TRUE(Shown("GP_Start"));
    Seconds(1.0f);
    EXPECT_FALSE(Shown("Confirm_Exit"));
}

// A selected player brings its volumes and the display mode of the settings, and every window
// shows the new player (here the shop's money).
TEST_F(GameRunningTest, SelectingAPlayerAppliesItsVolumesTheDisplayModeAndRefreshesTheWindows) {
    const int32_t firstMoney = Player()->GetStatistic("money")->intValue;
    gcPlayer* other = Root().CreatePlayer(L"Other");
    ASSERT_NE(other, nullptr);
    ASSERT_NE(Player(), other);
    other->SetMusicVolume(20.0f);
    other->SetSoundVolume(80.0f);
    other->ResetStatistic("money");
    other->IncrementStatistic("money", firstMoney + 777);
    ShowSettled("Shop");
    Global().SetFullscreenSetting(true);
    QRV::g_app->fullscreen = 0;

    ASSERT_TRUE(Context().playerManager.SelectPlayer(other));
    EXPECT_FLOAT_EQ(GroupGain("music"), SoundVolumeToGain(20.0f));
    EXPECT_FLOAT_EQ(GroupGain("sounds"), SoundVolumeToGain(80.0f));
    EXPECT_EQ(QRV::g_app->fullscreen, 1);
    const auto* money = dynamic_cast<const QRV::JC_GUI_WLABEL*>(Control("Shop", gcWindow_Shop::kMoneyLabel));
    ASSERT_NE(money, nullptr);
    EXPECT_EQ(money->GetText(), QRV::IntToWString(firstMoney + 777));
}

// While a purchase waits for the store the pointer reaches nothing: a move does not hover a
// button, a press does not press it, a release does not click it.
TEST_F(GameRunningTest, ThePointerReachesNothingWhileAPurchaseIsPending) {
    const auto button = [] { return dynamic_cast<const QRV::JC_GUI_BUTTON5*>(Control("Confirm_Exit", 4)); };
    const struct {
        const char* label;
        int32_t ready;  // the button's state before: 0 normal, 1 hovered, 2 pressed
        std::function<void(int32_t, int32_t)> act;
    } cases[] = {
        {"move", 0, [this](int32_t x, int32_t y) { MoveMouse(x, y); }},
        {"press", 1, [this](int32_t, int32_t) { ButtonDown(); }},
        {"release", 2, [this](int32_t, int32_t) { ButtonUp(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ShowSettled("Confirm_Exit");
        const auto centre = ControlCentre("Confirm_Exit", 4);
        ASSERT_TRUE(centre);
        MoveMouse(c.ready == 0 ? 0 : centre->first, c.ready == 0 ? 0 : centre->second);
        Frames(1, 0.1f);
        if (c.ready == 2) {
            ButtonDown();
            Frames(1);
        }
        ASSERT_EQ(button()->GetState(), c.ready);

        Root().OnPurchaseStarted();
        c.act(centre->first, centre->second);
        EXPECT_EQ(button()->GetState(), c.ready);
        EXPECT_TRUE(Shown("Confirm_Exit"));

        Root().OnPurchaseFinished(nullptr, false);
        ASSERT_FALSE(Root().IsPurchasePending());
        for (const char* name : {"purchase_fail", "Confirm_Exit"})
            if (JCWindow* window = Windows().FindShownWindow(name)) window->Hide(true);
        // The button the setup or the press held goes up again.
        if (c.ready != 0) ButtonUp();
        MoveMouse(0, 0);
        Frames(2);
    }
}

// The first level of the game asks whether to take the lessons first: yes leaves for the
// tutorial list, no plays the level from its start window.
TEST_F(GameRunningTest, TheTutorialQuestionLeadsToTheLessonsOnYesAndToTheLevelOnNo) {
    const struct {
        const char* label;
        int32_t button;
        bool lessons;
    } cases[] = {{"no", 4, false}, {"yes", 3, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(Root().StartLevel("pack01.level01"));
        Seconds(0.5f);
        ASSERT_TRUE(Settled("GP_Tutorial_Question"));
        ASSERT_TRUE(ClickControl("GP_Tutorial_Question", c.button));
        Seconds(1.0f);
        EXPECT_FALSE(Shown("GP_Tutorial_Question"));
        EXPECT_EQ(Shown("Tutorial"), c.lessons);
        EXPECT_EQ(Shown("GP_Start"), !c.lessons);
        EXPECT_EQ(Root().Gameplay().IsRunning(), !c.lessons);
        if (JCWindow* start = Windows().FindShownWindow("GP_Start")) start->Hide(true);
        Frames(2);
    }
}

}  // namespace
