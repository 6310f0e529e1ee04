#pragma once
// The five controls on the null backend: a Resources tree with their layouts and pictures, the
// gameplay configuration naming them, test windows of the standard simple type for "GP_Menu",
// "Shop" and "GP_FeedBack_Reset", a scripted input, a delegate and a use-hint function that
// record their calls, and frames of a given length.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/event_dispatcher.h"
#include "engine/core/property_map.h"
#include "engine/platform/clock.h"
#include "engine/platform/input.h"
#include "engine/resources/string_table.h"
#include "engine/windows/window.h"
#include "engine/windows/window_manager.h"
#include "game/gameplay/command_open.h"
#include "game/gameplay/control_set.h"
#include "game/gameplay/message_tokens.h"
#include "game/ui/window_factory.h"
#include "tests/graphics/sprite_test_support.h"
#include "tests/gui/gui_test_support.h"
#include "tests/test_kit/global_guard.h"

namespace ControlTestKit {

// Hint button at (900, 300): a 250 x 100 atlas of two rows, so one digit is 50 x 50.
inline const char* kHintLayout =
    "<hint speed='0.5' rows='2'><TRANSFORM>900 300 0 0 0 0 0 0 0 1 1 1</TRANSFORM>"
    "<button_sprite><FILE>digits.png</FILE><POS>0 0</POS></button_sprite>"
    "<hint><FILE>glow.png</FILE><ANIMATION grid='1 1' frames='1' fps='1' loop='true'/></hint></hint>";
// The tool switch (60 x 30 track) centred at 1024 x 0.5 = 512, y 200, with a label keyed for
// the string table.
inline const char* kCheckModeLayout =
    "<check_mode><TRANSFORM auto_x='0.5'>10 200 0 0 0 0 0 0 0 1 1 1</TRANSFORM>"
    "<CHECKBOX_IOS ID='0' TX_PANEL='panel.png' TX_BTN='knob.png'/>"
    "<WLABEL ID='3' FONT='gui_font.xml' FONT_TEXTURE='gui_font.png' TEXT='k_tool'/></check_mode>";
// A 100 x 40 push button centred at (950, 700).
inline const char* kPauseLayout =
    "<pause><TRANSFORM>950 700 0 0 0 0 0 0 0 1 1 1</TRANSFORM><BUTTON5 ID='1' TEXTURE='strip.png'/></pause>";
// The same button at (900, 300), sliding over 0.5 s.
inline const char* kStoreLayout =
    "<store speed='0.5'><TRANSFORM>900 300 0 0 0 0 0 0 0 1 1 1</TRANSFORM>"
    "<BUTTON5 ID='1' TEXTURE='strip.png'/></store>";
// A 60 x 60 animation with its upper-left corner at (880, 400); colours red, green, blue.
inline const char* kResetLayout =
    "<reset time='0.2' begin_color='255 255 0 0' mid_color='255 0 255 0' end_color='255 0 0 255'>"
    "<TRANSFORM>880 400 0 0 0 0 0 0 0 1 1 1</TRANSFORM>"
    "<sprite><FILE>reset.png</FILE><HOT_SPOT>HS_UL</HOT_SPOT>"
    "<ANIMATION grid='1 1' frames='1' fps='1' loop='true'/></sprite></reset>";

inline constexpr uint32_t kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu;

struct Recorder : gcControl_Delegate {
    void OnControl(int32_t controlId) override { controls.push_back(controlId); }
    std::vector<int32_t> controls;
};

class ControlScene : public QRV::TestSupport::SpriteSceneTest {
protected:
    void SetUp() override {
        SpriteSceneTest::SetUp();
        globals.Save(QRV::g_frameTime);
        QRV::g_frameTime = 0.1f;
        PutImage("digits.png", 250, 100);
        PutImage("glow.png", 64, 64);
        PutImage("panel.png", 60, 30);
        PutImage("knob.png", 20, 20);
        PutImage("strip.png", 500, 40);
        PutImage("reset.png", 60, 60);
        PutImage("gui_font.png", 64, 16);
        Put("gui_font.xml", "<font><common lineHeight='16'/><pages/><chars/></font>");
        layouts = {{"check_mode", kCheckModeLayout},
                   {"hint_button", kHintLayout},
                   {"pause_button", kPauseLayout},
                   {"store_button", kStoreLayout},
                   {"reset_selection", kResetLayout}};
        for (const char* window : {"GP_Menu", "Shop", "GP_FeedBack_Reset"}) {
            Put(std::string(window) + ".xml", std::string("<window _name='") + window +
                                                  "' _type='G_WINDOW_SIMPLE' _typeOpen='SH_MOMENTAL' "
                                                  "_typeClose='SH_MOMENTAL'/>");
        }
        const std::string strings =
            "<Workbook><Worksheet><Table><Row><Cell><Data>k_tool</Data></Cell><Cell><Data>Tool</Data></Cell>"
            "</Row></Table></Worksheet></Workbook>";
        ASSERT_TRUE(table.LoadFromMemory(strings.data(), strings.size()));
        windows.defaultFactory = &CreateWindowByType;
    }
    void TearDown() override {
        set.reset();
        windows.DeleteAllWindows();
        SpriteSceneTest::TearDown();
    }

