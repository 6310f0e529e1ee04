#include "game/gameplay/control_set.h"

#include <gtest/gtest.h>

#include <tuple>

#include "engine/gui/gui_checkbox_ios.h"
#include "engine/gui/gui_label.h"
#include "game/gameplay/message_tokens.h"
#include "tests/game/gameplay/control_test_kit.h"

namespace {

using ControlTestKit::kBlue;
using ControlTestKit::kGreen;
using ControlTestKit::kRed;

TEST(ControlMessageSplitTest, CutsAtTheTwoCharacterDelimiterOnly) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"", {}},
        {"control", {"control"}},
        {"hint::visible::true", {"hint", "visible", "true"}},
        {"a:b::c", {"a:b", "c"}},
        {"a:::b", {"a", ":b"}},
        {"a::", {"a", ""}},
        {"::a", {"", "a"}},
        {"a::::b", {"a", "", "b"}},
    };
    for (const auto& [text, tokens] : cases) EXPECT_EQ(gcSplitMessage(text), tokens) << text;
}

TEST(ControlHintCellTest, CountsPickTheirCellAndStopAtTheLast) {
    // count, rows, column, row
    const std::vector<std::tuple<int32_t, int32_t, int32_t, int32_t>> cases = {
        {0, 2, 0, 0},  {1, 2, 1, 0},  {4, 2, 4, 0},  {5, 2, 0, 1},  {6, 2, 1, 1},   {8, 2, 3, 1},
        {9, 2, 4, 1},  {10, 2, 4, 1}, {12, 2, 4, 1}, {-3, 2, 0, 0}, {4, 1, 4, 0},   {5, 1, 4, 0},
        {12, 1, 4, 0}, {12, 3, 2, 2}, {7, 0, 4, 0},  {14, 3, 4, 2}, {100, 3, 4, 2},
    };
    for (const auto& [count, rows, column, row] : cases) {
        int32_t c = -1, r = -1;
        gcControl_ButtonHint::CellOf(count, rows, c, r);
        EXPECT_EQ(std::make_pair(c, r), std::make_pair(column, row)) << "count " << count << " rows " << rows;
    }
}

class ControlSetTest : public ControlTestKit::ControlScene {
protected:
    // The UV rectangle the hint button's quad shows.
    std::tuple<float, float, float, float> HintUVs() const {
        const QRV::JS_VERTEX* v = set->Hint().ButtonSprite().vertices;
        return {v[0].u, v[0].v, v[2].u, v[2].v};
    }
    // On the screen: the control's place plus the button's own.
    float HintY() const { return set->Hint().Transform().positionY + set->Hint().ButtonSprite().transform->positionY; }
    float StoreY() const { return set->Store().Transform().positionY + set->Store().Button()->transform->positionY; }
    uint32_t ResetColor() const { return set->ResetSelection().Sprite().vertices[0].color; }
};

TEST_F(ControlSetTest, TheHintDigitShowsEachCountFromOneToTwelve) {
    Start(1);
    const gcControl_ButtonHint& hint = set->Hint();
    EXPECT_FLOAT_EQ(hint.ButtonSprite().width, 50.0f);
    EXPECT_FLOAT_EQ(hint.ButtonSprite().height, 50.0f);
    for (int32_t count = 1; count <= 12; ++count) {
        set->SetHintCount(count);
        const int32_t index = std::min(count, 9);
        const float u = static_cast<float>(index % 5) * 0.2f, v = static_cast<float>(index / 5) * 0.5f;
        const auto [u0, v0, u1, v1] = HintUVs();
        EXPECT_FLOAT_EQ(u0, u) << count;
        EXPECT_FLOAT_EQ(v0, v) << count;
        EXPECT_FLOAT_EQ(u1, u + 0.2f) << count;
        EXPECT_FLOAT_EQ(v1, v + 0.5f) << count;
    }
}

