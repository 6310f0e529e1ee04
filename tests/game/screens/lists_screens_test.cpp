// The side bar, the pack lists and the level list over the shipped windows and
// packs.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/graphics/animation.h"
#include "engine/gui/gui_image.h"
#include "engine/gui/gui_label.h"
#include "engine/windows/window_confirm.h"
#include "game/data/level.h"
#include "game/data/pack.h"
#include "game/screens/window_level.h"
#include "game/screens/window_pack.h"
#include "game/screens/window_pack_tutorial.h"
#include "game/screens/window_sidebar.h"
#include "tests/game/screens/screen_scene.h"

namespace {

using ScreenTest::ScreenScene;

QRV::JC_GUI_OBJECT* ItemControl(const JCPagesItem& item, const char* key) {
    const JSProperty* id = item.GetProperty(key);
    if (id == nullptr || item.gui == nullptr) return nullptr;
    return item.gui->rootObject->FindChildById(id->intValue);
}

bool ItemControlVisible(const JCPagesItem& item, const char* key) {
    const QRV::JC_GUI_OBJECT* control = ItemControl(item, key);
    return control != nullptr && control->IsVisible();
}

std::wstring ItemLabel(const JCPagesItem& item, const char* key) {
    const auto* label = dynamic_cast<const QRV::JC_GUI_WLABEL*>(ItemControl(item, key));
    return label != nullptr ? label->GetText() : L"<no label>";
}

void SetFlag(JCPagesItem& item, const char* key, bool value) {
    JSProperty* property = item.GetProperty(key);
    ASSERT_NE(property, nullptr) << key;
    property->SetBool(value ? 1 : 0);
}

class ListsScreenTest : public ScreenScene {
protected:
    void SetUp() override {
        ScreenScene::SetUp();
        if (HasFatalFailure()) return;
        if (Player() == nullptr) Root().CreatePlayer(L"Tester");
        ASSERT_NE(Player(), nullptr);
    }

