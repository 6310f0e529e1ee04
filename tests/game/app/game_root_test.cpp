#include "game/app/game.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <pugixml.hpp>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "engine/core/property_map.h"
#include "engine/platform/clock.h"
#include "engine/resources/repository_manager.h"
#include "engine/windows/window.h"
#include "engine/windows/window_confirm.h"
#include "game/app/context.h"
#include "game/app/global.h"
#include "game/app/open_path.h"
#include "game/data/ad_manager.h"
#include "game/data/calendar_clock.h"
#include "game/data/igp_item.h"
#include "game/data/level.h"
#include "game/data/pack.h"
#include "game/data/trophy.h"
#include "game/gameplay/board_effects_message.h"
#include "tests/graphics/sprite_test_support.h"
#include "tests/test_kit/parsed_xml.h"

namespace {

namespace fs = std::filesystem;
using QRV::TestKit::ParsedXml;

int64_t g_calendarNow = 1'000'000;
int64_t RootTestClock() { return g_calendarNow; }

// The game root over a fresh application singleton: windows of the standard types written into a
// Resources tree, a save folder of its own, the calendar clock and the frame time in the test's
// hands. Start is not run: each test loads what it needs.
class GameRootTest : public QRV::TestSupport::SpriteSceneTest {
protected:
    void SetUp() override {
        SpriteSceneTest::SetUp();
        JCWindow_Confirm::RegisterType();
        if (const char* old = std::getenv("XDG_DATA_HOME")) oldXdg = old;
        setenv("XDG_DATA_HOME", (root / "xdg").c_str(), 1);
        Game::SetCalendarClock(&RootTestClock);
        QRV::g_frameTime = 1.0f / 60.0f;
        global.emplace();
        game = std::make_unique<gcGame>(*global);
    }
    void TearDown() override {
        game.reset();
        global.reset();
        Game::SetCalendarClock(nullptr);
        if (oldXdg) setenv("XDG_DATA_HOME", oldXdg->c_str(), 1);
        else unsetenv("XDG_DATA_HOME");
        SpriteSceneTest::TearDown();
    }

    gcContext& Context() { return *global->GetContext(); }
    JCWindowManager& Windows() { return Context().windowManager; }

    // Loads windows of that type, one per name.
    void AddWindows(const char* type, std::initializer_list<const char*> names) {
        for (const char* name : names) {
            const std::string file = std::string(name) + ".xml";
            Put(file, std::string("<window _name=\"") + name + "\" _type=\"" + type +
                          "\" _typeOpen=\"SH_FADE\" _typeClose=\"SH_FADE\" _timeShow=\"0.1\"/>");
            // The main repository lists its files when it is loaded.
            QRV::UnloadRepository("");
            QRV::LoadRepository("");
            ASSERT_NE(Windows().LoadWindow(file), nullptr) << name;
        }
    }
    bool Shown(const char* name) { return Windows().FindShownWindow(name) != nullptr; }
    // Frames until every transition has ended.
    void Settle() {
        for (int i = 0; i < 60; ++i) Windows().Update();
    }
    // A player made by the root from the default player, current and heard by the root.
    gcPlayer* MakePlayer(const wchar_t* name, int32_t life = 5) {
        Context().playerManager.SetListener(game.get());
        game->DefaultPlayer().SetItemCount("life", life);
        game->DefaultPlayer().SetItemCount("error", 3);
        gcPlayer* player = game->CreatePlayer(name);
        if (player != nullptr) {
            while (player->GetHealth().AddHeart()) {}
        }
        return player;
    }

