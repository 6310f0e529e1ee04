// The trophy list, the trophy announcement and the menu bars over the application's own context,
// loaded from the game's own window and layout sources (placeholders filled as the content
// builder fills them) with the game's English strings, a few trophies and a current player.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/gui/gui_image.h"
#include "engine/gui/gui_label.h"
#include "engine/platform/clock.h"
#include "engine/resources/repository_manager.h"
#include "engine/windows/window.h"
#include "engine/windows/window_manager.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/app/global.h"
#include "game/data/calendar_clock.h"
#include "game/data/game_player.h"
#include "game/data/trophy.h"
#include "game/screens/screen_windows.h"
#include "game/screens/trophy_item.h"
#include "game/screens/window_bar_health.h"
#include "game/screens/window_bar_money.h"
#include "game/screens/window_trophy.h"
#include "game/screens/window_trophy_get.h"
#include "game/ui/window_factory.h"
#include "tests/graphics/sprite_test_support.h"
#include "tools/content_builder/layout_placeholders.h"
#include "tools/content_builder/string_table_source.h"

namespace {

namespace CB = ContentBuilder;

const std::string kContent = QUORVEL_CONTENT_DIR;
int64_t g_trophiesNow = 5'000'000;
int64_t TrophiesTestClock() { return g_trophiesNow; }

std::string ReadSource(const std::string& relative) {
    std::ifstream in(kContent + "/" + relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Three trophies of the shipped names: two met by a fresh player's first clean level, one not.
constexpr const char* kTrophies = R"(<trophies>
  <trophy name="achievements_txt_hints01_no_name" desc="achievements_txt_hints01_no_desc" bonus="50"
          image_open="medal_a_open.png" image_close="medal_a_closed.png">
    <condition name="without_hint_in_row_max" value_type="int" value="1" operator="&gt;="/>
  </trophy>
  <trophy name="achievements_txt_noerrors01_name" desc="achievements_txt_noerrors01_desc" bonus="70"
          image_open="medal_b_open.png" image_close="medal_b_closed.png">
    <condition name="without_error_in_row_max" value_type="int" value="1" operator="&gt;="/>
  </trophy>
  <trophy name="achievements_txt_intime01_name" desc="achievements_txt_intime01_desc" bonus="150"
          image_open="medal_c_open.png" image_close="medal_c_closed.png">
    <condition name="level_time_min" value_type="float" value="60" operator="&lt;="/>
  </trophy>
</trophies>)";

// Stands for the running level: records the commands the announcement sends.
class RecordingLevel : public gcTrophyGetLevel {
public:
    bool IsLevelRunning() const override { return running; }
    void Command(const std::string& command) override { commands.push_back(command); }
    bool running = false;
    std::vector<std::string> commands;
};

class TrophiesScreenTest : public QRV::TestSupport::SpriteSceneTest {
protected:
    void SetUp() override {
        SpriteSceneTest::SetUp();
        if (const char* old = std::getenv("XDG_DATA_HOME")) oldXdg = old;
        setenv("XDG_DATA_HOME", (root / "xdg").c_str(), 1);
        Game::SetCalendarClock(&TrophiesTestClock);
        globals.Set(QRV::g_frameTime, 1.0f / 60.0f);
        RegisterScreenWindows();
        gcContext& c = Context();
        c.game = std::make_unique<gcGame>(gcGlobal::Instance());
        c.windowManager.defaultFactory = &CreateWindowByType;

        const std::string strings = CB::StringTableXml(CB::ParseStringsSource(ReadSource("strings/en.txt")), "en");
        ASSERT_TRUE(c.stringTable.LoadFromMemory(strings.data(), strings.size()));
        pugi::xml_document trophies;
        ASSERT_TRUE(trophies.load_string(kTrophies));
        ASSERT_TRUE(c.trophies.LoadTrophiesFrom(trophies));
        c.trophies.SetDispatcher(c.eventDispatcher);
        for (const char* stem : {"medal_a", "medal_b", "medal_c"}) {
            PutImage(std::string(stem) + "_open.png", 8, 8);
            PutImage(std::string(stem) + "_closed.png", 8, 8);
        }

        for (const char* name : {"Trophy", "Trophy_Title", "Trophy_Get", "Heart", "Sumie", "Stars", "FeedBack_Heart"})
            Put(std::string("data/share/windows/") + name + ".xml",
                CB::ExpandLayoutPlaceholders(ReadSource(std::string("windows/") + name + ".xml")));
        Put("data/share/layouts/trophies.xml", CB::ExpandLayoutPlaceholders(ReadSource("layouts/trophies.xml")));
        for (const char* repository : {"", "data/share/windows", "data/share/layouts"}) QRV::LoadRepository(repository);
        for (const char* name : {"Trophy_Title", "Trophy", "Trophy_Get", "Heart", "Sumie", "Stars", "FeedBack_Heart"})
            ASSERT_NE(c.windowManager.LoadWindow(std::string("data/share/windows ") + name + ".xml"), nullptr) << name;
        Announcer()->SetLevel(&level);
    }
    void TearDown() override {
        gcContext& c = Context();
        c.windowManager.DeleteAllWindows();
        c.windowManager.defaultFactory = nullptr;
        c.game.reset();
        c.playerManager.Clear();
        c.trophies.Clear();
        c.trophies.SetDispatcher(nullptr);
        c.stringTable.Clear();
        Game::SetCalendarClock(nullptr);
        if (oldXdg) setenv("XDG_DATA_HOME", oldXdg->c_str(), 1);
        else unsetenv("XDG_DATA_HOME");
        SpriteSceneTest::TearDown();
    }

    static gcContext& Context() { return *gcGlobal::Instance().GetContext(); }
    static JCWindowManager& Windows() { return Context().windowManager; }
    static gcGame& Root() { return *Context().game; }
    template <class Window>
    static Window* Find(const char* name) {
        return dynamic_cast<Window*>(Windows().FindWindow(name));
    }
    static gcWindow_TrophyGet* Announcer() { return Find<gcWindow_TrophyGet>("Trophy_Get"); }
    static bool Shown(const char* name) { return Windows().FindShownWindow(name) != nullptr; }
    static std::wstring Text(const char* window, int32_t id) {
        JCWindow* w = Windows().FindWindow(window);
        auto* label = w != nullptr ? dynamic_cast<QRV::JC_GUI_WLABEL*>(w->gui->rootObject->FindChildById(id)) : nullptr;
        return label != nullptr ? label->GetText() : L"<none>";
    }
    static std::wstring Localised(const char* key) { return Context().stringTable.GetWide(key); }
    static void Frames(int count) {
        for (int i = 0; i < count; ++i) Windows().Update();
    }
    // Frames until the announcement has closed (the OK button's click).
    static void CloseAnnouncement() {
        Announcer()->OnButton(gcWindow_TrophyGet::kCloseButton);
        Frames(120);
    }

    gcPlayer* MakePlayer(const wchar_t* name) {
        Context().playerManager.SetListener(&Root());
        Root().DefaultPlayer().SetItemCount("life", 5);
        gcPlayer* player = Root().CreatePlayer(name);
        if (player != nullptr) {
            while (player->GetHealth().AddHeart()) {}
        }
        return player;
    }

    RecordingLevel level;
    std::optional<std::string> oldXdg;
};

// --- the announcement

TEST_F(TrophiesScreenTest, TwoTrophiesOfOneCheckAreAnnouncedNewestFirstEachWithItsBonus) {
    gcPlayer* player = MakePlayer(L"Ann");
    ASSERT_NE(player, nullptr);
    player->IncrementStatistic("without_hint_in_row", 1);
    player->IncrementStatistic("without_error_in_row", 1);
    ASSERT_NE(player->GetStatistic("without_error_in_row_max"), nullptr);
    Root().CheckLevelTrophies();
    ASSERT_TRUE(Shown("Trophy_Get"));
    EXPECT_EQ(Windows().Queue().size(), 2u);

    struct Expected {
        const char* name;
        const char* desc;
        const wchar_t* bonus;
    };
    const Expected order[] = {
        {"achievements_txt_noerrors01_name", "achievements_txt_noerrors01_desc", L"+70"},
        {"achievements_txt_hints01_no_name", "achievements_txt_hints01_no_desc", L"+50"},
    };
    for (const Expected& expected : order) {
        SCOPED_TRACE(expected.name);
        Frames(1);
        ASSERT_TRUE(Shown("Trophy_Get"));
        EXPECT_EQ(Announcer()->Title(), Localised(expected.name));
        EXPECT_EQ(Announcer()->Description(), Localised(expected.desc));
        // The format is the label's first text and stays the format at every later show.
        EXPECT_EQ(Announcer()->BonusFormat(), L"+%i");
        EXPECT_EQ(Text("Trophy_Get", gcWindow_TrophyGet::kBonusLabel), expected.bonus);
        CloseAnnouncement();
    }
    EXPECT_FALSE(Shown("Trophy_Get"));
    EXPECT_TRUE(Announcer()->Pending().empty());
    // Both bonuses were paid.
    EXPECT_EQ(player->GetStatistic("money")->intValue, 120);
}

TEST_F(TrophiesScreenTest, MedalOfTheAnnouncementIsItsOwnCopyOfTheOpenPicture) {
    gcPlayer* player = MakePlayer(L"Ann");
    player->IncrementStatistic("without_hint_in_row", 1);
    Root().CheckLevelTrophies();
    Frames(1);
    auto* medal =
        dynamic_cast<QRV::JC_GUI_IMAGE*>(Announcer()->gui->rootObject->FindChildById(gcWindow_TrophyGet::kMedalImage));
    ASSERT_NE(medal, nullptr);
    const QRV::G_TROPHY* trophy = Context().trophies.FindTrophy("achievements_txt_hints01_no_name");
    EXPECT_EQ(medal->sprite->textureName, trophy->openPicture.textureName);
    // Placed by the widget, not by the picture it was copied from.
    EXPECT_EQ(medal->sprite->transform, medal->transform);
    EXPECT_NE(medal->sprite->texture, nullptr);
    CloseAnnouncement();
}

TEST_F(TrophiesScreenTest, AnnouncementPausesAndResumesOnlyWhereThePausingRuleAllows) {
    struct Case {
        const char* what;
        bool running;
        bool trophyPending;
        const char* otherShown;  // another pausing window shown while it hides, or null
        std::vector<std::string> commands;
    };
    const Case cases[] = {
        {"running level", true, true, nullptr, {"gameplay::pause", "gameplay::resume"}},
        {"menus: the pause only", false, true, nullptr, {"gameplay::pause"}},
        {"nothing pending: no pause, no resume", true, false, nullptr, {}},
        {"pause menu still shown", true, true, "GP_Menu", {"gameplay::pause"}},
        {"finish window still shown", true, true, "GP_Finish", {"gameplay::pause"}},
    };
    gcPlayer* player = MakePlayer(L"Ann");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        level.commands.clear();
        level.running = c.running;
        JCWindow* other = nullptr;
        if (c.otherShown != nullptr) {
            Put(std::string(c.otherShown) + ".xml", std::string("<window _name=\"") + c.otherShown +
                                                        "\" _type=\"G_WINDOW_SIMPLE\" _typeOpen=\"SH_MOMENTAL\" "
                                                        "_typeClose=\"SH_MOMENTAL\"/>");
            QRV::UnloadRepository("");
            QRV::LoadRepository("");
            other = Windows().FindWindow(c.otherShown);
            if (other == nullptr) other = Windows().LoadWindow(std::string(c.otherShown) + ".xml");
            ASSERT_NE(other, nullptr);
            Windows().ShowWindow(c.otherShown, true);
        }
        if (c.trophyPending) {
            Context().trophies.ClearAwarded();
            Announcer()->AddPendingTrophy(Context().trophies.FindTrophy("achievements_txt_intime01_name"));
        }
        Windows().QueueWindow("Trophy_Get");
        Frames(30);
        CloseAnnouncement();
        EXPECT_FALSE(Shown("Trophy_Get"));
        EXPECT_EQ(level.commands, c.commands);
        if (other != nullptr) other->Hide(true);
        Frames(5);
    }
    (void)player;
}

TEST_F(TrophiesScreenTest, AnnouncementWithNothingPendingKeepsItsPreviousContent) {
    Announcer()->AddPendingTrophy(Context().trophies.FindTrophy("achievements_txt_intime01_name"));
    Windows().QueueWindow("Trophy_Get");
    Frames(2);
    const std::wstring title = Announcer()->Title();
    EXPECT_EQ(title, Localised("achievements_txt_intime01_name"));
    CloseAnnouncement();
    Windows().QueueWindow("Trophy_Get");
    Frames(2);
    EXPECT_EQ(Announcer()->Title(), title);
    EXPECT_EQ(Text("Trophy_Get", gcWindow_TrophyGet::kBonusLabel), L"+150");
    EXPECT_FALSE(Announcer()->PausedByShow());
    CloseAnnouncement();
}

// --- the list

TEST_F(TrophiesScreenTest, ListMakesItemsOnlyForTrophiesThatExist) {
    const JCPages* pages = Find<gcWindow_Trophy>("Trophy")->Pages();
    ASSERT_NE(pages, nullptr);
    // The shipped layout names every shipped trophy; three of them are loaded here.
    ASSERT_EQ(pages->items.size(), 3u);
    const char* names[] = {"achievements_txt_hints01_no_name", "achievements_txt_noerrors01_name",
                           "achievements_txt_intime01_name"};
    for (size_t i = 0; i < 3; ++i) {
        const auto* item = dynamic_cast<const gcPagesItem_Trophy*>(pages->items[i]);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->TrophyName(), names[i]);
    }
}