TEST_F(ControlSetTest, AHintPressUsesTheHintOnlyWhenTheButtonHasLeft) {
    Start(2);
    EXPECT_FLOAT_EQ(HintY(), 300.0f);
    // Not over the button, the right button: nothing.
    EXPECT_EQ(Press(800, 300), 0);
    EXPECT_EQ(Press(900, 300, 2), 0);
    EXPECT_EQ(Press(910, 310), gcControl_Base::kTaken);
    EXPECT_TRUE(set->Hint().IsBlocked());
    EXPECT_TRUE(set->Hint().IsUsePending());
    // The slide takes 0.5 s: four frames of 0.1 s leave it on the way.
    Frames(4);
    EXPECT_EQ(hintUses, 0);
    EXPECT_GT(HintY(), 300.0f);
    EXPECT_LT(HintY(), 350.0f);
    EXPECT_EQ(Press(900, 330), 0) << "blocked while it leaves";
    Frames(4);
    EXPECT_EQ(hintUses, 1);
    EXPECT_FLOAT_EQ(HintY(), 350.0f);
    EXPECT_FALSE(set->Hint().IsBlocked());
}

TEST_F(ControlSetTest, WithNoCellToPickTheSameCountBringsTheButtonBack) {
    Start(3);
    ASSERT_EQ(Press(900, 300), gcControl_Base::kTaken);
    Frames(8);
    ASSERT_EQ(hintUses, 1);
    // The board found no cell: the count stays, and it is given again.
    set->SetHintCount(3);
    Frames(8);
    EXPECT_FLOAT_EQ(HintY(), 300.0f);
    EXPECT_EQ(set->Hint().Glow().vertices[0].color, gcControl_ButtonHint::kGlowShown);
    EXPECT_EQ(Press(900, 300), gcControl_Base::kTaken);
}

TEST_F(ControlSetTest, AHintEarnedAfterStartingWithNoneIsUsable) {
    // A restart starts the level (event 4) before the controls are activated again.
    ASSERT_TRUE(Build());
    set->SetHintCount(0);
    dispatcher.Send<>(gcBoardEvent::LevelStarted);
    set->ActivateAll();
    Frames(8);
    EXPECT_FLOAT_EQ(HintY(), 350.0f);
    EXPECT_EQ(Press(900, 350), 0);
    set->SetHintCount(1);
    Frames(8);
    EXPECT_EQ(Press(900, 300), gcControl_Base::kTaken);
}

TEST_F(ControlSetTest, TheStoreButtonSlidesInAtZeroHintsAndOpensTheShop) {
    Start(2);
    EXPECT_FLOAT_EQ(StoreY(), 340.0f);
    EXPECT_FALSE(set->Store().IsLive());
    MoveTo(900, 340);
    EXPECT_EQ(Press(900, 340), 0);
    EXPECT_FALSE(Shown("Shop"));

    set->SetHintCount(0);
    Frames(3);
    EXPECT_GT(StoreY(), 300.0f);
    EXPECT_LT(StoreY(), 340.0f);
    Frames(5);
    EXPECT_FLOAT_EQ(StoreY(), 300.0f);
    MoveTo(900, 300);
    EXPECT_EQ(Press(900, 300), gcControl_Base::kTaken);
    EXPECT_TRUE(Shown("Shop"));

    set->SetHintCount(4);
    Frames(8);
    EXPECT_FLOAT_EQ(StoreY(), 340.0f);
}

TEST_F(ControlSetTest, TheStorePressDoesNothingWithoutTheShopWindow) {
    ASSERT_TRUE(Build(false));
    StartLevel(0);
    MoveTo(900, 300);
    EXPECT_EQ(Press(900, 300), 0);
}