    // Writes the layouts (after any change to `layouts`), loads the main repository and the
    // windows, builds the set with the recorder as its delegate and loads it.
    bool Build(bool withWindows = true) {
        for (const auto& [key, xml] : layouts) {
            Put(key + ".xml", xml);
            configuration.SetString(key, key + ".xml");
        }
        if (manager.LoadMain() != 1) return false;
        if (withWindows) {
            for (const char* window : {"GP_Menu", "Shop", "GP_FeedBack_Reset"})
                if (windows.LoadWindow(std::string(window) + ".xml") == nullptr) return false;
        }
        set = std::make_unique<gcControlSet>(Services(), reinterpret_cast<uintptr_t>(this), &UseHint);
        set->SetDelegate(&delegate);
        return set->LoadAll();
    }
    gcControlServices Services() {
        gcControlServices services;
        services.dispatcher = &dispatcher;
        services.windows = &windows;
        services.configuration = &configuration;
        services.strings = &table;
        return services;
    }
    // Build, activate, then a level start with the given hint count, its tweens played out.
    void Start(int32_t hints) {
        ASSERT_TRUE(Build());
        StartLevel(hints);
    }
    void StartLevel(int32_t hints) {
        set->SetHintCount(hints);
        set->ActivateAll();
        dispatcher.Send<>(gcBoardEvent::LevelStarted);
        Frames(10);
        delegate.controls.clear();
    }

    void Frames(int32_t count) {
        for (int32_t i = 0; i < count; ++i) {
            set->Update();
            windows.Update();
        }
    }
    // One input event per frame, as the board hands them on.
    void MoveTo(int32_t x, int32_t y) {
        input.Clear();
        input.MoveTo(x, y);
        set->OnMouseMove();
    }
    int32_t Press(int32_t x, int32_t y, int32_t button = 1) {
        MoveTo(x, y);
        input.Clear();
        input.Press(button == 2 ? QRV::VK_RBUTTON : QRV::VK_LBUTTON);
        return set->OnMouseDown(button);
    }
    int32_t Release(int32_t x, int32_t y, int32_t button = 1) {
        input.Clear();
        input.MoveTo(x, y);
        input.Release(button == 2 ? QRV::VK_RBUTTON : QRV::VK_LBUTTON);
        return set->OnMouseUp(button);
    }
    bool Shown(const char* window) const { return windows.FindShownWindow(window) != nullptr; }
    void Message(const std::string& text) { set->HandleMessage(gcSplitMessage(text)); }

    static void UseHint(uintptr_t self) { reinterpret_cast<ControlScene*>(self)->hintUses++; }

    QRV::TestKit::GlobalGuard globals;
    QRV::GuiTest::ScriptedInput input;
    QRV::gEventDispatcher dispatcher;
    JCPropertyMap configuration;
    QRV::JC_STRING_TABLE table;
    JCWindowManager windows{nullptr};
    std::vector<std::pair<std::string, std::string>> layouts;
    Recorder delegate;
    int32_t hintUses = 0;
    std::unique_ptr<gcControlSet> set;
};

}  // namespace ControlTestKit
