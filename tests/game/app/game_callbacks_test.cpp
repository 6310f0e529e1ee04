// The frame state machine of the application hooks: input while loading, the hand-over to the
// game once, a failed loader job, the first screen by platform and its cursor, and focus changes.
#include "game/app/game_callbacks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "engine/app/app_context.h"
#include "engine/graphics/render.h"
#include "engine/resources/repository_manager.h"
#include "engine/windows/window.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/app/global.h"
#include "game/data/calendar_clock.h"
#include "game/data/game_player.h"
#include "game/ui/loader_screen.h"
#include "tests/game/gameplay/gameplay_test_kit.h"
#include "tests/graphics/sprite_test_support.h"

namespace {

namespace fs = std::filesystem;

std::atomic<bool> g_frameJobRelease{false};
std::atomic<int> g_frameJobResult{1};
int64_t g_frameNow = 5'000'000;
int64_t FrameTestClock() { return g_frameNow; }

// Reports 10, waits until released, reports 100 and returns the result the test chose.
int FrameTestJob(QRV::JC_LOADER* loader) {
    loader->SetProgress(10);
    while (!g_frameJobRelease.load() && !loader->IsCancelRequested())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    loader->SetProgress(100);
    return g_frameJobResult.load();
}

// The hooks over the application's own singleton, with a game root of the test's making, plain
// windows for the first screens, and a loading screen of two splashes on a paper back colour.
class GameFrameStateThreaded : public QRV::TestSupport::SpriteSceneTest {
protected:
    void SetUp() override {
        SpriteSceneTest::SetUp();
        if (const char* old = std::getenv("XDG_DATA_HOME")) oldXdg = old;
        setenv("XDG_DATA_HOME", (root / "xdg").c_str(), 1);
        Game::SetCalendarClock(&FrameTestClock);
        g_frameJobRelease = false;
        g_frameJobResult = 1;
        ResetGameFrameState();
        QRV::g_app->running = 1;
        global().EditionConfig().SetString("platform", "pc");
        global().GetContext()->game = std::make_unique<gcGame>(global());
        PutImage("back.png", 4, 4);
        PutImage("splash.png", 16, 16);
        const std::string splash = "<splash><FILE>splash.png</FILE><POS>512 384</POS></splash>";
        Put("screen.xml",
            "<screen><background><FILE>back.png</FILE></background><logo><FILE>back.png</FILE></logo>"
            "<animation><FILE>back.png</FILE></animation><splashes time_per_splash=\"2.0\" time_fade=\"0.2\" "
            "back_color=\"255 240 230 200\">" +
                splash + splash + "</splashes></screen>");
        for (const char* name : {"Title", "Pack_Title", "Packs"}) {
            Put(std::string(name) + ".xml", std::string("<window _name=\"") + name +
                                                "\" _type=\"G_WINDOW_SIMPLE\" _typeOpen=\"SH_NONE\" "
                                                "_typeClose=\"SH_NONE\"/>");
        }
        // The main repository lists its files when it is loaded.
        QRV::UnloadRepository("");
        QRV::LoadRepository("");
        for (const char* name : {"Title", "Pack_Title", "Packs"})
            ASSERT_NE(Windows().LoadWindow(std::string(name) + ".xml"), nullptr);
    }
    void TearDown() override {
        // The exit path's first step: a loader left over stops its job.
        if (loader != nullptr) HandOver();
        ResetGameFrameState();
        global().GetContext()->game.reset();
        global().GetContext()->playerManager.Clear();
        Windows().DeleteAllWindows();
        global().EditionConfig().SetString("platform", "");
        QRV::g_app->running = 1;
        Game::SetCalendarClock(nullptr);
        if (oldXdg) setenv("XDG_DATA_HOME", oldXdg->c_str(), 1);
        else unsetenv("XDG_DATA_HOME");
        SpriteSceneTest::TearDown();
    }

    static gcGlobal& global() { return gcGlobal::Instance(); }
    static gcGame& Root() { return *global().GetContext()->game; }
    static JCWindowManager& Windows() { return global().GetContext()->windowManager; }
    static bool Shown(const char* name) { return Windows().FindShownWindow(name) != nullptr; }

