#pragma once
// Windows driven without a screen: the widget scene (null render device, Resources tree, GUI
// font, scripted input), a window whose hooks write into a journal, window files written into
// the Resources tree, and frames of fixed length.

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/gui/gui_root.h"
#include "engine/platform/clock.h"
#include "engine/platform/input.h"
#include "engine/windows/window.h"
#include "engine/windows/window_manager.h"
#include "tests/graphics/bmfont_test_support.h"
#include "tests/gui/gui_test_support.h"
#include "tests/gui/widget_scene.h"
#include "tests/test_kit/parsed_xml.h"

namespace QRV::WindowTest {

constexpr float kFrame = 1.0f / 60.0f;

// Every hook and callback of a window, by name, in the order they ran; shared by all the
// windows of a test so that their order shows too.
using Journal = std::vector<std::string>;

// A ScriptedWidget that, when its code is a click, answers a press as a press: a push button.
class ButtonWidget : public GuiTest::ScriptedWidget {
public:
    using ScriptedWidget::ScriptedWidget;
    QRV::JS_GUI_EVENT* OnMouseDown() override {
        QRV::JS_GUI_EVENT* record = ScriptedWidget::OnMouseDown();
        if (record != nullptr && record->code == QRV::GUI_EVENT::Click) record->code = QRV::GUI_EVENT::Press;
        return record;
    }
};

// A window whose hooks write "<name>.<hook>" into a journal. onButton, onUpdate, onActivate,
// onMouseMove and onHidden let a test act from inside the manager's walks.
class ProbeWindow : public JCWindow {
public:
    explicit ProbeWindow(Journal* journal = nullptr, const std::string& windowName = "Probe") : journal(journal) {
        name = windowName;
    }

    QRV::JS_GUI_EVENT* OnMouseMove() override {
        if (onMouseMove) onMouseMove();
        return JCWindow::OnMouseMove();
    }
    void OnGuiLoaded(QRV::JC_GUI_OBJECT*) override { Log("OnGuiLoaded"); }
    void LoadSettings(const pugi::xml_node& settings) override { Log("LoadSettings " + std::string(settings.name())); }
    void OnShowBegin() override { Log("OnShowBegin"); }
    void OnShowStarted() override { Log("OnShowStarted"); }
    void OnShown() override { Log("OnShown"); }
    void OnHideBegin() override { Log("OnHideBegin"); }
    void OnHideStarted() override { Log("OnHideStarted"); }
    void OnHidden() override {
        Log("OnHidden");
        if (onHidden) onHidden();
    }
    void OnDeactivate() override { Log("OnDeactivate"); }
    void OnActivate() override {
        Log("OnActivate");
        if (onActivate) onActivate();
    }
    void OnLoadResources() override { Log("OnLoadResources"); }
    void OnUnloadResources() override { Log("OnUnloadResources"); }
    void OnUpdate() override {
        ++updates;
        if (onUpdate) onUpdate();
    }
    void OnAfterDraw() override { Log("Draw"); }
    void OnSecond() override {
        if (logSeconds) Log("OnSecond");
    }
    void OnButton(int32_t id) override {
        Log("OnButton " + std::to_string(id));
        if (onButton) onButton(id);
    }

    // Callbacks that write "<name>.cb<Stage>".
    void WatchCallbacks() {
        cbShowBegin = Closure<void()>(this, [](void* w) { static_cast<ProbeWindow*>(w)->Log("cbShowBegin"); });
        cbShowStarted = Closure<void()>(this, [](void* w) { static_cast<ProbeWindow*>(w)->Log("cbShowStarted"); });
        cbShown = Closure<void()>(this, [](void* w) { static_cast<ProbeWindow*>(w)->Log("cbShown"); });
        cbHideBegin = Closure<void()>(this, [](void* w) { static_cast<ProbeWindow*>(w)->Log("cbHideBegin"); });
        cbHideStarted = Closure<void()>(this, [](void* w) { static_cast<ProbeWindow*>(w)->Log("cbHideStarted"); });
        cbHidden = Closure<void()>(this, [](void* w) { static_cast<ProbeWindow*>(w)->Log("cbHidden"); });
        cbClick = Closure<void(int32_t)>(
            this, [](void* w, int32_t id) { static_cast<ProbeWindow*>(w)->Log("cbClick " + std::to_string(id)); });
        cbControlSound = Closure<void(std::string)>(
            this, [](void* w, std::string sound) { static_cast<ProbeWindow*>(w)->Log("cbControlSound " + sound); });
    }

