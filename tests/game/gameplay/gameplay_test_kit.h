#pragma once
// The board screen on the null backend: a Resources tree with the gameplay files (settings,
// effects, clue style, decoration, the five control layouts), two packs (an ordinary one and a
// tutorial one) whose level files are drawn from pictures, the loss and finish windows of the
// standard types under the names the screen looks for, a current player, a host that records the
// root calls, an event recorder, scripted mouse input and frames of a given length.

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/core/event_dispatcher.h"
#include "engine/core/property_map.h"
#include "engine/platform/clock.h"
#include "engine/platform/input.h"
#include "engine/resources/string_table.h"
#include "engine/sound/sound_groups.h"
#include "engine/windows/window_confirm.h"
#include "engine/windows/window_manager.h"
#include "engine/windows/window_registry.h"
#include "engine/windows/window_simple.h"
#include "game/data/game_player.h"
#include "game/data/igp_manager.h"
#include "game/data/igp_wrapper_offline.h"
#include "game/data/packs.h"
#include "game/data/player_manager.h"
#include "game/data/tutorial_controller.h"
#include "game/gameplay/gameplay.h"
#include "game/gameplay/gameplay_windows.h"
#include "game/ui/window_factory.h"
#include "tests/game/gameplay/board_test_kit.h"
#include "tests/game/gameplay/control_test_kit.h"
#include "tests/graphics/sprite_test_support.h"
#include "tests/gui/gui_test_support.h"
#include "tests/test_kit/global_guard.h"
#include "tests/test_kit/parsed_xml.h"

namespace GameplayTestKit {

// The root as the screen sees it: every call recorded.
struct Host : gcGameplayHost {
    void ExecuteCommand(const std::string& command) override { commands.push_back(command); }
    void Save() override { ++saves; }
    void LoseHeart() override {
        ++heartsLost;
        if (player != nullptr) player->GetHealth().LoseHeart();
    }
    bool CheckTrophy(const std::string& name) override {
        trophyTests.push_back(name);
        return awardTrophies;
    }
    void CheckAllTrophies(const std::string& name) override { trophiesAwarded.push_back(name); }
    void CheckLevelTrophies() override { ++levelTrophyChecks; }
    void ShowLevels(bool instant) override { levelLists.push_back(instant); }

