// The windows around a level in the started game over the shipped content, reached with the mouse
// through the game's input hooks as a player reaches them.
#include <gtest/gtest.h>

#include <string>

#include "engine/gui/gui_label.h"
#include "game/screens/ingame_support.h"
#include "tests/game/screens/screen_scene.h"

namespace {

class IngameJourneyTest : public ScreenTest::ScreenScene {
protected:
    int32_t Hearts() { return Player()->GetHealth().GetCount(); }
    std::wstring Text(const std::string& window, int32_t id) {
        const QRV::JC_GUI_WLABEL* label = Ingame::Label(Window(window), id);
        return label != nullptr ? label->GetText() : L"<no label>";
    }
};

// Start window: its number, Play resumes the level. Pause menu: leaving asks; "no" keeps the level
// and the hearts, "yes" costs one heart and ends on the level list.
TEST_F(IngameJourneyTest, StartPlayPauseAndLeaveWithTheMouse) {
    Seconds(1.0f);
    ASSERT_NE(Player(), nullptr);
    Window("Title")->Hide(true);
    ASSERT_TRUE(Root().StartLevel("pack01.level02"));
    Seconds(1.0f);
    ASSERT_TRUE(Settled("GP_Start"));
    EXPECT_EQ(Text("GP_Start", 2), L"Level 2");
    EXPECT_TRUE(Root().Gameplay().IsPaused());
    ASSERT_TRUE(ClickControl("GP_Start", 1));
    Seconds(1.0f);
    EXPECT_FALSE(Shown("GP_Start"));
    EXPECT_FALSE(Root().Gameplay().IsPaused());

    const int32_t hearts = Hearts();
    const struct {
        const char* label;
        int32_t answer;
        bool leaves;
    } cases[] = {{"no", 4, false}, {"yes", 3, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        if (!Shown("GP_Menu")) Windows().ShowWindow("GP_Menu", false);
        Seconds(1.0f);
        ASSERT_TRUE(Settled("GP_Menu"));
        EXPECT_TRUE(Root().Gameplay().IsPaused());
        ASSERT_TRUE(ClickControl("GP_Menu", 3));
        Seconds(1.0f);
        ASSERT_TRUE(Settled("Confirm_Close_Lvl"));
        ASSERT_TRUE(ClickControl("Confirm_Close_Lvl", c.answer));
        Seconds(2.0f);
        EXPECT_EQ(Hearts(), c.leaves ? hearts - 1 : hearts);
        EXPECT_EQ(Shown("GP_Menu"), !c.leaves);
        EXPECT_EQ(Shown("Levels"), c.leaves);
        EXPECT_EQ(Root().Gameplay().IsRunning(), !c.leaves);
        EXPECT_FALSE(Shown("Fade_Transition"));
    }
}

}  // namespace