TEST_F(ControlSetTest, OnlyTheLiveControlsAreDrawn) {
    Start(0);
    // count, hint drawn, store drawn
    for (const auto& [count, hintDrawn, storeDrawn] : {std::tuple{0, false, true}, std::tuple{2, true, false}}) {
        set->SetHintCount(count);
        Frames(8);
        const auto hint = DrawnVertices([&] { set->Hint().Render(); });
        const auto store = DrawnVertices([&] { set->Store().Render(); });
        EXPECT_EQ(!hint.empty(), hintDrawn) << count;
        EXPECT_EQ(!store.empty(), storeDrawn) << count;
    }
    Message("hint::visible::false");
    EXPECT_TRUE(DrawnVertices([&] { set->Hint().Render(); }).empty());
    Message("reset_selection::visible::0");
    EXPECT_TRUE(DrawnVertices([&] { set->ResetSelection().Render(); }).empty());
    Message("reset_selection::visible::1");
    EXPECT_FALSE(DrawnVertices([&] { set->ResetSelection().Render(); }).empty());
}

TEST_F(ControlSetTest, TheResetButtonLightsFocusesResetsAndOtherwiseShowsItsNotice) {
    Start(1);
    EXPECT_EQ(ResetColor(), kRed);
    // Unlit: a release over it shows the notice, which goes again once shown.
    EXPECT_EQ(Release(900, 420), 0);
    EXPECT_TRUE(Shown("GP_FeedBack_Reset"));
    Frames(3);
    EXPECT_FALSE(Shown("GP_FeedBack_Reset"));
    EXPECT_FALSE(windows.FindWindow("GP_FeedBack_Reset")->cbShown);
    EXPECT_TRUE(delegate.controls.empty());

    dispatcher.Send<gcElement*, int32_t>(gcBoardEvent::FirstCellSelected, nullptr, 100);
    EXPECT_TRUE(set->ResetSelection().IsLit());
    Frames(4);
    EXPECT_EQ(ResetColor(), kGreen);
    // Lit but not focused: a release is not taken.
    EXPECT_EQ(Release(900, 420), 0);
    MoveTo(900, 420);
    EXPECT_TRUE(set->ResetSelection().IsFocused());
    Frames(4);
    EXPECT_EQ(ResetColor(), kBlue);
    MoveTo(100, 100);
    EXPECT_FALSE(set->ResetSelection().IsFocused());
    MoveTo(939, 459);
    EXPECT_EQ(Release(939, 459), gcControl_Base::kTaken);
    EXPECT_EQ(delegate.controls, std::vector<int32_t>{4});
    EXPECT_FALSE(set->ResetSelection().IsLit());
    Frames(4);
    EXPECT_EQ(ResetColor(), kRed);
    EXPECT_FALSE(Shown("GP_FeedBack_Reset"));

    // A level start leaves it unlit.
    dispatcher.Send<gcElement*, int32_t>(gcBoardEvent::FirstCellSelected, nullptr, 101);
    Frames(2);
    dispatcher.Send<>(gcBoardEvent::LevelStarted);
    EXPECT_FALSE(set->ResetSelection().IsLit());
    EXPECT_EQ(ResetColor(), kRed);
}

TEST_F(ControlSetTest, EveryLevelStartsWithTheSquareTool) {
    Start(1);
    EXPECT_TRUE(set->GetCheckModeState());
    for (int32_t level = 0; level < 3; ++level) {
        Message("check_mode::tool::false");
        Frames(8);
        EXPECT_FALSE(set->GetCheckModeState());
        delegate.controls.clear();
        dispatcher.Send<>(gcBoardEvent::LevelStarted);
        EXPECT_TRUE(set->GetCheckModeState());
        EXPECT_EQ(delegate.controls, std::vector<int32_t>{0});
    }
}