    void StartLoader() {
        loader = new gcLoaderScreen(&FrameTestJob, &Windows(), "screen.xml");
        loader->LoadSpriteResources();
        AdoptGameLoader(loader);
    }
    // Runs frame hooks; returns how many ran before the state turned 1 (or all of them).
    int Frames(int count) {
        for (int i = 0; i < count; ++i) {
            const int32_t before = GameFrameState();
            QRV::g_frameTime = 1.0f / 60.0f;
            GameCallback_Update();
            GameCallback_Frame();
            if (before == kFrameLoading && GameFrameState() == kFrameRunning) {
                loader = nullptr;  // deleted by the hand-over
                return i + 1;
            }
        }
        return count;
    }
    // Releases the job and runs frames (skipping every splash) until the hand-over.
    void HandOver() {
        g_frameJobRelease = true;
        for (int i = 0; i < 5000 && GameFrameState() == kFrameLoading; ++i) {
            GameCallback_KeyDown('A');
            Frames(1);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_EQ(GameFrameState(), kFrameRunning);
    }

    gcLoaderScreen* loader = nullptr;
    std::optional<std::string> oldXdg;
};

// Keys, buttons and moves during loading reach only the loading screen's skip; the root sees none.
TEST_F(GameFrameStateThreaded, InputWhileLoadingOnlySkipsASplash) {
    StartLoader();
    Frames(1);
    ASSERT_EQ(loader->SplashIndex(), 0);
    const struct {
        const char* input;
        int (*hook)(uintptr_t);
        int32_t splashAfter;
    } cases[] = {
        {"move", &GameCallback_MouseMove, 0},         {"key up", &GameCallback_KeyUp, 0},
        {"key down", &GameCallback_KeyDown, 1},       {"button", &GameCallback_KeyDown, 2},
        {"after the last", &GameCallback_KeyDown, 2},
    };
    Windows().ShowWindow("Packs", true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        c.hook(1);
        EXPECT_EQ(loader->SplashIndex(), c.splashAfter);
        EXPECT_EQ(GameFrameState(), kFrameLoading);
    }
    EXPECT_FALSE(Shown("Title"));
}

// The state turns from 0 to 1 once; the completion step runs only after a job that succeeded, and
// a failed job ends the loop and the run's result.
TEST_F(GameFrameStateThreaded, TheHandOverHappensOnceAndAFailedJobSkipsTheCompletion) {
    const struct {
        int jobResult;
        bool completed;
    } cases[] = {{1, true}, {-112, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.jobResult);
        QRV::g_app->running = 1;
        QRV::g_render->clearColor = 0xFF444444u;
        g_frameJobRelease = false;
        g_frameJobResult = c.jobResult;
        StartLoader();
        EXPECT_EQ(Frames(5), 5);
        EXPECT_EQ(GameFrameState(), kFrameLoading);
        HandOver();
        EXPECT_EQ(GameStartFailed(), !c.completed);
        EXPECT_EQ(QRV::g_app->running, c.completed ? 1 : 0);
        EXPECT_EQ(Shown("Title"), c.completed);
        // The paper of the loading screen stays behind the game.
        EXPECT_EQ(QRV::g_render->clearColor, c.completed ? 0xFFF0E6C8u : 0xFF444444u);
        if (Shown("Title")) Windows().FindWindow("Title")->Hide(true);
        Frames(3);
        EXPECT_FALSE(Shown("Title"));  // no second completion
        EXPECT_EQ(GameFrameState(), kFrameRunning);
        ResetGameFrameState();
    }
}

// A loader whose thread cannot be made (here: it has no job to run) ends the loading at the next
// frame as a failed load, splashes or not: the completion is skipped and the loop ends.
TEST_F(GameFrameStateThreaded, ALoaderWhoseThreadCannotStartEndsTheLoadingAsAFailure) {
    loader = new gcLoaderScreen(nullptr, &Windows(), "screen.xml");
    loader->LoadSpriteResources();
    AdoptGameLoader(loader);
    EXPECT_EQ(Frames(3), 1);
    EXPECT_EQ(GameFrameState(), kFrameRunning);
    EXPECT_TRUE(GameStartFailed());
    EXPECT_EQ(QRV::g_app->running, 0);
    EXPECT_FALSE(Shown("Title"));
}

// Platforms 0 and 1 open "Title", 2 and 3 the pack list. On 0 and 1 the game cursor follows the
// player's choice (on without a player); on 2 and 3 it is never drawn and the flag stays as it was.
TEST_F(GameFrameStateThreaded, TheFirstScreenAndTheCursorFollowThePlatformLetter) {
    const struct {
        const char* platform;
        bool player, playerCursor, before;
        const char* screen;
        bool cursor;
    } cases[] = {
        {"pc", false, false, false, "Title", true},
        {"pc", true, false, true, "Title", false},
        {"Ouya", true, true, false, "Title", true},
        {"", true, false, true, "Title", false},
        {"ios", true, true, false, "Pack_Title", false},
        {"Android", true, false, true, "Pack_Title", true},
        {"android", false, false, false, "Pack_Title", false},
    };
    JCPlayerManager& players = global().GetContext()->playerManager;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.platform) + (c.player ? " player" : " none"));
        // The cursor flag starts as "before": a player's choice on platform 0.
        players.Clear();
        players.SetListener(&Root());
        global().EditionConfig().SetString("platform", "pc");
        gcPlayer* player = Root().CreatePlayer(L"Ann");
        ASSERT_NE(player, nullptr);
        player->SetGameCursor(c.before);
        players.SelectPlayer(nullptr);
        players.SelectPlayer(player);
        ASSERT_EQ(Root().IsCursorShown(), c.before);
        players.SetListener(nullptr);
        if (c.player) {
            player->SetGameCursor(c.playerCursor);
        } else {
            players.Clear();
        }
        global().EditionConfig().SetString("platform", c.platform);
        ResetGameFrameState();
        StartLoader();
        HandOver();
        EXPECT_TRUE(Shown(c.screen));
        EXPECT_EQ(Shown("Title"), std::string(c.screen) == "Title");
        EXPECT_EQ(Root().IsCursorShown(), c.cursor);
        // A hide ends at the windows' next step, and the loading frames run that step only when
        // the job has ended before the frame began: the hides are ended here, one window a step.
        for (const char* name : {"Title", "Pack_Title", "Packs"}) {
            if (!Shown(name)) continue;
            Windows().FindWindow(name)->Hide(true);
            Windows().Update();
            ASSERT_FALSE(Shown(name));
        }
    }
}