    gcPlayer* player = nullptr;
    std::vector<std::string> commands;
    int saves = 0;
    int heartsLost = 0;
    bool awardTrophies = false;
    std::vector<std::string> trophyTests;
    std::vector<std::string> trophiesAwarded;
    int levelTrophyChecks = 0;
    std::vector<bool> levelLists;
};

// "GP_Finish" and "Tutorial_Finish": a plain window that keeps the result it is given.
class FinishWindow : public JCWindow_Simple, public gcGameFinishTarget {
public:
    void SetResult(const gcLevelResult* value) override {
        result = value;
        ++results;
    }
    static JCWindow* Create() { return new FinishWindow(); }
    const gcLevelResult* result = nullptr;
    int results = 0;
};

// Game events as heard, in order (the screen's own and the board's moves).
class Events : public QRV::gListener {
public:
    explicit Events(QRV::gEventDispatcher& dispatcher) : dispatcher(dispatcher) {
        for (int32_t id : {4, 5, 6, 7, 8, 9, 10, 16, 17, 23, 24}) Subscribe(id, Plain(id));
        Subscribe<std::string>(11, {this, [](void* self, std::string item) {
                                        auto* events = static_cast<Events*>(self);
                                        events->ids.push_back(11);
                                        events->items.push_back(item);
                                    }});
        dispatcher.AddListener(this);
    }
    ~Events() override { dispatcher.RemoveListener(this); }
    int Count(int32_t id) const {
        int n = 0;
        for (int32_t seen : ids) n += seen == id ? 1 : 0;
        return n;
    }
    std::vector<int32_t> ids;
    std::vector<std::string> items;

private:
    Closure<void()> Plain(int32_t id) {
        // The id rides in the object word beside the recorder: one closure per id.
        slots.push_back({this, id});
        Slot* slot = &slots.back();
        return {slot, [](void* s) {
                    auto* at = static_cast<Slot*>(s);
                    at->events->ids.push_back(at->id);
                }};
    }
    struct Slot {
        Events* events;
        int32_t id;
    };
    std::deque<Slot> slots;
    QRV::gEventDispatcher& dispatcher;
};

inline std::string Animation(const std::string& name, int frames = 1, const std::string& element = "a") {
    return "<" + element + " name='" + name + "' TEXTURE='fx.png'><SIZE>24 24</SIZE><ANIMATION grid='1 1' frames='" +
           std::to_string(frames) + "' fps='8' loop='false'/></" + element + ">";
}

inline std::string EffectsXml() {
    return "<effects><animations>" + Animation("square") + Animation("cross") + Animation("hint") + Animation("money") +
           Animation("win", 4) +
           "</animations><font_selected fntName='none'/>"
           "<settings><param key='open_delay' value='0'/><param key='end_level_time' value='1'/>"
           "<param key='end_level' value='win'/></settings>"
           "<hint_fly deflection1='-40' deflection2='40' speed='2000'>"
           "<particles_finish texture='dot.png'/><particles_follow texture='dot.png'/></hint_fly>"
           "<bonus_effect speed='4000' deflection='10' endpos='900 40'>"
           "<font fntName='none'><motion time='0.2' start='0 0' endoffset='0 -10'/></font>"
           "<text value='+%i'/><particles_follow texture='dot.png'/></bonus_effect></effects>";
}

inline std::string AmbientSprite(const std::string& element) {
    return "<" + element + " TEXTURE='d.png'><SIZE>6 6</SIZE></" + element + ">";
}

inline std::string AmbientXml() {
    const auto ear = [](const std::string& element) {
        return "<" + element + ">" + AmbientSprite("background") + AmbientSprite("stick") +
               AmbientSprite("stickBlock") + "</" + element + ">";
    };
    return "<ambient size='120'>"
           "<border ul='d.png' up='d.png' ur='d.png' lt='d.png' mid='d.png' rt='d.png' dl='d.png' dn='d.png' "
           "dr='d.png'/>" +
           ear("left_ear") + ear("up_ear") + "<highlight vertical='d.png' horisontal='d.png' shift='2 3'/>" +
           "<error_panel pos='900 80' grid='5 2' interval='8 6' ping='0.1'>" + Animation("", 1, "sprite") +
           Animation("", 1, "sprite_lock") + Animation("", 1, "background") +
           "</error_panel><sunime fntName='none' fntColor='FFFFD040' pos='949 36'/></ambient>";
}

// A level file: 30 px cells in 5 x 5 blocks with 4 px gaps, centred at (400, 384).
inline std::string LevelXml(const std::vector<std::string>& picture, int bonuses = 0) {
    return BoardTestKit::LevelText(
        picture,
        "elSize='30 30' block='5 5' shiftBlock='-4 -4' position='400 384' bonuses='" + std::to_string(bonuses) + "'");
}

// The windows, momental. Confirms carry the text label 2 (1 for the price) and buttons 3, 4, 5, each
// with its caption 103, 104, 105.
inline std::string ConfirmXml(const std::string& name) {
    const std::string font = "FONT='gui_font.xml' FONT_TEXTURE='gui_font.png'";
    std::string gui = "<GUI>";
    for (int id = 3; id <= 5; ++id) {
        gui += "<BUTTON5 ID='" + std::to_string(id) + "' TEXTURE='strip.png'><POSITION>" + std::to_string(id * 120) +
               " 100</POSITION><CONTEXT><WLABEL ID='" + std::to_string(100 + id) + "' " + font +
               " TEXT='caption'/></CONTEXT></BUTTON5>";
    }
    gui += "<WLABEL ID='1' " + font + " TEXT='price'/><WLABEL ID='2' " + font + " TEXT='text'/></GUI>";
    return "<W _type='G_WINDOW_CONFIRM' _name='" + name +
           "' _typeOpen='SH_MOMENTAL' _typeClose='SH_MOMENTAL' _modal='1'>" + gui + "</W>";
}
inline std::string PlainXml(const std::string& name, const std::string& type = "G_WINDOW_SIMPLE") {
    return "<W _type='" + type + "' _name='" + name + "' _typeOpen='SH_MOMENTAL' _typeClose='SH_MOMENTAL'/>";
}

inline const std::vector<std::string> kConfirms = {"Confirm_SecondChance", "Confirm_SecondChanceBuy",
                                                   "Confirm_Restart_Finish", "confirm_restart_health_is_empty"};
inline const std::vector<std::string> kPlainWindows = {"GP_Menu", "Shop", "GP_FeedBack_Reset", "Fade_Transition"};

class GameplayScene : public QRV::TestSupport::SpriteSceneTest {
protected:
    void SetUp() override {
        SpriteSceneTest::SetUp();
        static const bool registered = RegisterWindowType("TEST_GAME_FINISH", &FinishWindow::Create);
        ASSERT_TRUE(registered);
        globals.Save(QRV::g_frameTime);
        QRV::g_frameTime = 0.1f;
        for (const char* image : {"fx.png", "dot.png", "d.png", "b.png", "y.png", "n.png", "digits.png", "glow.png",
                                  "panel.png", "knob.png", "strip.png", "reset.png", "gui_font.png", "paper.png"}) {
            PutImage(image, 32, 32);
        }
        Put("gui_font.xml", "<font><common lineHeight='16'/><pages/><chars/></font>");
        Put("settings.xml", "<settings sunime_one='1' sunime_bonus='5' max_hints='4'/>");
        Put("effects.xml", EffectsXml());
        Put("numbers.xml", BoardTestKit::kStyle);
        Put("ambient.xml", AmbientXml());
        configuration.SetString("settings", "settings.xml");
        configuration.SetString("effects", "effects.xml");
        configuration.SetString("numbers", "numbers.xml");
        configuration.SetString("ambient", "ambient.xml");
        const std::pair<const char*, const char*> layouts[] = {{"check_mode", ControlTestKit::kCheckModeLayout},
                                                               {"hint_button", ControlTestKit::kHintLayout},
                                                               {"pause_button", ControlTestKit::kPauseLayout},
                                                               {"store_button", ControlTestKit::kStoreLayout},
                                                               {"reset_selection", ControlTestKit::kResetLayout}};
        for (const auto& [key, xml] : layouts) {
            Put(std::string(key) + ".xml", xml);
            configuration.SetString(key, std::string(key) + ".xml");
        }
        for (const std::string& name : kConfirms) Put(name + ".xml", ConfirmXml(name));
        for (const std::string& name : kPlainWindows) Put(name + ".xml", PlainXml(name));
        Put("GP_Finish.xml", PlainXml("GP_Finish", "TEST_GAME_FINISH"));
        Put("Tutorial_Finish.xml", PlainXml("Tutorial_Finish", "TEST_GAME_FINISH"));
        windows.defaultFactory = &CreateWindowByType;
        edition.SetString("inapp", "");
        edition.SetInt("heart", 1);
        edition.SetInt("free", 0);
        edition.SetInt("pack_logic_stars", 0);

        player = new gcPlayer();
        player->SetName(L"tester");
        player->SetItemCount("error", 3);
        player->SetItemCount("hint_start", 1);
        player->SetItemCount("life", 3);
        player->SetMusicVolume(50.0f);
        QRV::TestKit::ParsedXml health("<health count='3' time_refill_heart='1800'/>");
        player->GetHealth().LoadXml(health.Root());
        players.AddPlayer(std::unique_ptr<JCPlayer>(player));
        players.SelectPlayer(player);
        host.player = player;
    }
    void TearDown() override {
        screen.reset();
        windows.DeleteAllWindows();
        packs.Unload();
        SpriteSceneTest::TearDown();
    }

