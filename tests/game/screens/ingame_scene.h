#pragma once
// The windows around a level on the null backend: the application's own singleton with a game root,
// a running board on small drawn levels (an ordinary pack of two levels, a tutorial pack of two, and
// a pack whose second level file is broken), the real window files of the start, pause and finish
// windows and their confirms (the sources expanded by the content builder's own placeholder code),
// the real English string table, plain stand-ins for the screens they switch to, a current player
// with hearts, a save folder of its own and frames of a given length.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/platform/clock.h"
#include "engine/resources/repository_manager.h"
#include "engine/windows/window.h"
#include "engine/windows/window_confirm.h"
#include "engine/windows/window_manager.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/app/global.h"
#include "game/data/calendar_clock.h"
#include "game/data/game_player.h"
#include "game/data/level.h"
#include "game/data/pack.h"
#include "game/screens/screen_windows.h"
#include "game/ui/window_factory.h"
#include "tests/game/gameplay/gameplay_test_kit.h"
#include "tests/graphics/sprite_test_support.h"
#include "tests/test_kit/parsed_xml.h"
#include "tools/content_builder/layout_placeholders.h"
#include "tools/content_builder/output_tree.h"
#include "tools/content_builder/string_table_source.h"

namespace IngameTest {

namespace fs = std::filesystem;
namespace Kit = GameplayTestKit;

inline int64_t g_ingameNow = 7'000'000;
inline int64_t IngameClock() { return g_ingameNow; }

// The windows whose real files the tests load.
inline const std::vector<std::string> kRealWindows = {"Fade_Transition",
                                                      "GP_Start",
                                                      "GP_Menu",
                                                      "GP_Finish",
                                                      "Tutorial_Finish",
                                                      "Confirm_Restart_Level",
                                                      "Confirm_Restart_Level_Tutor",
                                                      "Confirm_Close_Lvl",
                                                      "Confirm_Close_Lvl_Tutor",
                                                      "Confirm_Restart_In_Finish"};
// Plain stand-ins for the screens the windows switch to.
inline const std::vector<std::string> kStandIns = {"Packs",    "Pack_Title",     "Levels", "Level_Title",
                                                   "Tutorial", "Tutorial_Title", "Back",   "Options",
                                                   "Shop",     "Trophy_Get"};

inline std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class IngameScene : public QRV::TestSupport::SpriteSceneTest {
protected:
    static gcGlobal& Global() { return gcGlobal::Instance(); }
    static gcContext& Context() { return *Global().GetContext(); }
    static gcGame& Root() { return *Context().game; }
    static JCWindowManager& Windows() { return Context().windowManager; }
    static gcGameplay& Board() { return Root().Gameplay(); }

    void SetUp() override {
        // The paths service sets itself up on its first use: that use comes before the tree's move.
        QRV::JC_PATHS::Instance();
        SpriteSceneTest::SetUp();
        JCWindow_Confirm::RegisterType();
        RegisterScreenWindows();
        if (const char* old = std::getenv("XDG_DATA_HOME")) oldXdg = old;
        setenv("XDG_DATA_HOME", (root / "xdg").c_str(), 1);
        Game::SetCalendarClock(&IngameClock);
        globals.Save(QRV::g_frameTime);
        QRV::g_frameTime = 1.0f / 60.0f;
        globals.Set(QRV::g_clock, &clock);

        JCPropertyMap& edition = Global().EditionConfig();
        edition.SetString("inapp", "");
        edition.SetInt("heart", 1);
        edition.SetInt("free", 0);
        edition.SetInt("pack_logic_stars", 0);
        Context().game = std::make_unique<gcGame>(Global());
        Windows().defaultFactory = &CreateWindowByType;

        PutBoardFiles();
        const std::vector<std::string> picture = {"11000", "00000", "00000", "00000", "00000"};
        PutPack("pack01", {Kit::LevelXml(picture), Kit::LevelXml(picture)});
        PutPack("pack02", {Kit::LevelXml(picture), "<level/>"});
        PutPack("tutorial_pack1", {Kit::LevelXml(picture), Kit::LevelXml(picture)});
        ContentBuilder::OutputTree strings(root);
        ContentBuilder::BuildStringTable(QUORVEL_CONTENT_DIR, strings);
        for (const std::string& name : kRealWindows) PutRealWindow(name);
        for (const std::string& name : kStandIns) Put("data/share/windows/" + name + ".xml", Kit::PlainXml(name));
        ASSERT_EQ(manager.LoadMain(), 1);
        ASSERT_TRUE(QRV::LoadRepository("data/share/windows"));
        ASSERT_TRUE(Context().stringTable.LoadFromResource("strings.xml"));
        for (const std::string& name : kRealWindows) LoadWindow(name);
        for (const std::string& name : kStandIns) LoadWindow(name);

        ASSERT_TRUE(Context().packs.Scan("pack_item.xml"));
        QRV::TestKit::ParsedXml groups("<sound><g name='music'/><g name='sounds'/></sound>");
        Context().soundGroups.Load(groups.Root());
        JCPlayerManager& players = Context().playerManager;
        players.Load(Global().GetSaveFolder());
        players.SetListener(&Root());
        Root().DefaultPlayer().SetItemCount("life", 5);
        Root().DefaultPlayer().SetItemCount("error", 3);
        player = Root().CreatePlayer(L"Ann");
        ASSERT_NE(player, nullptr);
        while (player->GetHealth().AddHeart()) {}
        ASSERT_TRUE(Board().LoadSettings());
        ASSERT_TRUE(Board().LoadControls());
        ASSERT_TRUE(Board().LoadEffects());
    }

    void TearDown() override {
        if (Global().GetContext() != nullptr && Context().game != nullptr) {
            Root().CloseGameplay();
            Context().game.reset();
        }
        gcContext& context = Context();
        context.playerManager.SetListener(nullptr);
        context.playerManager.Clear();
        context.windowManager.DeleteAllWindows();
        context.packs.Unload();
        context.soundGroups.Clear();
        context.stringTable.Clear();
        JCPropertyMap& edition = Global().EditionConfig();
        for (const char* key : {"inapp", "heart", "free", "pack_logic_stars"}) edition.SetString(key, "");
        JCPropertyMap& configuration = Global().GameplayConfig();
        for (const char* key : {"settings", "effects", "numbers", "ambient", "check_mode", "hint_button",
                                "pause_button", "store_button", "reset_selection"})
            configuration.SetString(key, "");
        Game::SetCalendarClock(nullptr);
        if (oldXdg) setenv("XDG_DATA_HOME", oldXdg->c_str(), 1);
        else unsetenv("XDG_DATA_HOME");
        SpriteSceneTest::TearDown();
    }

    // The gameplay files of the board kit.
    void PutBoardFiles() {
        for (const char* image : {"fx.png", "dot.png", "d.png", "b.png", "y.png", "n.png", "digits.png", "glow.png",
                                  "panel.png", "knob.png", "strip.png", "reset.png", "gui_font.png", "paper.png"})
            PutImage(image, 32, 32);
        Put("gui_font.xml", "<font><common lineHeight='16'/><pages/><chars/></font>");
        Put("settings.xml", "<settings sunime_one='1' sunime_bonus='5' max_hints='4'/>");
        Put("effects.xml", Kit::EffectsXml());
        Put("numbers.xml", BoardTestKit::kStyle);
        Put("ambient.xml", Kit::AmbientXml());
        JCPropertyMap& configuration = Global().GameplayConfig();
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
    }
    // A pack folder with levels "a", "b", ... of these texts.
    void PutPack(const std::string& folder, const std::vector<std::string>& levels) {
        std::string grid = "<pages cols='4' rows='3'>";
        for (size_t i = 0; i < levels.size(); ++i) {
            Put(folder + "/" + std::string(1, static_cast<char>('a' + i)) + ".xml", levels[i]);
            grid += "<level size='5 5'/>";
        }
        Put(folder + "/main/pack_item.xml", "<pack><property/></pack>");
        Put(folder + "/main/pages.xml", grid + "</pages>");
    }
    // The window's source as the builder writes it; `edit` may change the text first.
    std::string RealWindowText(const std::string& name) {
        return ContentBuilder::ExpandLayoutPlaceholders(
            ReadText(fs::path(QUORVEL_CONTENT_DIR) / "windows" / (name + ".xml")));
    }
    void PutRealWindow(const std::string& name) { Put("data/share/windows/" + name + ".xml", RealWindowText(name)); }
    JCWindow* LoadWindow(const std::string& name) {
        JCWindow* window = Windows().LoadWindow("data/share/windows " + name + ".xml");
        EXPECT_NE(window, nullptr) << name;
        return window;
    }

    bool Shown(const std::string& name) { return Windows().FindShownWindow(name) != nullptr; }
    // Frames of the board, the windows and the event queue, as the root runs them.
    void Frames(int count, float dt = 1.0f / 60.0f) {
        QRV::g_frameTime = dt;
        for (int i = 0; i < count; ++i) {
            Board().Update();
            Windows().Update();
            Context().dispatcher.Flush();
        }
    }
    // Long enough for every transition and fade of the real windows.
    void Settle() { Frames(90); }
    // Starts the level and closes whatever start window it queued.
    void StartAndPlay(const std::string& level) {
        ASSERT_TRUE(Root().StartLevel(level)) << level;
        Settle();
        if (JCWindow* start = Windows().FindShownWindow("GP_Start")) start->OnButton(1);
        Settle();
        ASSERT_TRUE(Board().IsRunning());
        ASSERT_FALSE(Board().IsPaused());
    }
    int32_t Hearts() const { return player->GetHealth().GetCount(); }
    void SetHearts(int32_t count) {
        while (player->GetHealth().GetCount() > count && player->GetHealth().LoseHeart()) {}
        ASSERT_EQ(Hearts(), count);
    }
    JCLevel* Level(const std::string& name) {
        JCPack* pack = Context().packs.FindPack(name.substr(0, name.find('.')), kPackOrdinary);
        if (pack == nullptr) pack = Context().packs.FindPack(name.substr(0, name.find('.')), kPackTutorial);
        return pack != nullptr ? pack->FindLevel(name) : nullptr;
    }

    QRV::JC_CLOCK clock;
    gcPlayer* player = nullptr;
    std::optional<std::string> oldXdg;
};

}  // namespace IngameTest