TEST_F(TrophiesScreenTest, ListItemsShowTextsAndFollowAwardsWhileShown) {
    gcPlayer* player = MakePlayer(L"Ann");
    Windows().ShowWindow("Trophy", true);
    Frames(2);
    EXPECT_TRUE(Shown("Trophy_Title"));
    const JCPages* pages = Find<gcWindow_Trophy>("Trophy")->Pages();
    ASSERT_EQ(pages->items.size(), 3u);
    const auto visible = [&](size_t item, int32_t id) {
        return pages->items[item]->gui->rootObject->FindChildById(id)->IsVisible();
    };
    const auto label = [&](size_t item, int32_t id) {
        return dynamic_cast<QRV::JC_GUI_WLABEL*>(pages->items[item]->gui->rootObject->FindChildById(id))->GetText();
    };
    struct Row {
        const char* name;
        const char* desc;
        const wchar_t* bonus;
    };
    const Row rows[] = {{"achievements_txt_hints01_no_name", "achievements_txt_hints01_no_desc", L"50"},
                        {"achievements_txt_noerrors01_name", "achievements_txt_noerrors01_desc", L"70"},
                        {"achievements_txt_intime01_name", "achievements_txt_intime01_desc", L"150"}};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(rows[i].name);
        EXPECT_EQ(label(i, TrophyItemControl::kName), Localised(rows[i].name));
        EXPECT_EQ(label(i, TrophyItemControl::kDescription), Localised(rows[i].desc));
        EXPECT_EQ(label(i, TrophyItemControl::kBonus), rows[i].bonus);
        EXPECT_TRUE(visible(i, TrophyItemControl::kClosedMedal));
        EXPECT_FALSE(visible(i, TrophyItemControl::kOpenMedal));
    }
    // An award while the list is shown: that item alone switches to the open medal at once.
    player->IncrementStatistic("without_error_in_row", 1);
    ASSERT_TRUE(Root().CheckTrophy("achievements_txt_noerrors01_name"));
    const bool open[] = {false, true, false};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(rows[i].name);
        EXPECT_EQ(visible(i, TrophyItemControl::kOpenMedal), open[i]);
        EXPECT_EQ(visible(i, TrophyItemControl::kClosedMedal), !open[i]);
    }
    // A player without that trophy: the refresh closes the medal again.
    Context().trophies.ClearAwarded();
    Find<gcWindow_Trophy>("Trophy")->Refresh();
    EXPECT_FALSE(visible(1, TrophyItemControl::kOpenMedal));
}