    JCPacks& Packs() { return Context().packs; }
    JCPack& Pack(const char* name) {
        JCPack* pack = Packs().FindPack(name, kPackOrdinary);
        if (pack == nullptr) pack = Packs().FindPack(name, kPackTutorial);
        EXPECT_NE(pack, nullptr) << name;
        return *pack;
    }
    gcWindow_Pack& PackList() { return *WindowAs<gcWindow_Pack>("Packs"); }
    gcWindow_Level& LevelList() { return *WindowAs<gcWindow_Level>("Levels"); }
    void SetMoney(int32_t amount) {
        Player()->ResetStatistic("money");
        Player()->IncrementStatistic("money", amount);
    }
    int32_t Money() { return Player()->GetStatistic("money")->intValue; }
    void EmptyHearts() {
        while (Player()->GetHealth().LoseHeart()) {}
    }
    // The pack list shown from the title, as Play does.
    void ShowPackList() {
        Root().StartGame();
        Seconds(1.0f);
        ASSERT_TRUE(Shown("Packs"));
    }
    // The level list of the pack, shown as a click on its card does.
    void ShowLevelList(const char* pack) {
        // A list shown again keeps its grid: it takes the current pack's when it shows.
        if (JCWindow* levels = Windows().FindShownWindow("Levels")) {
            levels->Hide(true);
            Seconds(0.5f);
        }
        Packs().SelectPack(pack);
        Root().ShowLevels(false);
        Seconds(1.0f);
        ASSERT_TRUE(Shown("Levels"));
        ASSERT_EQ(LevelList().Pages(), &Pack(pack).GetPages());
    }
    // Star k of a level tile shows the u range [u0, u1].
    static std::pair<float, float> StarRange(const JCPagesItem& level, int32_t k) {
        const JSProperty* base = level.GetProperty("gui_star");
        const auto* star = dynamic_cast<const QRV::JC_GUI_IMAGE*>(
            base != nullptr && level.gui != nullptr ? level.gui->rootObject->FindChildById(base->intValue + k)
                                                    : nullptr);
        if (star == nullptr || star->sprite == nullptr) return {-1.0f, -1.0f};
        return {star->sprite->vertices[0].u, star->sprite->vertices[1].u};
    }
};

TEST_F(ListsScreenTest, PackCardsShowOpenClosedActiveScoreAndRequirement) {
    ShowPackList();
    const std::vector<const char*> names = {"pack01", "pack02", "pack03", "pack04", "pack05", "pack06"};
    // Stars won in the first pack, so that its score differs from the card's
    // written text.
    JCLevel* first = Pack("pack01").LevelAt(0);
    first->GetProperty("stars")->SetInt(2);
    for (const char* name : names) Pack(name).GetProperty("condition_to_pass")->SetString("77");
    const struct {
        const char* label;
        std::vector<bool> open;
        int active;  // the card whose active marker shows, -1 none
    } cases[] = {
        {"two open", {true, true, false, false, false, false}, 1},
        {"none open", {false, false, false, false, false, false}, -1},
        {"all open", {true, true, true, true, true, true}, -1},
        {"gaps", {true, false, true, false, true, true}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        for (size_t i = 0; i < names.size(); ++i) SetFlag(Pack(names[i]), "is_open", c.open[i]);
        PackList().Refresh();
        ASSERT_EQ(PackList().Pages().items.size(), names.size());
        for (size_t i = 0; i < names.size(); ++i) {
            SCOPED_TRACE(names[i]);
            const JCPack& pack = Pack(names[i]);
            EXPECT_EQ(PackList().Pages().items[i], &pack);
            EXPECT_EQ(ItemControlVisible(pack, "gui_open"), c.open[i]);
            EXPECT_EQ(ItemControlVisible(pack, "gui_close"), !c.open[i]);
            EXPECT_EQ(ItemControlVisible(pack, "gui_active"), static_cast<int>(i) == c.active);
            EXPECT_EQ(ItemLabel(pack, "gui_required"), L"77");
            if (c.open[i]) {
                const std::wstring most = std::to_wstring(3 * pack.GetLevelCount());
                EXPECT_EQ(ItemLabel(pack, "gui_score"), (i == 0 ? L"2/" : L"0/") + most);
            }
        }
    }
    // A closed card keeps the score it showed last.
    SetFlag(Pack("pack01"), "is_open", false);
    first->GetProperty("stars")->SetInt(3);
    PackList().Refresh();
    EXPECT_EQ(ItemLabel(Pack("pack01"), "gui_score").substr(0, 2), L"2/");
}

TEST_F(ListsScreenTest, LevelTilesShowLooksNumbersAndStarHalves) {
    JCPack& pack = Pack("pack01");
    ASSERT_GE(pack.GetLevelCount(), 5u);
    const struct {
        bool open;
        int32_t stars;
    } levels[] = {{true, 3}, {true, 2}, {true, 0}, {false, 0}, {false, 1}};
    for (size_t i = 0; i < std::size(levels); ++i) {
        SetFlag(*pack.LevelAt(i), "is_open", levels[i].open);
        pack.LevelAt(i)->GetProperty("stars")->SetInt(levels[i].stars);
    }
    ShowLevelList("pack01");
    for (size_t i = 0; i < std::size(levels); ++i) {
        SCOPED_TRACE(i);
        const JCLevel& level = *pack.LevelAt(i);
        EXPECT_EQ(ItemControlVisible(level, "gui_open"), levels[i].open);
        EXPECT_EQ(ItemControlVisible(level, "gui_number"), levels[i].open);
        EXPECT_EQ(ItemControlVisible(level, "gui_close"), !levels[i].open);
        // Only the level before the first closed one.
        EXPECT_EQ(ItemControlVisible(level, "gui_active"), i == 2);
        EXPECT_EQ(ItemLabel(level, "gui_number"), std::to_wstring(i + 1));
        for (int32_t k = 0; k < 3; ++k) {
            const auto [u0, u1] = StarRange(level, k);
            const bool won = k < levels[i].stars;
            EXPECT_FLOAT_EQ(u0, won ? 0.5f : 0.0f) << "star " << k;
            EXPECT_FLOAT_EQ(u1, won ? 1.0f : 0.5f) << "star " << k;
        }
    }
    // Two stars: two right halves and one left half.
    EXPECT_EQ(StarRange(*pack.LevelAt(1), 0), std::make_pair(0.5f, 1.0f));
    EXPECT_EQ(StarRange(*pack.LevelAt(1), 1), std::make_pair(0.5f, 1.0f));
    EXPECT_EQ(StarRange(*pack.LevelAt(1), 2), std::make_pair(0.0f, 0.5f));
}

// A tutorial card counts the stars its level list draws, as an ordinary card does: one count per
// level (a value outside 0..3 from an odd save counts as the tile draws it), on show and refresh.
TEST_F(ListsScreenTest, TutorialCardsCountTheStarsTheirLevelTilesDraw) {
    const struct {
        const char* pack;
        std::vector<int32_t> stars;
        const wchar_t* card;
    } cases[] = {
        {"tutorial01", {3, 3, 3, 3}, L"12/12"},
        {"tutorial02", {2, 0, 5, -1}, L"5/12"},
    };
    for (const auto& c : cases) {
        JCPack& pack = Pack(c.pack);
        ASSERT_EQ(pack.GetLevelCount(), c.stars.size()) << c.pack;
        for (size_t i = 0; i < c.stars.size(); ++i) pack.LevelAt(i)->GetProperty("stars")->SetInt(c.stars[i]);
    }
    Root().ShowTutorialList();
    Seconds(1.0f);
    ASSERT_TRUE(Shown("Tutorial"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pack);
        EXPECT_EQ(ItemLabel(Pack(c.pack), "gui_score"), c.card);
    }
    // The list refreshed (as a player selection does) shows the stars won since.
    Pack("tutorial02").LevelAt(1)->GetProperty("stars")->SetInt(1);
    Window("Tutorial")->Refresh();
    EXPECT_EQ(ItemLabel(Pack("tutorial02"), "gui_score"), L"6/12");

    // Each level list draws as many won stars as its card counted.
    const struct {
        const char* pack;
        int drawn;
    } lists[] = {{"tutorial01", 12}, {"tutorial02", 6}};
    for (const auto& l : lists) {
        SCOPED_TRACE(l.pack);
        ShowLevelList(l.pack);
        const JCPack& pack = Pack(l.pack);
        int drawn = 0;
        for (size_t i = 0; i < pack.GetLevelCount(); ++i)
            for (int32_t k = 0; k < 3; ++k) drawn += StarRange(*pack.LevelAt(i), k).first == 0.5f ? 1 : 0;
        EXPECT_EQ(drawn, l.drawn);
    }
}

// The heading above the level list names the pack whose levels it shows.
TEST_F(ListsScreenTest, TheLevelListHeadingNamesItsPack) {
    const struct {
        const char* pack;
        const wchar_t* heading;
    } cases[] = {{"pack01", L"At Home"}, {"pack02", L"Animals"}, {"pack01", L"At Home"}};
    for (const auto& c : cases) {
        ShowLevelList(c.pack);
        JCWindow* title = Windows().FindShownWindow("Level_Title");
        ASSERT_NE(title, nullptr) << c.pack;
        ASSERT_NE(title->gui, nullptr);
        const auto* label = dynamic_cast<const QRV::JC_GUI_WLABEL*>(title->gui->rootObject->FindChildById(101));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->GetText(), c.heading) << c.pack;
    }
}

TEST_F(ListsScreenTest, ALockedPackIsBoughtWithMoneyEqualToItsPriceAndRefusedBelow) {
    const struct {
        const char* label;
        bool openBefore;
        int32_t money;
        bool bought;
    } cases[] = {
        {"closed, exact money", false, 500, true},
        {"open, exact money", true, 500, true},
        {"closed, one short", false, 499, false},
        {"open, one short", true, 499, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ShowPackList();
        JCPack& pack = Pack("pack06");
        ASSERT_EQ(pack.GetProperty("price")->intValue, 500);
        SetFlag(pack, "is_lock", true);
        SetFlag(pack, "is_open", c.openBefore);
        SetFlag(*pack.GetFirstLevel(), "is_open", false);
        SetMoney(c.money);
        PackList().Refresh();
        std::filesystem::remove(SaveFolder() + "players.xml");

        PackList().OnItemClick(&pack);
        Seconds(0.5f);
        ASSERT_TRUE(Settled("confirm_pack_buy"));
        EXPECT_FALSE(Shown("Levels"));
        // The price fills the offer's text.
        auto* offer = WindowAs<JCWindow_Confirm>("confirm_pack_buy");
        ASSERT_NE(offer->textLabel, nullptr);
        EXPECT_NE(offer->textLabel->GetText().find(L"500"), std::wstring::npos);
        ASSERT_TRUE(ClickControl("confirm_pack_buy", 3));
        Seconds(0.5f);

        EXPECT_FALSE(Shown("confirm_pack_buy"));
        EXPECT_EQ(Shown("confirm_pack_buy_dont_have_money"), !c.bought);
        EXPECT_EQ(Money(), c.bought ? 0 : c.money);
        EXPECT_EQ(pack.GetProperty("is_lock")->intValue, c.bought ? 0 : 1);
        EXPECT_EQ(pack.GetProperty("is_open")->intValue, c.bought || c.openBefore ? 1 : 0);
        EXPECT_EQ(pack.GetFirstLevel()->GetProperty("is_open")->intValue, c.bought ? 1 : 0);
        EXPECT_EQ(ItemControlVisible(pack, "gui_open"), c.bought || c.openBefore);
        // The purchase is saved at once.
        EXPECT_EQ(!ReadSave("players.xml").empty(), c.bought);
        if (Shown("confirm_pack_buy_dont_have_money")) ClickControl("confirm_pack_buy_dont_have_money", 5);
        Seconds(0.5f);
    }
}

// The shipped last pack comes locked: its card offers to buy it, a closed unlocked one only says so.
TEST_F(ListsScreenTest, ShippedCardsAnswerAClickByTheirState) {
    ShowPackList();
    const struct {
        const char* pack;
        const char* shown;
    } cases[] = {{"pack06", "confirm_pack_buy"}, {"pack02", "confirm_pack_is_close"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pack);
        PackList().OnItemClick(&Pack(c.pack));
        Seconds(0.5f);
        EXPECT_TRUE(Settled(c.shown));
        WindowAs<JCWindow_Confirm>(c.shown)->OnButton(5);
        Seconds(0.5f);
    }
}

TEST_F(ListsScreenTest, TheBuyOffersNoAndCloseBuyNothing) {
    for (int32_t button : {4, 5}) {
        SCOPED_TRACE(button);
        ShowPackList();
        JCPack& pack = Pack("pack06");
        SetFlag(pack, "is_lock", true);
        SetMoney(900);
        PackList().OnItemClick(&pack);
        Seconds(0.5f);
        if (button == 5) {
            // The offer has no close button: its close answer comes as the window's
            // own.
            WindowAs<JCWindow_Confirm>("confirm_pack_buy")->OnButton(5);
            Seconds(0.5f);
            EXPECT_EQ(Money(), 900);
            EXPECT_EQ(pack.GetProperty("is_lock")->intValue, 1);
            continue;
        }
        ASSERT_TRUE(ClickControl("confirm_pack_buy", button));
        Seconds(0.5f);
        EXPECT_EQ(Money(), 900);
        EXPECT_EQ(pack.GetProperty("is_lock")->intValue, 1);
    }
}

TEST_F(ListsScreenTest, ALevelClickWithoutHeartsOffersTheShopOutsideTutorialPacks) {
    EmptyHearts();
    ASSERT_EQ(Player()->GetHealth().GetCount(), 0);
    SetFlag(*Pack("pack01").LevelAt(0), "is_open", true);
    ShowLevelList("pack01");
    LevelList().OnItemClick(Pack("pack01").LevelAt(0));
    Seconds(0.5f);
    EXPECT_TRUE(Shown("confirm_health_is_empty"));
    EXPECT_FALSE(Shown("Fade_Transition"));
    EXPECT_TRUE(LevelList().ClickedLevel().empty());
    // "No" answers nothing; the list stays.
    ASSERT_TRUE(ClickControl("confirm_health_is_empty", 4));
    Seconds(1.0f);
    EXPECT_TRUE(Shown("Levels"));
    EXPECT_FALSE(Root().Gameplay().IsRunning());
    if (Window("Shop") != nullptr) {
        LevelList().OnItemClick(Pack("pack01").LevelAt(0));
        Seconds(0.5f);
        ASSERT_TRUE(ClickControl("confirm_health_is_empty", 3));
        Seconds(0.5f);
        EXPECT_TRUE(Shown("Shop"));
    }

    // A tutorial pack's level starts all the same.
    ShowLevelList("tutorial01");
    LevelList().OnItemClick(Pack("tutorial01").LevelAt(0));
    Seconds(2.0f);
    EXPECT_FALSE(Shown("confirm_health_is_empty"));
    EXPECT_TRUE(Root().Gameplay().IsRunning());
    EXPECT_FALSE(Shown("Levels"));
    EXPECT_FALSE(Shown("Fade_Transition"));
}

// With hearts switched off in the edition the check passes at 0 hearts too.
TEST_F(ListsScreenTest, ALevelStartsAtZeroHeartsWhenTheEditionHasNoHearts) {
    Global().EditionConfig().SetInt("heart", 0);
    EmptyHearts();
    SetFlag(*Pack("pack01").LevelAt(0), "is_open", true);
    ShowLevelList("pack01");
    LevelList().OnItemClick(Pack("pack01").LevelAt(0));
    Seconds(2.0f);
    EXPECT_FALSE(Shown("confirm_health_is_empty"));
    EXPECT_TRUE(Root().Gameplay().IsRunning());
}

// The tiles' pictures are the list's only while it shows: hidden, it gives them back, so the sweep
// after a level start can free them.
TEST_F(ListsScreenTest, TheLevelListReleasesItsTilesWhenHidden) {
    ShowLevelList("pack02");
    const JCLevel& tile = *Pack("pack02").LevelAt(0);
    const auto* open = dynamic_cast<const QRV::JC_GUI_IMAGE*>(ItemControl(tile, "gui_open"));
    ASSERT_NE(open, nullptr);
    ASSERT_NE(open->sprite, nullptr);
    EXPECT_TRUE(open->sprite->HasTexture());
    EXPECT_EQ(Pack("pack02").GetPages().delegate, &LevelList());
    Window("Levels")->Hide(false);
    Seconds(1.0f);
    EXPECT_FALSE(open->sprite->HasTexture());
    EXPECT_EQ(LevelList().Pages(), nullptr);
    EXPECT_EQ(Pack("pack02").GetPages().delegate, nullptr);
    EXPECT_EQ(Pack("pack02").GetPages().pageNumber, nullptr);
}

TEST_F(ListsScreenTest, TheLevelStartCompletesWithOrWithoutABarAndDisarmsOnlyItsReceiver) {
    for (const bool withBars : {false, true}) {
        SCOPED_TRACE(withBars ? "bars shown" : "no bar shown");
        SetFlag(*Pack("pack01").LevelAt(0), "is_open", true);
        ShowLevelList("pack01");
        if (!withBars) {
            for (const char* bar : {"Sumie", "Stars", "Heart", "Sidebar"}) {
                if (JCWindow* window = Windows().FindShownWindow(bar)) window->Hide(true);
            }
            Seconds(0.5f);
        }
        ASSERT_EQ(Shown("Sidebar"), withBars);
        LevelList().OnItemClick(Pack("pack01").LevelAt(0));
        Seconds(2.0f);
        EXPECT_TRUE(Root().Gameplay().IsRunning());
        EXPECT_FALSE(Shown("Fade_Transition"));
        EXPECT_FALSE(Shown("Levels"));
        EXPECT_EQ(LevelList().Pages(), nullptr);
        for (const char* bar : {"Sumie", "Stars", "Heart", "Sidebar"}) {
            if (const JCWindow* window = Window(bar)) {
                EXPECT_FALSE(window->cbHidden) << bar;
            }
        }
        // Leaving the level: the bars come back and go without starting anything.
        Root().ShowLevels(true);
        Seconds(1.0f);
        EXPECT_FALSE(Root().Gameplay().IsRunning());
        if (JCWindow* sidebar = Windows().FindShownWindow("Sidebar")) sidebar->Hide(true);
        Seconds(1.0f);
        EXPECT_FALSE(Root().Gameplay().IsRunning());
        EXPECT_FALSE(Shown("Fade_Transition"));
    }
}

TEST_F(ListsScreenTest, ALevelThatFailsToStartReturnsToTheList) {
    for (const bool withBars : {true, false}) {
        SCOPED_TRACE(withBars ? "bars shown" : "no bar shown");
        JCLevel& level = *Pack("pack01").LevelAt(0);
        SetFlag(level, "is_open", true);
        const std::string name = level.GetProperty("name")->text;
        // A level of no pack: the start refuses it.
        const std::string missing = "packzz.level01";
        ShowLevelList("pack01");
        if (!withBars) {
            for (const char* bar : {"Sumie", "Stars", "Heart", "Sidebar"}) {
                if (JCWindow* window = Windows().FindShownWindow(bar)) window->Hide(true);
            }
            Seconds(0.5f);
        }
        level.GetProperty("name")->SetString(missing);
        testing::internal::CaptureStderr();
        LevelList().OnItemClick(&level);
        Seconds(2.0f);
        const std::string err = testing::internal::GetCapturedStderr();
        level.GetProperty("name")->SetString(name);
        EXPECT_NE(err.find(missing), std::string::npos) << err;
        EXPECT_FALSE(Root().Gameplay().IsRunning());
        EXPECT_TRUE(Settled("Levels"));
        EXPECT_TRUE(Shown("Level_Title"));
        EXPECT_TRUE(Shown("Sidebar"));
        EXPECT_FALSE(Shown("Fade_Transition"));
        EXPECT_EQ(LevelList().Pages(), &Pack("pack01").GetPages());
    }
}

TEST_F(ListsScreenTest, SideBarPacksAndBackFollowTheShownList) {
    ShowPackList();
    ASSERT_TRUE(Settled("Sidebar"));
    // Packs while the pack list is shown: nothing, no close and reopen.
    ASSERT_TRUE(ClickControl("Sidebar", 2));
    Frames(2);
    EXPECT_TRUE(Settled("Packs"));
    EXPECT_TRUE(Shown("Pack_Title"));

    // Back from a tutorial pack's levels: the tutorial list.
    ShowLevelList("tutorial01");
    ASSERT_TRUE(ClickControl("Sidebar", 5));
    Seconds(1.0f);
    EXPECT_FALSE(Shown("Levels"));
    EXPECT_FALSE(Shown("Level_Title"));
    EXPECT_TRUE(Shown("Tutorial"));
    EXPECT_TRUE(Shown("Tutorial_Title"));

    // From an ordinary pack's levels: the pack list.
    ShowLevelList("pack01");
    ASSERT_TRUE(ClickControl("Sidebar", 5));
    Seconds(1.0f);
    EXPECT_TRUE(Shown("Packs"));
    EXPECT_FALSE(Shown("Levels"));

    // From the pack list: the fade, then the title without the bars.
    ASSERT_TRUE(ClickControl("Sidebar", 5));
    Frames(2);
    EXPECT_TRUE(Shown("Fade_Transition"));
    Seconds(2.0f);
    EXPECT_TRUE(Shown("Title"));
    EXPECT_FALSE(Shown("Fade_Transition"));
    for (const char* name : {"Packs", "Pack_Title", "Sidebar", "Back"}) EXPECT_FALSE(Shown(name)) << name;
    EXPECT_FALSE(Window("Fade_Transition")->cbShown);
}

TEST_F(ListsScreenTest, SideBarSwitchesBetweenTheLists) {
    ShowPackList();
    const struct {
        int32_t button;
        const char* shown;
        std::vector<const char*> hidden;
    } cases[] = {
        {8, "Tutorial", {"Packs", "Pack_Title"}},
        {2, "Packs", {"Tutorial", "Tutorial_Title"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        ASSERT_TRUE(ClickControl("Sidebar", c.button));
        Seconds(1.0f);
        EXPECT_TRUE(Shown(c.shown));
        for (const char* name : c.hidden) EXPECT_FALSE(Shown(name)) << name;
    }
    // A tutorial card opens its levels.
    ASSERT_TRUE(ClickControl("Sidebar", 8));
    Seconds(1.0f);
    WindowAs<gcWindow_PackTutorial>("Tutorial")->OnItemClick(&Pack("tutorial02"));
    Seconds(1.0f);
    EXPECT_FALSE(Shown("Tutorial"));
    EXPECT_TRUE(Shown("Levels"));
    EXPECT_EQ(Packs().GetCurrentPack(), &Pack("tutorial02"));
}

// The catalogue's packs are lent to the lists and the current pack's grid to
// the level list: the teardown (windows deleted, then the packs) frees each
// once, with "Levels" shown.
TEST_F(ListsScreenTest, TeardownWithTheLevelListShownFreesEveryPackOnce) {
    ShowLevelList("pack02");
    ASSERT_TRUE(Shown("Levels"));
    const size_t lent = PackList().Pages().items.size();
    EXPECT_EQ(lent, Packs().GetKindList(kPackOrdinary).size());
    for (const JCPagesItem* item : PackList().Pages().items) EXPECT_FALSE(PackList().Pages().Owns(item));
    // The recorder leaves the dispatcher before the context (and the dispatcher) goes.
    recorder.reset();
    Global().Shutdown();
    EXPECT_EQ(Global().GetContext(), nullptr);
}

class ListsTouchScreenTest : public ListsScreenTest {
protected:
    void BeforeStart() override { Global().EditionConfig().SetString("platform", "ios"); }
};

TEST_F(ListsTouchScreenTest, BackExistsOnlyWithTheLevelListAndDragsTurnPages) {
    ASSERT_TRUE(Global().CheckPlatform());
    EXPECT_EQ(PackList().Pages().slideEffect.enabled, 1);
    ShowPackList();
    QRV::JC_GUI_OBJECT* back = Control("Sidebar", 5);
    ASSERT_NE(back, nullptr);
    EXPECT_FALSE(back->IsVisible());
    EXPECT_FALSE(back->IsEnabled());
    ShowLevelList("pack01");
    EXPECT_TRUE(back->IsVisible());
    EXPECT_TRUE(back->IsEnabled());
    WindowAs<gcWindow_Sidebar>("Sidebar")->OnButton(5);
    Seconds(1.0f);
    EXPECT_TRUE(Shown("Packs"));
    EXPECT_FALSE(back->IsVisible());
    // Without the level list Back does nothing: no way to the title.
    WindowAs<gcWindow_Sidebar>("Sidebar")->OnButton(5);
    Frames(2);
    EXPECT_FALSE(Shown("Fade_Transition"));
    EXPECT_TRUE(Shown("Packs"));
}

TEST_F(ListsScreenTest, OnTheDesktopDragsDoNotTurnThePackPages) {
    EXPECT_EQ(PackList().Pages().slideEffect.enabled, 0);
    EXPECT_EQ(WindowAs<gcWindow_PackTutorial>("Tutorial")->Pages().slideEffect.enabled, 0);
}

}  // namespace