    // A pack folder with one level file per picture ("a.xml", "b.xml", ...).
    void PutPack(const std::string& folder, const std::vector<std::vector<std::string>>& levels,
                 const std::string& params = "") {
        std::string grid = "<pages cols='4' rows='3'>";
        for (size_t i = 0; i < levels.size(); ++i) {
            Put(folder + "/" + std::string(1, static_cast<char>('a' + i)) + ".xml", LevelXml(levels[i]));
            grid += "<level size='5 5'/>";
        }
        Put(folder + "/main/pack_item.xml", "<pack><property>" + params + "</property></pack>");
        Put(folder + "/main/pages.xml", grid + "</pages>");
        Put(folder + "/image/cover.png", "png");
    }

    // Loads everything and builds the screen; `picture` is level "pack01.a", followed by "b" with the
    // same picture; a second pack and a tutorial pack of one level each.
    void Build(const std::vector<std::string>& picture, const std::set<std::string>& without = {}) {
        PutPack("pack01", {picture, picture}, "<param key='background' value='paper.png'/>");
        PutPack("pack02", {picture}, "<param key='condition_to_pass' value='3'/>");
        PutPack("tutorial_pack1", {picture});
        ASSERT_EQ(manager.LoadMain(), 1);
        ASSERT_TRUE(packs.Scan("pack_item.xml"));
        std::vector<std::string> names = kConfirms;
        names.insert(names.end(), kPlainWindows.begin(), kPlainWindows.end());
        names.insert(names.end(), {"GP_Finish", "Tutorial_Finish"});
        for (const std::string& name : names) {
            if (without.count(name) != 0) continue;
            ASSERT_NE(windows.LoadWindow(name + ".xml"), nullptr) << name;
        }
        QRV::TestKit::ParsedXml groups("<sound><g name='music'/><g name='sounds'/></sound>");
        sounds.Load(groups.Root());
        screen = std::make_unique<gcGameplay>(Services());
        screen->SetHost(&host);
        ASSERT_TRUE(screen->LoadSettings());
        ASSERT_TRUE(screen->LoadControls());
        ASSERT_TRUE(screen->LoadEffects());
    }
    gcGameplayServices Services() {
        gcGameplayServices services;
        services.dispatcher = &dispatcher;
        services.windows = &windows;
        services.sounds = &sounds;
        services.players = &players;
        services.packs = &packs;
        services.configuration = &configuration;
        services.edition = &edition;
        services.tutorials = &tutorials;
        services.purchases = &purchases;
        services.strings = &strings;
        return services;
    }
    // Selects the level by name and starts it as the root does (start, then activate).
    bool Start(const std::string& name = "pack01.a") {
        packs.SelectLevel(name);
        const JSProperty* path = packs.GetCurrentPack()->GetSelectedLevel()->GetProperty("path");
        if (!screen->StartLevel(path->text)) return false;
        screen->Activate();
        return true;
    }