    // Ordinary packs of two levels each, locked, with their "inapp" product, scanned into the
    // context's packs.
    void ScanPacks(std::initializer_list<std::pair<const char*, const char*>> packs) {
        for (const auto& [folder, inapp] : packs) {
            const std::string dir = folder;
            Put(dir + "/level01.xml", "<level/>");
            Put(dir + "/level02.xml", "<level/>");
            Put(dir + "/main/pack_item.xml",
                std::string("<pack size=\"10 10\"><property><param key=\"inapp\" value=\"") + inapp +
                    "\"/><param key=\"is_lock\" value=\"true\"/></property></pack>");
            Put(dir + "/main/pages.xml",
                "<pages cols=\"4\" rows=\"3\"><level size=\"5 5\"/><level size=\"5 5\"/></pages>");
        }
        QRV::UnloadRepository("");
        QRV::LoadRepository("");
        ASSERT_TRUE(Context().packs.Scan("pack_item.xml"));
    }
    JCPack* Pack(const char* name) { return Context().packs.FindPack(name, kPackOrdinary); }
    static int32_t Flag(const JCPagesItem* item, const char* key) {
        const JSProperty* value = item->GetProperty(key);
        return value != nullptr ? value->intValue : -1;
    }

    std::optional<gcGlobal> global;
    std::unique_ptr<gcGame> game;
    std::optional<std::string> oldXdg;
};

TEST(GameRootSplit, CutsAtTheTwoCharacterDelimiterOnly) {
    const struct {
        const char* command;
        std::vector<std::string> tokens;
    } cases[] = {
        {"gameplay::pause", {"gameplay", "pause"}},
        {"a:b::c", {"a:b", "c"}},
        {"gameplay:pause", {"gameplay:pause"}},
        {"windows::open::Shop", {"windows", "open", "Shop"}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(gcGame::SplitCommand(c.command), c.tokens) << c.command;
}

TEST_F(GameRootTest, WindowCommandsOpenAndCloseOnlyWhatTheyName) {
    AddWindows("G_WINDOW_SIMPLE", {"Shop"});
    const struct {
        const char* command;
        bool shownBefore;
        bool shownAfter;
    } cases[] = {
        {"", false, false},
        {"foo::bar", false, false},
        {"gameplayx::windows::open::Shop", false, false},
        {"windows::blink::Shop", false, false},
        {"windows::close::Shop", false, false},  // loaded, not shown: nothing
        {"windows::open::Nowhere", false, false},
        {"windows::open::Shop", false, true},
        {"windows::close::Shop", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        if (c.shownBefore) Windows().ShowWindow("Shop", true);
        Settle();
        ASSERT_EQ(Shown("Shop"), c.shownBefore);
        game->ExecuteCommand(c.command);
        Settle();
        EXPECT_EQ(Shown("Shop"), c.shownAfter);
        if (Shown("Shop")) Windows().FindWindow("Shop")->Hide(true);
        Settle();
    }
}

TEST_F(GameRootTest, TheBoardsMessageBotRunsThroughTheRootWhileItLives) {
    AddWindows("G_WINDOW_SIMPLE", {"Shop"});
    ASSERT_TRUE(gcGetCommandHook());
    gcGetCommandHook()("windows::open::Shop");
    EXPECT_TRUE(Shown("Shop"));
    game.reset();
    EXPECT_FALSE(gcGetCommandHook());
}

TEST_F(GameRootTest, SceneSwitchesShowTheirScreensAndHideTheOtherLists) {
    AddWindows("G_WINDOW_SIMPLE", {"Packs", "Pack_Title", "Levels", "Level_Title", "Trophy", "Tutorial", "Back"});
    const struct {
        const char* name;
        std::function<void(gcGame&)> run;
        std::vector<const char*> shown;
        std::vector<const char*> hidden;
    } cases[] = {
        {"start game", [](gcGame& g) { g.StartGame(); }, {"Pack_Title", "Packs", "Back"}, {"Levels", "Trophy"}},
        {"levels", [](gcGame& g) { g.ShowLevels(true); }, {"Level_Title", "Levels", "Back"}, {"Packs", "Pack_Title"}},
        {"trophies", [](gcGame& g) { g.ShowTrophies(); }, {"Trophy"}, {"Levels", "Level_Title", "Packs"}},
        {"tutorials", [](gcGame& g) { g.ShowTutorialList(); }, {"Tutorial"}, {"Trophy", "Levels"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.run(*game);
        Settle();
        for (const char* name : c.shown) EXPECT_TRUE(Shown(name)) << name;
        for (const char* name : c.hidden) EXPECT_FALSE(Shown(name)) << name;
    }
}

TEST_F(GameRootTest, HideLevelScreensRunsItsCallbackOnceWithOrWithoutABar) {
    AddWindows("G_WINDOW_SIMPLE", {"Levels", "Heart", "Sidebar"});
    for (bool barShown : {false, true}) {
        SCOPED_TRACE(barShown);
        Windows().ShowWindow("Levels", true);
        if (barShown) {
            Windows().ShowWindow("Heart", true);
            Windows().ShowWindow("Sidebar", true);
        }
        Settle();
        int calls = 0;
        JCWindow* receiver = game->HideLevelScreens(Closure<void()>(&calls, [](void* n) { ++*static_cast<int*>(n); }));
        EXPECT_EQ(receiver, barShown ? Windows().FindWindow("Heart") : nullptr);
        Settle();
        EXPECT_EQ(calls, 1);
        EXPECT_FALSE(Shown("Levels"));
        EXPECT_FALSE(Shown("Sidebar"));
        if (receiver != nullptr) receiver->cbHidden = {};
    }
}

TEST_F(GameRootTest, StartLevelWithANameThatSelectsNoLevelChangesNothing) {
    for (const char* name : {"", "nopack.level01", "pack01", "pack01.nolevel"}) {
        EXPECT_FALSE(game->StartLevel(name)) << name;
        EXPECT_EQ(Context().packs.GetCurrentPack(), nullptr) << name;
        EXPECT_FALSE(game->Gameplay().IsRunning()) << name;
    }
}

constexpr const char* kStore = R"(<store>
  <item name="life" value="7" price="100"/>
  <item name="error" value="9" price="100"/>
</store>)";

// Each bought item is applied on any answer of "purchase_success", or at once without it, and the
// game is saved afterwards.
TEST_F(GameRootTest, BoughtItemsAreAppliedWhateverTheAnswerAndSaved) {
    ParsedXml store(kStore);
    ASSERT_TRUE(Context().store.LoadStoreItems(store.Root()));
    const struct {
        const char* item;
        bool window;
        int32_t answer;
        int32_t life, error, hearts;
    } cases[] = {
        // Without the notice first: once loaded, it stays.
        {"life_refill", false, 0, 5, 3, 5},  // never the "life" ladder
        {"error_more", false, 0, 5, 9, 2},  {"life_refill", true, 0, 5, 3, 5},
        {"life_more", true, 1, 7, 3, 7},    {"second_chance", true, 0, 5, 3, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        if (c.window && Windows().FindWindow("purchase_success") == nullptr)
            AddWindows("G_WINDOW_CONFIRM", {"purchase_success", "purchase_fail"});
        const std::string saved = global->GetSaveFolder() + "players.xml";
        fs::remove(saved);
        Context().playerManager.Clear();
        Context().playerManager.Load(global->GetSaveFolder());
        gcPlayer* player = MakePlayer(L"Ann");
        ASSERT_NE(player, nullptr) << Context().playerManager.GetPlayerCount();
        for (int i = 0; i < 3; ++i) player->GetHealth().LoseHeart();
        ASSERT_EQ(player->GetHealth().GetCount(), 2);
        fs::remove(saved);

        JSIgpItem item;
        item.name = c.item;
        game->OnPurchaseStarted();
        EXPECT_TRUE(game->IsPurchasePending());
        game->OnPurchaseSucceeded(&item);
        game->OnPurchaseFinished(&item, true);
        EXPECT_FALSE(game->IsPurchasePending());
        if (c.window) {
            EXPECT_EQ(player->GetHealth().GetCount(), 2);  // waits for the answer
            auto* notice = dynamic_cast<JCWindow_Confirm*>(Windows().FindWindow("purchase_success"));
            ASSERT_TRUE(notice->cbAnswer);
            EXPECT_FALSE(notice->cbSecondAnswer);
            notice->cbAnswer(c.answer);
            EXPECT_FALSE(Shown("purchase_fail"));
        }
        EXPECT_EQ(player->GetItemCount("life"), c.life);
        EXPECT_EQ(player->GetItemCount("error"), c.error);
        EXPECT_EQ(player->GetHealth().GetCount(), c.hearts);
        EXPECT_TRUE(player->IsInappBought());
        EXPECT_TRUE(fs::exists(saved));
        Settle();
        if (Shown("purchase_success")) Windows().FindWindow("purchase_success")->Hide(true);
        Settle();
    }
}

// A bought pack product unlocks every ordinary pack that names it, and opens them (with their
// first level) only when the edition unlocks at once; other packs stay as they were.
TEST_F(GameRootTest, ABoughtPackProductUnlocksEveryPackThatNamesIt) {
    ScanPacks({{"pack01", ""}, {"pack02", "pack_bundle"}, {"pack03", "pack_bundle"}, {"pack04", "pack_other"}});
    for (const int32_t immediately : {0, 1}) {
        SCOPED_TRACE(immediately);
        for (const char* name : {"pack01", "pack02", "pack03", "pack04"}) {
            Pack(name)->GetProperty("is_lock")->SetBool(1);
            Pack(name)->GetProperty("is_open")->SetBool(0);
            Pack(name)->GetFirstLevel()->GetProperty("is_open")->SetBool(0);
        }
        global->EditionConfig().SetInt("unlock_pack_immediately", immediately);
        JSIgpItem item;
        item.name = "pack_bundle";
        game->OnPurchaseStarted();
        game->OnPurchaseSucceeded(&item);
        game->OnPurchaseFinished(&item, true);
        const struct {
            const char* pack;
            bool bought;
        } packs[] = {{"pack01", false}, {"pack02", true}, {"pack03", true}, {"pack04", false}};
        for (const auto& p : packs) {
            SCOPED_TRACE(p.pack);
            const JCPack* pack = Pack(p.pack);
            EXPECT_EQ(Flag(pack, "is_lock"), p.bought ? 0 : 1);
            EXPECT_EQ(Flag(pack, "is_open"), p.bought ? immediately : 0);
            EXPECT_EQ(Flag(pack->GetFirstLevel(), "is_open"), p.bought ? immediately : 0);
            EXPECT_EQ(Flag(pack->LevelAt(1), "is_open"), 0);
        }
    }
}

// Switching to another profile stores the outgoing one's progress first, so A's unsaved unlocks
// and stars are there again after A -> B -> A, and B never sees them.
TEST_F(GameRootTest, SwitchingProfilesAndBackKeepsTheFirstOnesUnsavedProgress) {
    ScanPacks({{"pack01", ""}});
    gcPlayer* a = MakePlayer(L"Ann");
    gcPlayer* b = MakePlayer(L"Bob");
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(Context().playerManager.GetCurrentPlayer(), a);
    JCLevel* second = Pack("pack01")->LevelAt(1);
    second->properties.SetBool("is_open", 1);
    second->properties.SetInt("stars", 2);
    const struct {
        gcPlayer* select;
        int32_t open, stars;
    } steps[] = {{b, 0, 0}, {a, 1, 2}, {b, 0, 0}, {a, 1, 2}};
    for (const auto& step : steps) {
        ASSERT_TRUE(Context().playerManager.SelectPlayer(step.select));
        SCOPED_TRACE(step.select == a ? "Ann" : "Bob");
        second = Pack("pack01")->LevelAt(1);
        EXPECT_EQ(Flag(second, "is_open"), step.open);
        EXPECT_EQ(Flag(second, "stars"), step.stars);
    }
}

// A save writes the packs' progress as it stands: stars and unlocks won since the player was
// selected are stored into the player's records before "players.xml" is written.
TEST_F(GameRootTest, ASaveWritesThePacksProgressAsItStands) {
    ScanPacks({{"pack01", ""}});
    Context().playerManager.Load(global->GetSaveFolder());
    ASSERT_NE(MakePlayer(L"Ann"), nullptr);
    JCLevel* second = Pack("pack01")->LevelAt(1);
    second->properties.SetBool("is_open", 1);
    second->properties.SetInt("stars", 2);
    game->Save();
    pugi::xml_document saved;
    ASSERT_TRUE(saved.load_file((global->GetSaveFolder() + "players.xml").c_str()));
    const struct {
        const char* key;
        const char* value;
    } values[] = {{"stars", "2"}, {"is_open", "1"}};
    for (const auto& v : values) {
        const std::string path = std::string("//level[@name='pack01.level02']/param[@key='") + v.key + "']";
        const pugi::xpath_node param = saved.select_node(path.c_str());
        ASSERT_TRUE(param) << path;
        EXPECT_STREQ(param.node().attribute("value").as_string(), v.value) << v.key;
    }
}

// A purchase that ends without success offers the second chance again when it was the second
// chance that was being bought; a success or another product does not.
TEST_F(GameRootTest, AFailedSecondChancePurchaseOffersTheSecondChanceAgain) {
    AddWindows("G_WINDOW_CONFIRM", {"Confirm_SecondChance", "purchase_fail"});
    const struct {
        const char* item;
        bool success;
        bool offered;
    } cases[] = {
        {"second_chance", false, true},
        {"second_chance", true, false},
        {"life_refill", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.item) + (c.success ? " bought" : " failed"));
        JSIgpItem item;
        item.name = c.item;
        game->OnPurchaseStarted();
        if (c.success) game->OnPurchaseSucceeded(&item);
        game->OnPurchaseFinished(&item, c.success);
        EXPECT_EQ(Shown("Confirm_SecondChance"), c.offered);
        for (const char* name : {"Confirm_SecondChance", "purchase_fail", "purchase_success"})
            if (JCWindow* window = Windows().FindShownWindow(name)) window->Hide(true);
        Settle();
    }
}

TEST_F(GameRootTest, AFailedPurchaseShowsItsNoticeAndTheNextOneStartsClean) {
    AddWindows("G_WINDOW_SIMPLE", {"purchase_fail"});
    JSIgpItem item;
    item.name = "life_refill";
    game->OnPurchaseStarted();
    game->OnPurchaseSucceeded(&item);
    EXPECT_TRUE(game->IsPurchaseSucceeded());
    game->OnPurchaseFinished(&item, true);
    EXPECT_FALSE(Shown("purchase_fail"));
    game->OnPurchaseStarted();
    EXPECT_FALSE(game->IsPurchaseSucceeded());
    game->OnPurchaseFinished(&item, false);
    EXPECT_TRUE(Shown("purchase_fail"));
}

TEST_F(GameRootTest, PlayerValuesReachListenersAtOnceWithTheirName) {
    struct Listener : QRV::gListener {
        std::vector<std::string> names;
        void OnValue(std::string name) { names.push_back(name); }
    } listener;
    listener.Subscribe<&Listener::OnValue>(kEventPlayerValue, &listener);
    Context().eventDispatcher->AddListener(&listener);
    gcPlayer* player = MakePlayer(L"Ann");
    ASSERT_NE(player, nullptr);
    player->IncrementStatistic("money", 5);
    // The statistic, then its highest-value partner.
    EXPECT_EQ(listener.names, (std::vector<std::string>{"money", "money_max"}));
    Context().eventDispatcher->RemoveListener(&listener);
}

TEST_F(GameRootTest, SelectingAPlayerGivesBackHeartsThatFellDue) {
    Context().playerManager.SetListener(game.get());
    gcPlayer* first = MakePlayer(L"Ann");
    gcPlayer* second = MakePlayer(L"Bob");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(MakePlayer(L"Bob"), nullptr);  // a name is taken once
    EXPECT_EQ(Context().playerManager.GetCurrentPlayer(), first);
    second->GetHealth().LoseHeart();
    second->GetHealth().LoseHeart();
    g_calendarNow += 3 * second->GetHealth().GetRefillPeriod();
    ASSERT_TRUE(Context().playerManager.SelectPlayer(second));
    EXPECT_EQ(second->GetHealth().GetCount(), 5);
    g_calendarNow = 1'000'000;
}

constexpr const char* kTrophies = R"(<doc><trophies>
  <t name="achievements_txt_currency01_name" bonus="50">
    <condition name="money_max" value_type="int" value="100" operator=">="/></t>
  <t name="achievements_txt_lives01_buy_name" bonus="20">
    <condition name="life" value_type="int" value="7" operator=">="/></t>
  <t name="achievements_txt_stars01_name" bonus="0">
    <condition name="perfect_levels" value_type="int" value="1" operator=">="/></t>
  <t name="achievements_txt_alltrophies_name" bonus="10">
    <condition name="all_other_trophies" value_type="bool" value="true" operator="=="/></t>
</trophies></doc>)";

TEST_F(GameRootTest, TrophiesAreAwardedOncePaidOnceAndTheAllTrophyLast) {
    ParsedXml trophies(kTrophies);
    ASSERT_TRUE(Context().trophies.LoadTrophiesFrom(trophies.Root()));
    QRV::G_TROPHY* stars = Context().trophies.FindTrophy("achievements_txt_stars01_name");
    ASSERT_NE(stars, nullptr);
    // Without a player nothing is awarded or paid.
    EXPECT_FALSE(game->CheckTrophy("achievements_txt_currency01_name"));
    game->CheckAllTrophies("achievements_txt_currency01_name");

    gcPlayer* player = MakePlayer(L"Ann");
    auto money = [&] { return player->GetStatistic("money")->intValue; };
    const int32_t start = money();
    const struct {
        const char* step;
        std::function<void()> act;
        int32_t paid;
        bool allAwarded;
    } steps[] = {
        {"below the threshold", [&] { game->CheckLevelTrophies(); }, 0, false},
        {"threshold crossed",
         [&] {
             player->IncrementStatistic("money", 150);
             game->CheckLevelTrophies();
         },
         150 + 50, false},
        {"again", [&] { game->CheckLevelTrophies(); }, 150 + 50, false},
        {"stars, by hand", [&] { stars->awarded = true; }, 150 + 50, false},
        {"lives bought",
         [&] {
             player->SetItemCount("life", 7);
             if (game->CheckTrophy("achievements_txt_lives01_buy_name"))
                 game->CheckAllTrophies("achievements_txt_lives01_buy_name");
         },
         150 + 50 + 20 + 10, true},
        {"after all", [&] { game->CheckLevelTrophies(); }, 150 + 50 + 20 + 10, true},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        s.act();
        EXPECT_EQ(money() - start, s.paid);
        EXPECT_EQ(Context().trophies.FindTrophy("achievements_txt_alltrophies_name")->awarded, s.allAwarded);
    }
}

TEST_F(GameRootTest, SelectingAPlayerReMarksTrophiesSilently) {
    ParsedXml trophies(kTrophies);
    ASSERT_TRUE(Context().trophies.LoadTrophiesFrom(trophies.Root()));
    int announced = 0;
    struct Listener : QRV::gListener {
        int* count;
        void OnTrophy(QRV::G_TROPHY*) { ++*count; }
    } listener;
    listener.count = &announced;
    listener.Subscribe<&Listener::OnTrophy>(kTrophyAwardedEvent, &listener);
    Context().eventDispatcher->AddListener(&listener);
    MakePlayer(L"Ann");
    gcPlayer* rich = MakePlayer(L"Bob", 7);
    rich->IncrementStatistic("money", 500);
    const int32_t money = rich->GetStatistic("money")->intValue;
    ASSERT_TRUE(Context().playerManager.SelectPlayer(rich));
    EXPECT_TRUE(Context().trophies.FindTrophy("achievements_txt_currency01_name")->awarded);
    EXPECT_TRUE(Context().trophies.FindTrophy("achievements_txt_lives01_buy_name")->awarded);
    EXPECT_FALSE(Context().trophies.FindTrophy("achievements_txt_stars01_name")->awarded);
    EXPECT_EQ(rich->GetStatistic("money")->intValue, money);
    EXPECT_EQ(announced, 0);
    Context().eventDispatcher->RemoveListener(&listener);
}

// The opener is a program of its own: a path with blanks and quotes reaches it as one argument,
// through no shell.
// A network that notes the id of every interstitial it shows.
class NotingNetwork : public JIAdWrapper {
public:
    NotingNetwork(int32_t id, std::vector<int32_t>& shown) : id(id), shown(shown) {}
    bool Init(const JCPropertyMap&) override { return true; }
    void Start() override {}
    void Show(int32_t adType, const std::string&) override {
        if (adType == kAdTypeInterstitial) shown.push_back(id);
    }
    void Prepare(int32_t, const std::string&) override {}
    void Hide(int32_t, const std::string&) override {}
    void NotifyClosed() override {}
    void Command(const std::string&) override {}
    void Command2(const std::string&) override {}
    int32_t id;
    std::vector<int32_t>& shown;
};

TEST_F(GameRootTest, AfterAPurchaseNoInterstitialButTheStartOneShowsNotEvenOneQueuedBefore) {
    std::vector<int32_t> shown;
    JCAdManager& ads = JCAdManager::Instance();
    struct Restore {
        ~Restore() {
            JCAdManager::Instance().Clear();
            JCAdManager::Instance().SetWrapperFactory(&CreateAdWrapper);
        }
    } restore;
    ads.Clear();
    ads.SetWrapperFactory([&shown](int32_t id, JCAdManager*) -> JIAdWrapper* { return new NotingNetwork(id, shown); });
    for (const char* name : {"adnet1", "adnet2", "adnet3"}) {
        JCPropertyMap values;
        values.SetString("name", name);
        ASSERT_TRUE(ads.AddNetwork(values)) << name;
    }
    global->EditionConfig().SetInt("free", 1);
    gcPlayer* player = MakePlayer(L"Ann");
    ASSERT_NE(player, nullptr);
    game->OnServiceEvent1();

    // Before the purchase: one of the three shows, two stay queued for the next placements.
    game->ShowAd("from_game_to_menu");
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(game->InterstitialList().size(), 2u);

    player->SetInappBought(true);
    shown.clear();
    game->ShowAd("from_game_to_menu");
    game->ShowAd("from_levels_to_packs");
    EXPECT_TRUE(shown.empty());
    game->ShowAd("start_game");
    EXPECT_EQ(shown, (std::vector<int32_t>{kAdNet3}));
    for (int32_t left : game->InterstitialList()) EXPECT_EQ(left, kAdNet3);
}

TEST_F(GameRootTest, TheExitOpenerSpawnsWithThePathAsOneArgument) {
    const fs::path bin = root / "bin";
    fs::create_directories(bin);
    const fs::path out = root / "args.txt";
    {
        std::ofstream script(bin / "xdg-open");
        script << "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > '" << out.string() << ".tmp'\nmv '" << out.string()
               << ".tmp' '" << out.string() << "'\n";
    }
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    const std::string oldPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    setenv("PATH", (bin.string() + ":" + oldPath).c_str(), 1);
    const std::string path = "/tmp/a folder/it's \"here\"; rm -rf x";
    Game::OpenPath(path);
    setenv("PATH", oldPath.c_str(), 1);
    for (int i = 0; i < 500 && !fs::exists(out); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(out);
    std::string count, argument;
    std::getline(in, count);
    std::getline(in, argument);
    EXPECT_EQ(count, "1");
    EXPECT_EQ(argument, path);
}

}  // namespace