TEST_F(ControlSetTest, APressOnTheSwitchFlipsTheToolAndTellsTheDelegate) {
    Start(1);
    // The label below it was a key of the string table.
    auto* label = dynamic_cast<QRV::JC_GUI_WLABEL*>(set->CheckMode().Gui().rootObject->FindChildById(3));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetText(), L"Tool");
    ASSERT_NE(dynamic_cast<QRV::JC_GUI_CHECKBOX_IOS*>(set->CheckMode().Switch()), nullptr);

    EXPECT_EQ(Press(512, 200), gcControl_Base::kTaken);
    EXPECT_FALSE(set->GetCheckModeState());
    EXPECT_EQ(delegate.controls, std::vector<int32_t>{0});
    Frames(8);
    Message("check_mode::is_block::true");
    EXPECT_EQ(Press(512, 200), 0);
    EXPECT_FALSE(set->GetCheckModeState());
    Message("check_mode::is_block::false");
    EXPECT_EQ(Press(512, 200), gcControl_Base::kTaken);
    EXPECT_TRUE(set->GetCheckModeState());
}

TEST_F(ControlSetTest, ShownPositionsStayOverTenLevelStarts) {
    Start(2);
    const gcPoint hint = set->Hint().ShownPosition(), store = set->Store().ShownPosition();
    for (int32_t level = 0; level < 10; ++level) {
        // Each level ends in the middle of a slide, with the other count.
        set->SetHintCount(level % 2 == 0 ? 0 : 3);
        Frames(2);
        set->DeactivateAll();
        StartLevel(level % 2 == 0 ? 2 : 0);
        EXPECT_FLOAT_EQ(set->Hint().ShownPosition().y, hint.y) << level;
        EXPECT_FLOAT_EQ(set->Store().ShownPosition().y, store.y) << level;
        EXPECT_FLOAT_EQ(HintY(), level % 2 == 0 ? 300.0f : 350.0f) << level;
        EXPECT_FLOAT_EQ(StoreY(), level % 2 == 0 ? 340.0f : 300.0f) << level;
    }
    set->SetHintCount(1);
    Frames(8);
    EXPECT_FLOAT_EQ(HintY(), 300.0f);
    EXPECT_FLOAT_EQ(StoreY(), 340.0f);
    set->SetHintCount(0);
    Frames(8);
    EXPECT_FLOAT_EQ(StoreY(), 300.0f);
}

TEST_F(ControlSetTest, BlockingMessagesReachAllOrOneControl) {
    Start(1);
    struct Case {
        const char* message;
        std::vector<bool> blocked;  // by id
    };
    const std::vector<Case> cases = {
        {"is_block::true", {true, true, true, true, true}},
        {"is_block::0", {false, false, false, false, false}},
        {"hint::is_block::1", {false, true, false, false, false}},
        {"store::is_block::true", {false, true, false, true, false}},
        {"nobody::is_block::false", {false, true, false, true, false}},
        {"is_block", {false, true, false, true, false}},
        {"", {false, true, false, true, false}},
        {"hint::is_block::false", {false, false, false, true, false}},
        {"reset_selection::is_block::yes", {false, false, false, true, false}},
        {"is_block::false", {false, false, false, false, false}},
    };
    for (const Case& c : cases) {
        Message(c.message);
        std::vector<bool> blocked;
        for (const auto& [id, control] : set->Controls()) blocked.push_back(control->IsBlocked());
        EXPECT_EQ(blocked, c.blocked) << c.message;
    }
}

TEST_F(ControlSetTest, BlockedControlsIgnorePressesButThePauseButtonStillOpensItsMenu) {
    Start(1);
    Message("is_block::true");
    EXPECT_EQ(Press(900, 300), 0);
    EXPECT_EQ(Press(512, 200), 0);
    EXPECT_TRUE(set->GetCheckModeState());
    MoveTo(950, 700);
    EXPECT_EQ(Press(950, 700), gcControl_Base::kTaken);
    EXPECT_EQ(Release(950, 700), gcControl_Base::kTaken);
    EXPECT_TRUE(Shown("GP_Menu"));
    // A level start unblocks every control.
    dispatcher.Send<>(gcBoardEvent::LevelStarted);
    for (const auto& [id, control] : set->Controls()) EXPECT_FALSE(control->IsBlocked()) << id;
}

