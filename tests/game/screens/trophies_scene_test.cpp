// The trophy screens and the bars in the running game over the shipped content: the list of every
// shipped trophy, an award announced and closed with the mouse, the board paused under the
// announcement, and the bars' clicks and counts.
#include <string>

#include "engine/gui/gui_label.h"
#include "game/data/level.h"
#include "game/data/pack.h"
#include "game/data/packs.h"
#include "game/screens/trophy_item.h"
#include "game/screens/window_bar_health.h"
#include "game/screens/window_bar_money.h"
#include "game/screens/window_trophy.h"
#include "game/screens/window_trophy_get.h"
#include "tests/game/screens/screen_scene.h"

namespace {

using ScreenTest::ScreenScene;

class TrophiesSceneTest : public ScreenScene {
protected:
    static std::wstring LabelText(const std::string& window, int32_t id) {
        const auto* label = dynamic_cast<const QRV::JC_GUI_WLABEL*>(Control(window, id));
        return label != nullptr ? label->GetText() : L"<none>";
    }
    static const gcPagesItem_Trophy* Item(const std::string& trophy) {
        for (JCPagesItem* item : WindowAs<gcWindow_Trophy>("Trophy")->Pages()->items) {
            const auto* entry = dynamic_cast<const gcPagesItem_Trophy*>(item);
            if (entry != nullptr && entry->TrophyName() == trophy) return entry;
        }
        return nullptr;
    }
    static bool OpenMedal(const gcPagesItem_Trophy* item) {
        return item->gui->rootObject->FindChildById(TrophyItemControl::kOpenMedal)->IsVisible();
    }
    // The first level of the second ordinary pack (not the one that asks about the tutorial).
    static std::string SomeLevel() {
        const JCPacks::PackList& packs = Context().packs.GetKindList(kPackOrdinary);
        if (packs.size() < 2 || packs[1]->GetFirstLevel() == nullptr) return "";
        const JSProperty* name = packs[1]->GetFirstLevel()->GetProperty("name");
        return name != nullptr ? name->text : "";
    }
};

TEST_F(TrophiesSceneTest, AnAwardIsAnnouncedClosedWithTheMouseAndShownOpenInTheList) {
    ASSERT_NE(Player(), nullptr);
    Root().ShowTrophies();
    Seconds(1.0f);
    ASSERT_TRUE(Settled("Trophy"));
    EXPECT_TRUE(Shown("Trophy_Title"));
    // One item per shipped trophy, every medal closed for a new player.
    ASSERT_EQ(WindowAs<gcWindow_Trophy>("Trophy")->Pages()->items.size(), Context().trophies.Trophies().size());
    for (const QRV::G_TROPHY* trophy : Context().trophies.Trophies()) {
        SCOPED_TRACE(trophy->name);
        ASSERT_NE(Item(trophy->name), nullptr);
        EXPECT_FALSE(OpenMedal(Item(trophy->name)));
    }
    EXPECT_EQ(LabelText("Sumie", gcWindow_BarMoney::kMoneyLabel), L"0");

    const std::string name = "achievements_txt_currency01_name";
    const QRV::G_TROPHY* trophy = Context().trophies.FindTrophy(name);
    ASSERT_NE(trophy, nullptr);
    Player()->IncrementStatistic("money", 500);
    ASSERT_TRUE(Root().CheckTrophy(name));
    Root().CheckAllTrophies(name);
    EXPECT_TRUE(OpenMedal(Item(name)));
    Seconds(1.0f);
    ASSERT_TRUE(Settled("Trophy_Get"));
    EXPECT_EQ(WindowAs<gcWindow_TrophyGet>("Trophy_Get")->Title(), Context().stringTable.GetWide(name));
    EXPECT_EQ(LabelText("Trophy_Get", gcWindow_TrophyGet::kBonusLabel), L"+" + std::to_wstring(trophy->bonus));
    // The money bar followed the money and the bonus.
    EXPECT_EQ(LabelText("Sumie", gcWindow_BarMoney::kMoneyLabel), std::to_wstring(500 + trophy->bonus));

    // The list below the modal announcement takes no click; OK closes it.
    ASSERT_TRUE(ClickControl("Trophy_Get", gcWindow_TrophyGet::kCloseButton));
    Seconds(1.0f);
    EXPECT_FALSE(Shown("Trophy_Get"));
    EXPECT_TRUE(Settled("Trophy"));
    EXPECT_TRUE(OpenMedal(Item(name)));
}

TEST_F(TrophiesSceneTest, TheAnnouncementPausesTheBoardAndResumesItUnlessThePauseMenuStaysUp) {
    const std::string level = SomeLevel();
    ASSERT_FALSE(level.empty());
    for (const bool menuUp : {false, true}) {
        SCOPED_TRACE(menuUp ? "pause menu shown" : "board alone");
        // The pause menu keeps the board paused; until the list holds it, only the first case runs
        // here (the unit tests cover the rule with a window of its name).
        if (menuUp && Window("GP_Menu") == nullptr) break;
        ASSERT_TRUE(Root().StartLevel(level));
        Windows().ClearQueue();
        for (JCWindow* window : Windows().Stack())
            if (window->name != "Trophy_Get") window->Hide(true);
        Seconds(1.0f);
        ASSERT_TRUE(Root().Gameplay().IsRunning());
        Root().ExecuteCommand("gameplay::resume");
        ASSERT_FALSE(Root().Gameplay().IsPaused());
        if (menuUp) Windows().ShowWindow("GP_Menu", true);

        auto* announcer = WindowAs<gcWindow_TrophyGet>("Trophy_Get");
        announcer->AddPendingTrophy(Context().trophies.Trophies().front());
        Windows().QueueWindow("Trophy_Get");
        Seconds(1.0f);
        EXPECT_TRUE(Root().Gameplay().IsPaused());
        announcer->OnButton(gcWindow_TrophyGet::kCloseButton);
        Seconds(1.0f);
        EXPECT_FALSE(Shown("Trophy_Get"));
        EXPECT_EQ(Root().Gameplay().IsPaused(), menuUp);
        Root().CloseGameplay();
        Seconds(1.0f);
    }
}

TEST_F(TrophiesSceneTest, HeartsBarClickShowsTheNoticeForAWhile) {
    Root().ShowTrophies();
    Seconds(1.0f);
    ASSERT_TRUE(Settled("Heart"));
    EXPECT_EQ(LabelText("Heart", gcWindow_BarHealth::kCountLabel), std::to_wstring(Player()->GetHealth().GetCount()));
    EXPECT_EQ(LabelText("Heart", gcWindow_BarHealth::kCountdownLabel), L"Hearts full");
    ASSERT_TRUE(ClickControl("Heart", 3));
    Seconds(1.0f);
    EXPECT_TRUE(Shown("FeedBack_Heart"));
    Seconds(4.0f);
    EXPECT_FALSE(Shown("FeedBack_Heart"));
    EXPECT_TRUE(Shown("Heart"));
}

}  // namespace