// Focus changes: nothing without a root, 1 while loading; in the game a loss saves, a gain gives
// back the hearts that fell due.
TEST_F(GameFrameStateThreaded, FocusChangesSaveAndGiveBackHearts) {
    JCPlayerManager& players = global().GetContext()->playerManager;
    players.Load(global().GetSaveFolder());
    players.SetListener(&Root());
    Root().DefaultPlayer().SetItemCount("life", 5);
    gcPlayer* player = Root().CreatePlayer(L"Ann");
    ASSERT_NE(player, nullptr);
    while (player->GetHealth().AddHeart()) {}
    const fs::path saved = fs::path(global().GetSaveFolder()) / "players.xml";

    StartLoader();
    fs::remove(saved);
    EXPECT_EQ(GameCallback_FocusLost(), 1);
    EXPECT_EQ(GameCallback_FocusGained(), 1);
    EXPECT_FALSE(fs::exists(saved));
    HandOver();

    player->GetHealth().LoseHeart();
    player->GetHealth().LoseHeart();
    EXPECT_EQ(GameCallback_FocusLost(), 0);
    EXPECT_TRUE(fs::exists(saved));
    EXPECT_FALSE(Root().Gameplay().IsPaused());  // no level: nothing to pause
    g_frameNow += 3 * player->GetHealth().GetRefillPeriod();
    EXPECT_EQ(GameCallback_FocusGained(), 0);
    EXPECT_EQ(player->GetHealth().GetCount(), 5);
    g_frameNow = 5'000'000;

    auto game = std::move(global().GetContext()->game);
    EXPECT_EQ(GameCallback_FocusLost(), 0);
    EXPECT_EQ(GameCallback_FocusGained(), 0);
    global().GetContext()->game = std::move(game);
    players.SetListener(nullptr);
}