// Each medal copied into an item counts its own user of the texture while the list holds its
// resources, and gives it back when they are released; showing again takes them once more.
TEST_F(TrophiesScreenTest, ListMedalsHoldTheirOwnTextureUsersOnlyWhileLoaded) {
    JCWindow* list = Windows().FindWindow("Trophy");
    struct Texture {
        const char* key;
        int32_t loaded;  // users while the list is loaded: one medal of one item
    };
    const Texture textures[] = {{"medal_a_open.png", 1}, {"medal_a_closed.png", 1}, {"medal_c_open.png", 1}};
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        list->LoadResources();
        for (const Texture& t : textures) EXPECT_EQ(Record(t.key)->refCount, t.loaded) << t.key;
        list->UnloadResources(true);
        for (const Texture& t : textures) EXPECT_EQ(Record(t.key)->refCount, 0) << t.key;
    }
}

TEST_F(TrophiesScreenTest, ItemsLeaveTheDispatcherWhenTheListGoes) {
    QRV::gEventDispatcher& dispatcher = *Context().eventDispatcher;
    const size_t withList = dispatcher.ListenerCount();
    // The list's three items and the two money bars listen.
    ASSERT_EQ(Find<gcWindow_Trophy>("Trophy")->Pages()->items.size(), 3u);
    Windows().DeleteAllWindows();
    EXPECT_EQ(dispatcher.ListenerCount(), withList - 5);
    // An award after the windows went reaches nobody that is gone.
    gcPlayer* player = MakePlayer(L"Ann");
    player->IncrementStatistic("without_error_in_row", 1);
    EXPECT_TRUE(Root().CheckTrophy("achievements_txt_noerrors01_name"));
}

