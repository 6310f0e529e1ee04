#pragma once
// Driving paged grids and slide effects without a window: a clock whose milliseconds the test
// sets, a delegate that records what it hears, items whose widget trees are built in code, and a
// pointer that presses, drags and releases through an object's messages.

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/bots/object_base.h"
#include "engine/gui/gui_root.h"
#include "engine/platform/clock.h"
#include "engine/windows/pages.h"
#include "engine/windows/pointer_data.h"
#include "tests/gui/gui_test_support.h"

namespace QRV::PagesTest {

// The global clock for the test's length, standing still until the test moves it.
class ScriptedClock {
public:
    ScriptedClock() : saved(g_clock) {
        g_clock = &clock;
        clock.nowMs = 0;
    }
    ~ScriptedClock() { g_clock = saved; }
    ScriptedClock(const ScriptedClock&) = delete;
    ScriptedClock& operator=(const ScriptedClock&) = delete;

    void At(uint32_t ms) { clock.nowMs = ms; }

private:
    JC_CLOCK clock;
    JC_CLOCK* saved;
};

// Hears what a slide effect or a grid tells its owner.
struct Recorder : JCSlideEffectDelegate, JIPagesDelegate {
    JCPagesItem* CreateItem(const pugi::xml_node& element, int32_t index) override {
        if (std::string(element.name()) == "skip") return nullptr;
        return new JCPagesItem(element, index, nullptr);
    }
    void OnItemClick(JCPagesItem* item) override { clicks.push_back(item); }
    void OnSlideBegin() override { ++slideBegins; }
    void OnPageChanged(int32_t page) override { pages.push_back(page); }

    std::vector<JCPagesItem*> clicks;
    std::vector<int32_t> pages;
    int slideBegins = 0;
};

// An item of a given size whose tree holds one widget (answering inside its own screen
// rectangle), counting the mouse messages the grid gives it.
class CodeItem : public JCPagesItem {
public:
    CodeItem(int32_t w, int32_t h) {
        width = w;
        height = h;
        MakeGui();
        widget = new GuiTest::ScriptedWidget(7, 0.0f, 0.0f, 0.0f, 0.0f, GUI_EVENT::Click);
        gui->rootObject->AddChild(widget);
        gui->RebuildLevels();
    }
    int32_t OnMouseDown(int32_t button) override {
        ++presses;
        return JCPagesItem::OnMouseDown(button);
    }
    int32_t OnMouseUp(int32_t button) override {
        ++releases;
        return JCPagesItem::OnMouseUp(button);
    }
    int32_t OnMouseMove() override {
        ++moves;
        return JCPagesItem::OnMouseMove();
    }

    // Owned by the tree.
    GuiTest::ScriptedWidget* widget = nullptr;
    int presses = 0, releases = 0, moves = 0;
};

// One frame of pointer input through an object's messages (button 1 unless told).
class Pointer {
public:
    explicit Pointer(JC_BASE& target) : target(target) {}

    int32_t Press(int32_t x, int32_t y, int32_t button = VK_LBUTTON) {
        input.Clear();
        input.MoveTo(x, y);
        input.Press(button);
        return target.Message(MSG::PointerPressed, 0.0f, 0.0f, 0.0f, ButtonData(button));
    }
    int32_t MoveTo(int32_t x, int32_t y) {
        input.Clear();
        input.MoveTo(x, y);
        return target.Message(MSG::PointerDragged, 0.0f, 0.0f, 0.0f, nullptr);
    }
    int32_t Release(int32_t x, int32_t y, int32_t button = VK_LBUTTON) {
        input.Clear();
        input.MoveTo(x, y);
        input.Release(button);
        return target.Message(MSG::PointerReleased, 0.0f, 0.0f, 0.0f, ButtonData(button));
    }
    // Press, move and release at clock times from..to ms; the release's result.
    int32_t Drag(ScriptedClock& clock, int32_t fromX, int32_t toX, int32_t y, uint32_t fromMs, uint32_t toMs) {
        clock.At(fromMs);
        Press(fromX, y);
        MoveTo(toX, y);
        clock.At(toMs);
        return Release(toX, y);
    }

    GuiTest::ScriptedInput input;

private:
    JC_BASE& target;
};

// Ticks until the object's slide ends (at most `frames` ticks of dt seconds).
inline void TickFrames(JC_BASE& object, int frames, float dt) {
    g_frameTime.store(dt);
    for (int i = 0; i < frames; ++i) object.Message(MSG::Tick, 0.0f, 0.0f, 0.0f, nullptr);
}

}  // namespace QRV::PagesTest