// Focus lost in the game: a running level that is neither solved nor paused is paused under
// "GP_Menu"; in every case the game is saved and both sound groups fall silent.
TEST_F(GameFrameStateThreaded, FocusLostPausesOnlyARunningUnsolvedLevelAndAlwaysSavesAndMutes) {
    namespace Kit = GameplayTestKit;
    for (const char* image : {"fx.png", "dot.png", "d.png", "b.png", "y.png", "n.png", "digits.png", "glow.png",
                              "panel.png", "knob.png", "strip.png", "reset.png", "gui_font.png", "paper.png"})
        PutImage(image, 32, 32);
    Put("gui_font.xml", "<font><common lineHeight='16'/><pages/><chars/></font>");
    Put("settings.xml", "<settings sunime_one='1' sunime_bonus='5' max_hints='4'/>");
    Put("effects.xml", Kit::EffectsXml());
    Put("numbers.xml", BoardTestKit::kStyle);
    Put("ambient.xml", Kit::AmbientXml());
    JCPropertyMap& configuration = global().GameplayConfig();
    for (const char* key : {"settings", "effects", "numbers", "ambient"})
        configuration.SetString(key, std::string(key) + ".xml");
    const std::pair<const char*, const char*> layouts[] = {{"check_mode", ControlTestKit::kCheckModeLayout},
                                                           {"hint_button", ControlTestKit::kHintLayout},
                                                           {"pause_button", ControlTestKit::kPauseLayout},
                                                           {"store_button", ControlTestKit::kStoreLayout},
                                                           {"reset_selection", ControlTestKit::kResetLayout}};
    for (const auto& [key, xml] : layouts) {
        Put(std::string(key) + ".xml", xml);
        configuration.SetString(key, std::string(key) + ".xml");
    }
    const std::vector<std::string> picture = {"11000", "00000", "00000", "00000", "00000"};
    Put("pack01/a.xml", Kit::LevelXml(picture));
    Put("pack01/main/pack_item.xml", "<pack><property/></pack>");
    Put("pack01/main/pages.xml", "<pages cols='4' rows='3'><level size='5 5'/></pages>");
    Put("GP_Menu.xml", Kit::PlainXml("GP_Menu"));
    QRV::UnloadRepository("");
    QRV::LoadRepository("");
    gcContext& context = *global().GetContext();
    ASSERT_TRUE(context.packs.Scan("pack_item.xml"));
    ASSERT_NE(Windows().LoadWindow("GP_Menu.xml"), nullptr);
    QRV::TestKit::ParsedXml groups("<sound><g name='music'/><g name='sounds'/></sound>");
    context.soundGroups.Load(groups.Root());
    JCPlayerManager& players = context.playerManager;
    players.Load(global().GetSaveFolder());
    players.SetListener(&Root());
    Root().DefaultPlayer().SetItemCount("life", 5);
    Root().DefaultPlayer().SetItemCount("error", 3);
    gcPlayer* player = Root().CreatePlayer(L"Ann");
    ASSERT_NE(player, nullptr);
    while (player->GetHealth().AddHeart()) {}
    gcGameplay& gameplay = Root().Gameplay();
    ASSERT_TRUE(gameplay.LoadSettings());
    ASSERT_TRUE(gameplay.LoadControls());
    ASSERT_TRUE(gameplay.LoadEffects());
    StartLoader();
    HandOver();
    Windows().FindWindow("Title")->Hide(true);
    const fs::path saved = fs::path(global().GetSaveFolder()) / "players.xml";
    // Hidden at once: the window's own step ends the hide.
    const auto HideMenu = [&] {
        Windows().FindWindow("GP_Menu")->Hide(true);
        Windows().Update();
        ASSERT_FALSE(Shown("GP_Menu"));
    };

    const struct {
        const char* label;
        bool level, paused, solved;
        bool pausedAfter, menu;
    } cases[] = {
        {"no level", false, false, false, false, false},
        {"running", true, false, false, true, true},
        {"already paused", true, true, false, true, false},
        {"solved", true, false, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Root().CloseGameplay();
        HideMenu();
        if (c.level) {
            ASSERT_TRUE(Root().StartLevel("pack01.a"));
            ASSERT_TRUE(gameplay.IsRunning());
        }
        if (c.paused) {
            Root().ExecuteCommand("gameplay::pause");
            ASSERT_TRUE(gameplay.IsPaused());
            HideMenu();
        }
        if (c.solved) {
            for (int32_t column : {0, 1}) ASSERT_TRUE(gameplay.Process().OpenCell({column, 0}));
            // The opens take effect over the board's next steps.
            QRV::g_frameTime = 0.25f;
            for (int i = 0; i < 4; ++i) {
                gameplay.Process().Update();
                context.eventDispatcher->Flush();
            }
            ASSERT_EQ(gameplay.GetSolvedFraction(), 1.0f);
        }
        global().ApplyVolumes();
        for (const char* group : {"music", "sounds"}) ASSERT_GT(context.soundGroups.FindGroup(group)->gain, 0.0f);
        fs::remove(saved);

        EXPECT_EQ(GameCallback_FocusLost(), 0);
        EXPECT_EQ(gameplay.IsPaused(), c.pausedAfter);
        EXPECT_EQ(Shown("GP_Menu"), c.menu);
        EXPECT_TRUE(fs::exists(saved));
        for (const char* group : {"music", "sounds"}) EXPECT_EQ(context.soundGroups.FindGroup(group)->gain, 0.0f);
    }
    Root().CloseGameplay();
    for (const char* key : {"settings", "effects", "numbers", "ambient", "check_mode", "hint_button", "pause_button",
                            "store_button", "reset_selection"})
        configuration.SetString(key, "");
    context.packs.Unload();
    context.soundGroups.Clear();
    players.SetListener(nullptr);
}

}  // namespace
