// The shipped tutorial scripts in the started game: the first lesson's steps in order, a wrong
// mark taken back with its flash, and the hint lesson leaving the hint's cell alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/gui/gui_image.h"
#include "game/gameplay/element.h"
#include "game/screens/window_tutorial_step.h"
#include "tests/game/screens/screen_scene.h"

namespace {

using ScreenTest::ScreenScene;

class TutorialShippedStepsTest : public ScreenScene {
protected:
    gcGameplay& Board() { return Root().Gameplay(); }
    std::pair<int32_t, int32_t> CellCentre(int column, int row) {
        const gcElement* cell = Board().Process().CellAt(column, row);
        EXPECT_NE(cell, nullptr);
        if (cell == nullptr) return {0, 0};
        return {static_cast<int32_t>(cell->CentreX()), static_cast<int32_t>(cell->CentreY())};
    }
    // A drag from one cell to another with the button, a frame between the events.
    void Drag(int c0, int r0, int c1, int r1, int32_t button = QRV::VK_LBUTTON) {
        const auto [x0, y0] = CellCentre(c0, r0);
        const auto [x1, y1] = CellCentre(c1, r1);
        MoveMouse(x0, y0);
        Frames(1);
        ButtonDown(button);
        Frames(1);
        MoveMouse((x0 + x1) / 2, (y0 + y1) / 2);
        Frames(1);
        MoveMouse(x1, y1);
        Frames(1);
        ButtonUp(button);
        Seconds(0.5f);
    }
    static std::string CurrentStep() {
        const JCWindow* step = gcTutorialController::Instance().GetCurrentStep();
        return step != nullptr ? step->name : "";
    }
};

TEST_F(TutorialShippedStepsTest, TheFirstLessonLeadsThroughItsStepsAndTakesAWrongMarkBack) {
    ASSERT_TRUE(Root().StartLevel("tutorial01.level01"));
    Seconds(1.0f);
    EXPECT_EQ(CurrentStep(), "tutorial01-level01-step01");
    ASSERT_TRUE(Settled("tutorial01-level01-step01"));
    ASSERT_TRUE(ClickControl("tutorial01-level01-step01", 1));
    Seconds(2.0f);  // the demonstration of the drag
    ASSERT_EQ(CurrentStep(), "tutorial01-level01-step02");

    // A cross on a cell of the picture: taken back, the panel flashes.
    auto* step = WindowAs<gcWindow_TutorialStep>("tutorial01-level01-step02");
    ASSERT_NE(step, nullptr);
    Events().Clear();
    Drag(0, 1, 0, 1, QRV::VK_RBUTTON);
    EXPECT_EQ(Events().Count(gcBoardEvent::MoveWrong), 1);
    EXPECT_EQ(Events().Count(gcBoardEvent::MoveUndone), 1);
    EXPECT_FALSE(Board().Process().CellAt(0, 1)->opened);
    ASSERT_NE(step->ErrorImage(), nullptr);
    EXPECT_TRUE(step->ErrorImage()->IsVisible());
    EXPECT_EQ(CurrentStep(), "tutorial01-level01-step02");

    // The row the step asks for, then the next one.
    Drag(0, 1, 4, 1);
    EXPECT_EQ(CurrentStep(), "tutorial01-level01-step03");
    EXPECT_FALSE(Shown("tutorial01-level01-step02"));
    Drag(0, 2, 4, 2);
    EXPECT_EQ(CurrentStep(), "tutorial01-level01-step04");
}

TEST_F(TutorialShippedStepsTest, TheHintLessonsLeaveTheHintsCellOpenAndUnflashed) {
    ASSERT_TRUE(Root().StartLevel("tutorial02.level03"));
    Seconds(1.0f);
    ASSERT_EQ(CurrentStep(), "tutorial02-level03-step01");
    Events().Clear();
    Board().UseHint();
    Seconds(3.0f);
    // The step after the hint waits for the shop: it lists an action, yet the hint's move stands.
    EXPECT_EQ(CurrentStep(), "tutorial02-level03-step02");
    EXPECT_EQ(Events().Count(24), 1);
    EXPECT_EQ(Events().Count(gcBoardEvent::MoveUndone), 0);
    EXPECT_EQ(Board().Process().List(gcProcess::kListOpened).size(), 1u);
    auto* step = WindowAs<gcWindow_TutorialStep>("tutorial02-level03-step02");
    ASSERT_NE(step, nullptr);
    ASSERT_NE(step->ErrorImage(), nullptr);
    EXPECT_FALSE(step->ErrorImage()->IsVisible());
}

// The shop lesson cannot be left waiting for a close it never hears: while its steps wait for the
// shop, the pause menu offers none (a shop closed back into the menu tells no step), and the
// board's own store button leads through the lesson; afterwards the menu offers the shop again.
TEST_F(TutorialShippedStepsTest, TheShopLessonIsTakenOnTheBoardNeverThroughThePauseMenu) {
    ASSERT_TRUE(Root().StartLevel("tutorial02.level03"));
    Seconds(1.0f);
    Board().UseHint();
    Seconds(3.0f);
    ASSERT_EQ(CurrentStep(), "tutorial02-level03-step02");
    const auto menuShopEnabled = [this] {
        Windows().ShowWindow("GP_Menu", false);
        Seconds(0.5f);
        EXPECT_TRUE(Settled("GP_Menu"));
        const QRV::JC_GUI_OBJECT* shop = Control("GP_Menu", 5);
        return shop != nullptr && shop->IsEnabled();
    };
    EXPECT_FALSE(menuShopEnabled());
    ClickControl("GP_Menu", 5);
    Seconds(0.5f);
    EXPECT_FALSE(Shown("Shop"));
    EXPECT_EQ(CurrentStep(), "tutorial02-level03-step02");
    ASSERT_TRUE(ClickControl("GP_Menu", 1));
    Seconds(0.5f);
    ASSERT_FALSE(Shown("GP_Menu"));

    // The store button shows the shop by name, as here.
    Windows().ShowWindow("Shop", false);
    Seconds(0.5f);
    EXPECT_EQ(CurrentStep(), "tutorial02-level03-step03");
    ASSERT_TRUE(ClickControl("Shop", 1));
    Seconds(0.5f);
    EXPECT_EQ(CurrentStep(), "tutorial02-level03-step04");
    EXPECT_TRUE(menuShopEnabled());
}

TEST_F(TutorialShippedStepsTest, StartingTheGameFromTheLastLessonLeavesItsFinishWindowBehind) {
    ASSERT_TRUE(Root().StartLevel("tutorial02.level04"));
    Seconds(1.0f);
    ASSERT_EQ(CurrentStep(), "tutorial02-level04-step01");
    for (int row = 0; Board().Process().CellAt(0, row) != nullptr; ++row)
        for (int column = 0; const gcElement* cell = Board().Process().CellAt(column, row); ++column)
            if (cell->IsPicture() && !cell->opened) Drag(column, row, column, row);
    for (int i = 0; i < 20 && CurrentStep() == "tutorial02-level04-step01"; ++i) Seconds(0.5f);
    // The won lesson offers the game; its finish window waits behind the offer.
    ASSERT_EQ(CurrentStep(), "tutorial02-level04-step02");
    ASSERT_TRUE(Settled("tutorial02-level04-step02"));
    ASSERT_TRUE(ClickControl("tutorial02-level04-step02", 3));
    Seconds(3.0f);
    EXPECT_EQ(CurrentStep(), "");
    EXPECT_NE(Board().LevelPath().find("pack01"), std::string::npos) << Board().LevelPath();
    EXPECT_FALSE(Shown("Tutorial_Finish"));
    EXPECT_TRUE(Shown("GP_Start"));  // the new level's own start window
    for (const JCWindow* queued : Windows().Queue()) EXPECT_NE(queued->name, "Tutorial_Finish");
}

}  // namespace
