// The options window, the help hub and its sections and the credits, driven as the player drives
// them over the shipped windows: volumes follow a dragged slider at once, Cancel puts back and
// applies what the player had, OK saves, the fullscreen switch needs a desktop that holds a
// window, the help buttons lead between hub and sections, and only a page of "Help_Solving"
// leads to the tutorial packs.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/conversions.h"
#include "engine/graphics/transform.h"
#include "engine/gui/gui_base_slider.h"
#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_checkbox_interface.h"
#include "engine/gui/gui_page_number.h"
#include "engine/sound/sound_groups.h"
#include "game/screens/window_help_ex.h"
#include "game/screens/window_options.h"
#include "game/ui/window_factory.h"
#include "tests/game/screens/screen_scene.h"

namespace {

using ScreenTest::ScreenScene;

class OptionsScreenTest : public ScreenScene {
protected:
    // Shows the window and runs its show to the end.
    void Open(const std::string& name) {
        ASSERT_NE(Windows().ShowWindow(name, false), nullptr) << name;
        Seconds(0.5f);
        ASSERT_TRUE(Settled(name)) << name;
    }
    gcWindow_Options& Options() { return *WindowAs<gcWindow_Options>("Options"); }
    static QRV::JC_BASESLIDER* Slider(int32_t id) { return dynamic_cast<QRV::JC_BASESLIDER*>(Control("Options", id)); }
    static QRV::JC_GUI_CHECKBOX_INTERFACE* Toggle(int32_t id) {
        return dynamic_cast<QRV::JC_GUI_CHECKBOX_INTERFACE*>(Control("Options", id));
    }
    static float Volume(int32_t slider) {
        return slider == gcWindow_Options::kSound ? Player()->GetSoundVolume() : Player()->GetMusicVolume();
    }
    static float Gain(const char* group) { return Context().soundGroups.FindGroup(group)->gain; }