// --- the bars

TEST_F(TrophiesScreenTest, HeartsBarShowsIdleTextAtZeroAndTheCountdownOncePerSecond) {
    gcPlayer* player = MakePlayer(L"Ann");
    gcPlayerHealth& health = player->GetHealth();
    Windows().ShowWindow("Heart", true);
    EXPECT_EQ(Text("Heart", gcWindow_BarHealth::kCountLabel), L"5");
    EXPECT_EQ(Text("Heart", gcWindow_BarHealth::kCountdownLabel), L"Hearts full");

    ASSERT_TRUE(health.LoseHeart());
    health.Update();
    ASSERT_EQ(health.GetCountdown(), 1800.0);
    // Half a second: not refreshed yet.
    Frames(30);
    EXPECT_EQ(Text("Heart", gcWindow_BarHealth::kCountLabel), L"5");
    Frames(31);
    EXPECT_EQ(Text("Heart", gcWindow_BarHealth::kCountLabel), L"4");
    EXPECT_EQ(Text("Heart", gcWindow_BarHealth::kCountdownLabel), L"30:00");

    struct Step {
        float elapse;  // of the countdown, before a second of frames
        const wchar_t* count;
        const wchar_t* countdown;
    };
    const Step steps[] = {
        {1738.5f, L"4", L"01:01"},
        {61.0f, L"4", L"00:00"},       // half a second left still counts down
        {1.0f, L"5", L"Hearts full"},  // the heart is back: a countdown of 0 shows the idle text
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.elapse);
        health.StepCountdown(step.elapse);
        Frames(61);
        EXPECT_EQ(Text("Heart", gcWindow_BarHealth::kCountLabel), step.count);
        EXPECT_EQ(Text("Heart", gcWindow_BarHealth::kCountdownLabel), step.countdown);
    }
    EXPECT_LE(health.GetCountdown(), 0.0);
}