    // A widget at the top of the tree answering in the rectangle (see ScriptedWidget); a click
    // code makes a push button unless the press should click too.
    GuiTest::ScriptedWidget* AddWidget(int32_t id, float left, float top, float right, float bottom,
                                       int32_t code = QRV::GUI_EVENT::Click, bool clickOnPress = false) {
        auto* widget = clickOnPress ? new GuiTest::ScriptedWidget(id, left, top, right, bottom, code)
                                    : new ButtonWidget(id, left, top, right, bottom, code);
        widget->transform->parent = gui->rootObject->transform;
        gui->rootObject->AddChild(widget);
        gui->RebuildLevels();
        return widget;
    }

    void Log(const std::string& entry) {
        if (journal != nullptr) journal->push_back(name + "." + entry);
    }

    Journal* journal;
    bool logSeconds = false;
    std::function<void(int32_t)> onButton;
    std::function<void()> onUpdate;
    std::function<void()> onActivate;
    std::function<void()> onMouseMove;
    std::function<void()> onHidden;
    int updates = 0;
};

class WindowSceneTest : public GuiTest::TextWidgetSceneTest {
protected:
    void SetUp() override {
        TextWidgetSceneTest::SetUp();
        // A label font, a 5-frame button strip of 100 x 40 frames, a line box and a background.
        Put("label.xml", TestSupport::kTestFontXml);
        PutImage("atlas.png", 128, 64);
        PutImage("button.png", 500, 40);
        PutImage("box.png", 200, 40);
        PutImage("back.png", 64, 32);
        g_frameTime = kFrame;
    }

    // Frames of the given length, for the window alone.
    static void Frames(JCWindow& window, int count, float dt = kFrame) {
        g_frameTime = dt;
        for (int i = 0; i < count; ++i) window.Update();
    }
    static void Frames(JCWindowManager& manager, int count, float dt = kFrame) {
        g_frameTime = dt;
        for (int i = 0; i < count; ++i) manager.Update();
    }

    // One input event per frame, as the update step sees it.
    void Point(int32_t x, int32_t y) {
        input.Get().AgeKeys();
        input.Get().OnMouseMove(x, y);
    }
    void Down(int32_t button = VK_LBUTTON) {
        input.Get().AgeKeys();
        input.Get().OnButtonDown(button);
    }
    void Up(int32_t button = VK_LBUTTON) {
        input.Get().AgeKeys();
        input.Get().OnKeyUp(button);
    }
    // A click at the speed of a hand: the move and the press on one frame, the release on the
    // next, all through the manager; true when a window took the release.
    bool Click(JCWindowManager& manager, int32_t x, int32_t y) {
        Point(x, y);
        manager.OnMouseMove();
        input.Get().OnButtonDown(VK_LBUTTON);
        manager.OnMouseDown(VK_LBUTTON);
        Frames(manager, 1);
        Up();
        return manager.OnMouseUp(VK_LBUTTON);
    }

    // The root element of a parsed window file (kept alive by the fixture).
    pugi::xml_node Xml(const std::string& text) {
        documents.push_back(std::make_unique<TestKit::ParsedXml>(text));
        return documents.back()->Root();
    }

    std::vector<std::unique_ptr<TestKit::ParsedXml>> documents;
};

}  // namespace QRV::WindowTest