TEST_F(ControlSetTest, ScriptsDriveTheResetButtonAndUnknownNamesDoNothing) {
    Start(1);
    for (const char* message : {"nobody::visible::false", "nobody::tool::false", "hint::tool::false", "nobody::reset",
                                "check_mode::focus::true", "reset_selection::unknown::1"}) {
        Message(message);
        EXPECT_TRUE(set->GetCheckModeState()) << message;
        EXPECT_TRUE(delegate.controls.empty()) << message;
        for (const auto& [id, control] : set->Controls()) EXPECT_TRUE(control->IsVisible()) << message;
    }
    Message("reset_selection::focus::true");
    EXPECT_TRUE(set->ResetSelection().IsFocused());
    Frames(4);
    EXPECT_EQ(ResetColor(), kBlue);
    Message("reset_selection::reset");
    EXPECT_EQ(delegate.controls, std::vector<int32_t>{4});
    EXPECT_FALSE(set->ResetSelection().IsLit());
    // A control's own text message splits the same way; the switch and the reset button take none.
    set->Hint().OnMessage("hint::visible::false");
    EXPECT_FALSE(set->Hint().IsVisible());
    set->ResetSelection().OnMessage("reset_selection::visible::false");
    EXPECT_TRUE(set->ResetSelection().IsVisible());
}

TEST_F(ControlSetTest, PlacementFollowsTheScreenFractionsOnlyWhenGiven) {
    ASSERT_TRUE(Build());
    EXPECT_FLOAT_EQ(set->CheckMode().Transform().positionX, 512.0f);
    EXPECT_FLOAT_EQ(set->CheckMode().Transform().positionY, 200.0f);
    EXPECT_FLOAT_EQ(set->Pause().Transform().positionX, 950.0f);
    EXPECT_FLOAT_EQ(set->Pause().Transform().positionY, 700.0f);
    // Placing again changes nothing.
    for (const auto& [id, control] : set->Controls()) {
        const QRV::JS_TRANSFORM3 before = control->Transform();
        control->UpdatePlacement();
        EXPECT_FLOAT_EQ(control->Transform().positionX, before.positionX) << id;
        EXPECT_FLOAT_EQ(control->Transform().positionY, before.positionY) << id;
    }
}

TEST_F(ControlSetTest, LoadingFailsWithoutThePauseButton) {
    layouts[2].second = "<pause><TRANSFORM>950 700 0 0 0 0 0 0 0 1 1 1</TRANSFORM></pause>";
    layouts[4].second = "<reset time='0.2'/>";
    EXPECT_FALSE(Build());
}

TEST_F(ControlSetTest, AMissingResetAnimationLeavesTheButtonInert) {
    layouts[4].second = "<reset time='0.2'><TRANSFORM>880 400 0 0 0 0 0 0 0 1 1 1</TRANSFORM></reset>";
    Start(1);
    EXPECT_FALSE(set->ResetSelection().IsUsable());
    dispatcher.Send<gcElement*, int32_t>(gcBoardEvent::FirstCellSelected, nullptr, 100);
    EXPECT_EQ(Release(900, 420), 0);
    EXPECT_FALSE(Shown("GP_FeedBack_Reset"));
    EXPECT_TRUE(DrawnVertices([&] { set->ResetSelection().Render(); }).empty());
}

TEST_F(ControlSetTest, TheToolSwitchLoadsOnce) {
    ASSERT_TRUE(Build());
    EXPECT_FALSE(set->CheckMode().Load());
}

TEST_F(ControlSetTest, AMissingLayoutEndsTheProgramNamingItsKey) {
    ASSERT_TRUE(Build());
    configuration.SetString("hint_button", "absent.xml");
    EXPECT_EXIT(set->Hint().Load(), ::testing::ExitedWithCode(255), "gameplay\\.hint_button");
}

}  // namespace