TEST_F(TrophiesScreenTest, HeartsBarButtonShowsTheNoticeThatThenHidesItself) {
    MakePlayer(L"Ann");
    Windows().ShowWindow("Heart", true);
    Find<gcWindow_BarHealth>("Heart")->OnButton(3);
    EXPECT_TRUE(Shown("FeedBack_Heart"));
    // Shown after its fade, then held for its hide delay, then gone.
    Frames(60);
    EXPECT_TRUE(Shown("FeedBack_Heart"));
    EXPECT_TRUE(Windows().FindWindow("FeedBack_Heart")->IsHiding());
    Frames(60 * 4);
    EXPECT_FALSE(Shown("FeedBack_Heart"));
    EXPECT_FALSE(static_cast<bool>(Windows().FindWindow("FeedBack_Heart")->cbShown));
}

TEST_F(TrophiesScreenTest, MoneyBarsFillTheLabelTheirLayoutHasAndFollowMoney) {
    Windows().ShowWindow("Sumie", true);
    Windows().ShowWindow("Stars", true);
    // No current player: nothing changes.
    EXPECT_EQ(Text("Sumie", gcWindow_BarMoney::kMoneyLabel), L"0");
    gcPlayer* player = MakePlayer(L"Ann");
    player->IncrementStatistic("money", 250);
    struct Case {
        const char* window;
        int32_t present;
        int32_t absent;
        const wchar_t* text;
    };
    const Case cases[] = {{"Sumie", gcWindow_BarMoney::kMoneyLabel, gcWindow_BarMoney::kStarsLabel, L"250"},
                          {"Stars", gcWindow_BarMoney::kStarsLabel, gcWindow_BarMoney::kMoneyLabel, L"0"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        EXPECT_EQ(Text(c.window, c.absent), L"<none>");
        EXPECT_EQ(Text(c.window, c.present), c.text);
    }
    // Event 28 names the value; only "money" refreshes, from the player's own value.
    player->IncrementStatistic("money", 40);
    EXPECT_EQ(Text("Sumie", gcWindow_BarMoney::kMoneyLabel), L"290");
    Context().eventDispatcher->Send<std::string>(kEventPlayerValue, "hint_use");
    EXPECT_EQ(Text("Sumie", gcWindow_BarMoney::kMoneyLabel), L"290");
    // Without a current player the event changes nothing.
    Context().playerManager.Clear();
    Context().eventDispatcher->Send<std::string>(kEventPlayerValue, "money");
    EXPECT_EQ(Text("Sumie", gcWindow_BarMoney::kMoneyLabel), L"290");
}

}  // namespace