    // Presses the slider's knob and drags it `dx` pixels along the track in `steps` moves; the
    // release comes after `afterEachMove` has looked at every step.
    template <class Look>
    void DragKnob(int32_t slider, float dx, int steps, Look afterEachMove) {
        QRV::JC_BASESLIDER* s = Slider(slider);
        const QRV::JS_TRANSFORM3 knob = QRV::GetAbsolute(s->parts[QRV::JC_BASESLIDER::Knob]);
        const auto x = static_cast<int32_t>(knob.positionX), y = static_cast<int32_t>(knob.positionY);
        MoveMouse(x, y);
        Frames(1, 0.1f);
        ButtonDown();
        Frames(1);
        for (int i = 1; i <= steps; ++i) {
            MoveMouse(x + static_cast<int32_t>(dx * static_cast<float>(i) / static_cast<float>(steps)), y);
            Frames(1);
            afterEachMove();
        }
        ButtonUp();
        Frames(1);
    }
    void DragKnob(int32_t slider, float dx) {
        DragKnob(slider, dx, 4, [] {});
    }
};

TEST_F(OptionsScreenTest, ADraggedSliderChangesItsVolumeAtOnceAndSendsItsEvent) {
    const struct {
        int32_t slider;
        int32_t event;
        const char* group;
    } cases[] = {{gcWindow_Options::kSound, kEventSoundVolume, "sounds"},
                 {gcWindow_Options::kMusic, kEventMusicVolume, "music"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.group);
        Open("Options");
        const float before = Volume(c.slider);
        ASSERT_FLOAT_EQ(Slider(c.slider)->GetValue(), before);  // the slider shows the stored volume
        Events().Clear();
        int moves = 0;
        DragKnob(c.slider, -90.0f, 3, [&] {
            // Every move of the knob is heard before the release.
            ++moves;
            EXPECT_FLOAT_EQ(Volume(c.slider), Slider(c.slider)->GetValue());
            EXPECT_GE(Events().Count(c.event), moves);
            EXPECT_FLOAT_EQ(Gain(c.group), SoundVolumeToGain(Volume(c.slider)));
        });
        EXPECT_LT(Volume(c.slider), before - 20.0f);
        EXPECT_EQ(Events().Count(c.event == kEventSoundVolume ? kEventMusicVolume : kEventSoundVolume), 0);
        ASSERT_TRUE(ClickControl("Options", gcWindow_Options::kOk));
        Seconds(0.5f);
    }
}

// A step button changes the value on its release, which is no click: the volume follows too, by a
// step a player can hear and see.
TEST_F(OptionsScreenTest, TheStepButtonsChangeTheVolume) {
    Open("Options");
    QRV::JC_BASESLIDER* music = Slider(gcWindow_Options::kMusic);
    const float before = Player()->GetMusicVolume();
    const QRV::JS_TRANSFORM3 plus = QRV::GetAbsolute(music->parts[QRV::JC_BASESLIDER::Increase]);
    MoveMouse(static_cast<int32_t>(plus.positionX), static_cast<int32_t>(plus.positionY));
    Frames(1, 0.1f);
    Events().Clear();
    ButtonDown();
    Frames(1);
    ButtonUp();
    Frames(1);
    EXPECT_GE(music->step, 5.0f);
    EXPECT_FLOAT_EQ(Player()->GetMusicVolume(), std::fmin(before + music->step, music->maximum));
    EXPECT_EQ(Events().Count(kEventMusicVolume), 1);
}

TEST_F(OptionsScreenTest, CancelRestoresWhatThePlayerHadAndAppliesIt) {
    // What was changed before Cancel, and which of the fullscreen and cursor events Cancel sends.
    const struct {
        const char* what;
        bool drag, fullscreen, cursor;
    } cases[] = {
        {"nothing", false, false, false},   {"a volume", true, false, false}, {"fullscreen", false, true, false},
        {"the cursor", false, false, true}, {"everything", true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Open("Options");
        const float sound = Player()->GetSoundVolume(), music = Player()->GetMusicVolume();
        const bool cursor = Player()->GetGameCursor();
        const int32_t fullscreen = Global().UserInt("fullscreen");
        Events().Clear();
        if (c.drag) {
            DragKnob(gcWindow_Options::kSound, 60.0f);
            DragKnob(gcWindow_Options::kMusic, -60.0f);
            ASSERT_NE(Player()->GetMusicVolume(), music);
        }
        if (c.fullscreen) {
            ASSERT_TRUE(ClickControl("Options", gcWindow_Options::kFullscreen));
        }
        if (c.cursor) {
            ASSERT_TRUE(ClickControl("Options", gcWindow_Options::kGameCursor));
        }
        ASSERT_EQ(Global().UserInt("fullscreen") != fullscreen, c.fullscreen);
        ASSERT_EQ(Player()->GetGameCursor() != cursor, c.cursor);
        // A switch changes its setting and says so at once.
        EXPECT_EQ(Events().Count(kEventFullscreen), c.fullscreen ? 1 : 0);
        EXPECT_EQ(Events().Count(kEventGameCursor), c.cursor ? 1 : 0);

        Events().Clear();
        ASSERT_TRUE(ClickControl("Options", gcWindow_Options::kCancel));
        Seconds(0.5f);
        EXPECT_FALSE(Shown("Options"));
        EXPECT_FLOAT_EQ(Player()->GetSoundVolume(), sound);
        EXPECT_FLOAT_EQ(Player()->GetMusicVolume(), music);
        EXPECT_EQ(Player()->GetGameCursor(), cursor);
        EXPECT_EQ(Global().UserInt("fullscreen"), fullscreen);
        // Applied: heard at the restored volumes, and the changed modes switched back.
        EXPECT_FLOAT_EQ(Gain("sounds"), SoundVolumeToGain(sound));
        EXPECT_FLOAT_EQ(Gain("music"), SoundVolumeToGain(music));
        EXPECT_EQ(Root().IsCursorShown(), cursor);
        EXPECT_EQ(Events().Count(kEventSoundVolume), 1);
        EXPECT_EQ(Events().Count(kEventMusicVolume), 1);
        EXPECT_EQ(Events().Count(kEventFullscreen), c.fullscreen ? 1 : 0);
        EXPECT_EQ(Events().Count(kEventGameCursor), c.cursor ? 1 : 0);
    }
}

TEST_F(OptionsScreenTest, OkWritesTheVolumesAndTheCursorToThePlayersAndFullscreenToTheUsersSettings) {
    Open("Options");
    DragKnob(gcWindow_Options::kMusic, -70.0f);
    DragKnob(gcWindow_Options::kSound, 40.0f);
    ASSERT_TRUE(ClickControl("Options", gcWindow_Options::kGameCursor));
    ASSERT_TRUE(ClickControl("Options", gcWindow_Options::kFullscreen));
    const float music = Player()->GetMusicVolume(), sound = Player()->GetSoundVolume();
    const bool cursor = Player()->GetGameCursor();
    ASSERT_TRUE(ClickControl("Options", gcWindow_Options::kOk));
    Seconds(0.5f);
    EXPECT_FALSE(Shown("Options"));

    pugi::xml_document players;
    ASSERT_TRUE(LoadSave("players.xml", players));
    const pugi::xml_node player = players.select_node("//player").node();
    ASSERT_TRUE(player);
    EXPECT_FLOAT_EQ(player.attribute("music_volume").as_float(), music);
    EXPECT_FLOAT_EQ(player.attribute("sound_volume").as_float(), sound);
    EXPECT_EQ(QRV::IsTrueText(player.attribute("game_cursor").value()), cursor);
    pugi::xml_document settings;
    ASSERT_TRUE(LoadSave("game.xml", settings));
    const pugi::xml_node fullscreen = settings.select_node("//param[@key='fullscreen']").node();
    ASSERT_TRUE(fullscreen);
    EXPECT_TRUE(QRV::StringToBool(fullscreen.attribute("value").value()));
    // The edits stay.
    EXPECT_FLOAT_EQ(Player()->GetMusicVolume(), music);
}

TEST_F(OptionsScreenTest, TheFullscreenSwitchNeedsADesktopThatHoldsTheWindow) {
    const struct {
        int32_t width, height;
        bool offered;
    } desktops[] = {{1280, 1024, true}, {1023, 768, false}, {1024, 768, true}, {1024, 767, false}, {800, 600, false}};
    for (const auto& d : desktops) {
        SCOPED_TRACE(std::to_string(d.width) + " x " + std::to_string(d.height));
        QRV::g_app->desktopWidth = d.width;
        QRV::g_app->desktopHeight = d.height;
        Open("Options");
        EXPECT_EQ(Control("Options", gcWindow_Options::kFullscreen)->IsVisible(), d.offered);
        EXPECT_EQ(Control("Options", gcWindow_Options::kFullscreenLabel)->IsVisible(), d.offered);
        EXPECT_TRUE(Control("Options", gcWindow_Options::kGameCursor)->IsVisible());
        ASSERT_TRUE(ClickControl("Options", gcWindow_Options::kCancel));
        Seconds(0.5f);
    }
}

TEST_F(OptionsScreenTest, WithoutAPlayerTheControlsChangeNothing) {
    ASSERT_NE(Player(), nullptr);
    ASSERT_TRUE(Context().playerManager.RemovePlayer(Player()->GetName()));
    ASSERT_EQ(Player(), nullptr);
    QRV::g_app->desktopWidth = 800;
    QRV::g_app->desktopHeight = 600;
    Open("Options");
    EXPECT_EQ(Options().Backup(), nullptr);
    // The desktop still decides about the fullscreen switch.
    EXPECT_FALSE(Control("Options", gcWindow_Options::kFullscreen)->IsVisible());
    const int32_t fullscreen = Global().UserInt("fullscreen");
    Events().Clear();
    for (int32_t id : {gcWindow_Options::kFullscreen, gcWindow_Options::kGameCursor}) ClickControl("Options", id);
    DragKnob(gcWindow_Options::kMusic, -60.0f);
    EXPECT_EQ(Global().UserInt("fullscreen"), fullscreen);
    ASSERT_TRUE(ClickControl("Options", gcWindow_Options::kCancel));
    Seconds(0.5f);
    EXPECT_FALSE(Shown("Options"));
    EXPECT_TRUE(Events().Events().empty());
}

TEST_F(OptionsScreenTest, CreditsOpenOverTheOptionsAndTheirCloseHidesThem) {
    Open("Options");
    ASSERT_TRUE(ClickControl("Options", gcWindow_Options::kCredits));
    Seconds(0.5f);
    ASSERT_TRUE(Settled("Credits"));
    ASSERT_TRUE(ClickControl("Credits", 1));
    Seconds(0.5f);
    EXPECT_FALSE(Shown("Credits"));
    EXPECT_TRUE(Shown("Options"));
}

TEST_F(OptionsScreenTest, HelpButtonsLeadBetweenOptionsHubAndSections) {
    const struct {
        const char* from;
        int32_t button;
        const char* to;
    } routes[] = {
        {"Options", gcWindow_Options::kHelp, "Help"},
        {"Help", 3, "Help_Solving"},
        {"Help", 4, "Help_Gameplay"},
        {"Help", 5, "Help_TipsTricks"},
        {"Help", 6, "Options"},
        {"Help_Solving", 3, "Help"},
        {"Help_Solving", 4, "Options"},
        {"Help_Gameplay", 3, "Help"},
        {"Help_Gameplay", 4, "Options"},
        {"Help_TipsTricks", 3, "Help"},
        {"Help_TipsTricks", 4, "Options"},
    };
    for (const auto& r : routes) {
        SCOPED_TRACE(std::string(r.from) + " " + std::to_string(r.button));
        Open(r.from);
        ASSERT_TRUE(ClickControl(r.from, r.button));
        Seconds(0.5f);
        EXPECT_FALSE(Shown(r.from));
        EXPECT_TRUE(Settled(r.to));
        Windows().FindShownWindow(r.to)->Hide(true);
        Frames(2);
    }
}

// The hub has no "gui_back" and no pages: no button id matches a missing setting (0 included).
TEST_F(OptionsScreenTest, AMissingSettingMatchesNoButtonAndTheHubHasNoGrid) {
    Open("Help");
    auto* hub = WindowAs<gcWindow_HelpEx>("Help");
    EXPECT_EQ(hub->Pages(), nullptr);
    EXPECT_FALSE(hub->ButtonId("gui_back").has_value());
    EXPECT_EQ(hub->ButtonId("gui_close"), 6);
    for (int32_t id : {0, 1, 2, 7}) hub->OnButton(id);
    Seconds(0.5f);
    EXPECT_TRUE(Settled("Help"));
    for (const char* section : {"Help_Solving", "Help_Gameplay", "Help_TipsTricks"}) {
        const JCPages* pages = WindowAs<gcWindow_HelpEx>(section)->Pages();
        ASSERT_NE(pages, nullptr) << section;
        EXPECT_GE(pages->pageCount, 5) << section;
        EXPECT_EQ(pages->slideEffect.enabled, 0) << section;  // no drags on the desktop
    }
}

TEST_F(OptionsScreenTest, ThePageIndicatorTurnsTheHelpPages) {
    Open("Help_Gameplay");
    const JCPages* pages = WindowAs<gcWindow_HelpEx>("Help_Gameplay")->Pages();
    ASSERT_NE(pages->pageNumber, nullptr);
    EXPECT_TRUE(pages->pageNumber->IsVisible());
    const auto click = [&](const QRV::JC_GUI_BUTTON5* button) {
        const QRV::JS_TRANSFORM3 at = QRV::GetAbsolute(*button->transform);
        ClickAt(static_cast<int32_t>(at.positionX), static_cast<int32_t>(at.positionY));
        Seconds(1.5f);
    };
    for (int32_t expected : {1, 2}) {
        click(pages->pageNumber->record.nextButton);
        EXPECT_EQ(pages->currentPage, expected);
    }
    click(pages->pageNumber->record.previousButton);
    EXPECT_EQ(pages->currentPage, 1);
    EXPECT_TRUE(Settled("Help_Gameplay"));
}

TEST_F(OptionsScreenTest, APageClickOpensTheTutorialPacksOnlyFromHowToSolve) {
    const struct {
        const char* section;
        bool leaves;
    } cases[] = {{"Help_Gameplay", false}, {"Help_TipsTricks", false}, {"Help_Solving", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.section);
        Open(c.section);
        ASSERT_TRUE(Shown("Title"));
        const JCPages* pages = WindowAs<gcWindow_HelpEx>(c.section)->Pages();
        const QRV::JS_TRANSFORM3 page = QRV::GetAbsolute(pages->items.front()->transform);
        ClickAt(static_cast<int32_t>(page.positionX), static_cast<int32_t>(page.positionY) + 40);
        Seconds(2.0f);
        EXPECT_EQ(Shown(c.section), !c.leaves);
        EXPECT_EQ(Shown("Tutorial"), c.leaves);
        EXPECT_EQ(Shown("Title"), !c.leaves);
        EXPECT_FALSE(Shown("Fade_Transition"));
        // The shared fade keeps no callback of this leave for whoever shows it next.
        EXPECT_FALSE(Window("Fade_Transition")->cbShown);
        if (Shown(c.section)) Windows().FindShownWindow(c.section)->Hide(true);
        Frames(2);
    }
}

// Leaving a running level through a page of "Help_Solving" closes it without the heart that the
// pause menu's close costs.
TEST_F(OptionsScreenTest, LeavingALevelThroughHowToSolveCostsNoHeart) {
    ASSERT_TRUE(Root().StartLevel("pack01.level01"));
    Frames(2);
    ASSERT_TRUE(Root().Gameplay().IsRunning());
    const int32_t hearts = Player()->GetHealth().GetCount();
    Open("Help_Solving");
    const QRV::JS_TRANSFORM3 page =
        QRV::GetAbsolute(WindowAs<gcWindow_HelpEx>("Help_Solving")->Pages()->items.front()->transform);
    ClickAt(static_cast<int32_t>(page.positionX), static_cast<int32_t>(page.positionY) + 40);
    Seconds(2.0f);
    EXPECT_FALSE(Root().Gameplay().IsRunning());
    EXPECT_TRUE(Shown("Tutorial"));
    EXPECT_EQ(Player()->GetHealth().GetCount(), hearts);
}

// A help window of the factory's plain type: control 2 closes it; without "pages" it has no grid.
TEST_F(OptionsScreenTest, ThePlainHelpWindowClosesOnControlTwo) {
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(
        "<window _name=\"PlainHelp\" _type=\"GG_WINDOW_HELP\" _typeOpen=\"SH_FADE\" _typeClose=\"SH_FADE\" "
        "_timeShow=\"0.1\"><GUI/></window>"));
    std::unique_ptr<JCWindow> made(CreateWindowByType(document));
    auto* help = dynamic_cast<gcWindow_Help*>(made.get());
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->Pages(), nullptr);
    help->Show(true);
    Frames(1);
    help->OnButton(3);
    EXPECT_TRUE(help->IsShowing() || help->shown != 0);
    help->OnButton(gcWindow_Help::kClose);
    for (int i = 0; i < 30 && help->closed == 0; ++i) help->Update();
    EXPECT_NE(help->closed, 0);
}

// On touch platforms the options keep the fullscreen and cursor settings out of Cancel.
class OptionsScreenTouchTest : public OptionsScreenTest {
protected:
    void BeforeStart() override { Global().EditionConfig().SetString("platform", "android"); }
};

TEST_F(OptionsScreenTouchTest, CancelPutsBackOnlyTheVolumes) {
    ASSERT_TRUE(Global().CheckPlatform());
    if (Player() == nullptr) {
        ASSERT_NE(Root().CreatePlayer(L"touch"), nullptr);
    }
    Open("Options");
    const float music = Player()->GetMusicVolume();
    DragKnob(gcWindow_Options::kMusic, -60.0f);
    Player()->SetGameCursor(!Player()->GetGameCursor());
    const bool cursor = Player()->GetGameCursor();
    Events().Clear();
    ASSERT_TRUE(ClickControl("Options", gcWindow_Options::kCancel));
    EXPECT_FLOAT_EQ(Player()->GetMusicVolume(), music);
    EXPECT_EQ(Player()->GetGameCursor(), cursor);
    EXPECT_EQ(Events().Ids(), (std::vector<int32_t>{kEventSoundVolume, kEventMusicVolume}));
}

}  // namespace