    // Frames of the screen and the windows, with the queued events flushed as the root does.
    void Frames(int count, float dt = 0.1f) {
        QRV::g_frameTime = dt;
        for (int i = 0; i < count; ++i) {
            screen->Update();
            windows.Update();
            dispatcher.Flush();
        }
    }
    // The centre of a cell on the screen.
    void MoveToCell(int column, int row) {
        const gcElement* cell = screen->Process().CellAt(column, row);
        ASSERT_NE(cell, nullptr);
        input.MoveTo(static_cast<int32_t>(cell->CentreX()), static_cast<int32_t>(cell->CentreY()));
        screen->OnMouseMove();
    }
    // A press on one cell and its release, as the root hands them on; then frames for the opens.
    void Click(int column, int row, int button = 1) {
        input.Clear();
        MoveToCell(column, row);
        input.Press(button == 2 ? QRV::VK_RBUTTON : QRV::VK_LBUTTON);
        screen->OnMouseDown(button);
        input.Clear();
        input.Release(button == 2 ? QRV::VK_RBUTTON : QRV::VK_LBUTTON);
        screen->OnMouseUp(button);
        input.Clear();
        Frames(2);
    }
    // Every cell of that kind clicked with the button (picture cells with 1 reveal them).
    void ClickAll(const std::vector<std::string>& picture, char kind, int button, int limit = 1000) {
        for (size_t row = 0; row < picture.size(); ++row)
            for (size_t column = 0; column < picture[row].size() && limit > 0; ++column)
                if (picture[row][column] == kind) {
                    Click(static_cast<int>(column), static_cast<int>(row), button);
                    --limit;
                }
    }
    JCLevel* Level(const std::string& pack, size_t index) { return packs.FindPack(pack, 0)->LevelAt(index); }
    JCWindow_Confirm* Confirm(const std::string& name) {
        return dynamic_cast<JCWindow_Confirm*>(windows.FindWindow(name));
    }
    bool Shown(const std::string& name) const { return windows.FindShownWindow(name) != nullptr; }
    int32_t Statistic(const char* name) const {
        const JSProperty* value = player->GetStatistic(name);
        return value != nullptr ? value->intValue : -1;
    }

    QRV::TestKit::GlobalGuard globals;
    QRV::GuiTest::ScriptedInput input;
    QRV::gEventDispatcher dispatcher;
    JCPropertyMap configuration;
    JCPropertyMap edition;
    QRV::JC_STRING_TABLE strings;  // empty: a text shows as its key
    JCWindowManager windows{nullptr};
    JCSoundGroups sounds;
    JCPlayerManager players;
    JCPacks packs;
    gcTutorialController tutorials;
    JCIgpManager purchases;
    gcPlayer* player = nullptr;
    Host host;
    std::unique_ptr<gcGameplay> screen;
};

}  // namespace GameplayTestKit
