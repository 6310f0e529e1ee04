#pragma once
// Paged grids and slide effects without a window: a clock the test sets, a delegate that records
// what it hears, items with code-built widget trees, and a pointer driving an object's messages.

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/platform/clock.h"
#include "engine/windows/pages.h"
#include "engine/windows/pointer_data.h"
#include "tests/gui/gui_test_support.h"

namespace QRV::PagesTest {

// The global clock for the test's length, still until the test sets it.
class ScriptedClock {
public:
    ScriptedClock() : saved(g_clock) { g_clock = &clock; }
    ~ScriptedClock() { g_clock = saved; }
    ScriptedClock(const ScriptedClock&) = delete;
    ScriptedClock& operator=(const ScriptedClock&) = delete;
    void At(uint32_t ms) { clock.nowMs = ms; }

private:
    JC_CLOCK clock;
    JC_CLOCK* saved;
};

struct Recorder : JCSlideEffectDelegate, JIPagesDelegate {
    // Elements named "skip" make no item.
    JCPagesItem* CreateItem(const pugi::xml_node& element, int32_t index) override {
        return std::string(element.name()) == "skip" ? nullptr : new JCPagesItem(element, index, nullptr);
    }
    void OnItemClick(JCPagesItem* item) override { clicks.push_back(item); }
    void OnSlideBegin() override { ++slideBegins; }
    void OnPageChanged(int32_t page) override { pages.push_back(page); }

    std::vector<JCPagesItem*> clicks;
    std::vector<int32_t> pages;
    int slideBegins = 0;
};

// An item whose tree holds one widget (id 7, answering nowhere), counting its mouse messages.
class CodeItem : public JCPagesItem {
public:
    CodeItem(int32_t w, int32_t h) {
        width = w;
        height = h;
        MakeGui()->rootObject->AddChild(widget);
        gui->RebuildLevels();
    }
    int32_t OnMouseDown(int32_t button) override {
        ++mouse;
        return JCPagesItem::OnMouseDown(button);
    }
    int32_t OnMouseUp(int32_t button) override {
        ++mouse;
        return JCPagesItem::OnMouseUp(button);
    }
    int32_t OnMouseMove() override {
        ++mouse;
        return JCPagesItem::OnMouseMove();
    }

    // Owned by the tree.
    GuiTest::ScriptedWidget* widget = new GuiTest::ScriptedWidget(7, 0.0f, 0.0f, 0.0f, 0.0f);
    int mouse = 0;
};

// One frame of input each, through the target's messages.
class Pointer {
public:
    explicit Pointer(JC_BASE& target) : target(target) {}

    int32_t Press(int32_t x, int32_t y, int32_t button = VK_LBUTTON) { return Send(x, y, 1, button); }
    int32_t MoveTo(int32_t x, int32_t y) { return Send(x, y, 0, 0); }
    int32_t Release(int32_t x, int32_t y, int32_t button = VK_LBUTTON) { return Send(x, y, 255, button); }
    // Press at fromMs, move, release at toMs; the release's result.
    int32_t Drag(ScriptedClock& clock, int32_t fromX, int32_t toX, int32_t y, uint32_t fromMs, uint32_t toMs) {
        clock.At(fromMs);
        Press(fromX, y);
        MoveTo(toX, y);
        clock.At(toMs);
        return Release(toX, y);
    }

    GuiTest::ScriptedInput input;

private:
    int32_t Send(int32_t x, int32_t y, uint8_t state, int32_t button) {
        input.Clear();
        input.MoveTo(x, y);
        if (state != 0) input.SetKey(button, state);
        const int32_t id = state == 1 ? MSG::PointerPressed : state == 255 ? MSG::PointerReleased : MSG::PointerDragged;
        return target.Message(id, 0.0f, 0.0f, 0.0f, ButtonData(button));
    }

    JC_BASE& target;
};

inline void TickFrames(JC_BASE& object, int frames, float dt) {
    g_frameTime.store(dt);
    for (int i = 0; i < frames; ++i) object.Message(MSG::Tick, 0.0f, 0.0f, 0.0f, nullptr);
}

}  // namespace QRV::PagesTest
