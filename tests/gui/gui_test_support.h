#pragma once
// A scripted input object and a widget that answers the walks from a rectangle, for driving the
// GUI tree without a window.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "engine/gui/gui_object.h"
#include "engine/platform/input.h"
#include "tests/test_kit/global_guard.h"

namespace QRV::GuiTest {

// An input object installed as the global one for its lifetime; each step sets the pointer and
// key states the way one frame would see them.
class ScriptedInput {
public:
    ScriptedInput() {
        globals.Save(g_input);
        globals.Save(g_mousePos);
        input = std::make_unique<JC_INPUT>();
    }
    ScriptedInput(const ScriptedInput&) = delete;
    ScriptedInput& operator=(const ScriptedInput&) = delete;

    void MoveTo(int32_t x, int32_t y) {
        input->mouseX = x;
        input->mouseY = y;
    }
    // The key's state for this frame: 1 pressed, 2.. held, 255 released, 0 up.
    void SetKey(int32_t vk, uint8_t state) {
        input->keys[vk & 0xFF] = state;
        if (state == 1) input->lastKey = vk;
    }
    void Press(int32_t vk = VK_LBUTTON) { SetKey(vk, 1); }
    void Release(int32_t vk = VK_LBUTTON) { SetKey(vk, 255); }
    void Clear() {
        for (uint8_t& key : input->keys) key = 0;
        input->lastKey = 0;
        input->text[0] = 0;
    }
    JC_INPUT& Get() { return *input; }

private:
    // Declared first: the input object goes (and clears both globals) before they are given back.
    TestKit::GlobalGuard globals;
    std::unique_ptr<JC_INPUT> input;
};

// Answers a walk with its code while the pointer lies in its rectangle: presses on a left press,
// releases on a left release, moves and updates when asked to. With code 0 it runs onAnswer and
// answers nothing (a button's periodic hover test). Counts its draws.
class ScriptedWidget : public JC_GUI_OBJECT {
public:
    ScriptedWidget(int32_t id, float left, float top, float right, float bottom, int32_t code = GUI_EVENT::Press)
        : JC_GUI_OBJECT(id), left(left), top(top), right(right), bottom(bottom), code(code) {}

    JS_GUI_EVENT* OnMouseDown() override { return g_input->WasPressed(VK_LBUTTON) ? Answer() : nullptr; }
    JS_GUI_EVENT* OnMouseUp() override { return g_input->WasReleased(VK_LBUTTON) ? Answer() : nullptr; }
    JS_GUI_EVENT* OnMouseMove() override { return answersMoves ? Answer() : nullptr; }
    JS_GUI_EVENT* Update() override { return answersUpdates ? Answer() : nullptr; }
    void Draw() override { ++draws; }
    JS_TEXTURE* GetTexture() const override { return texture; }

    float left, top, right, bottom;
    int32_t code;
    bool answersMoves = false;
    bool answersUpdates = false;
    int draws = 0;
    JS_TEXTURE* texture = nullptr;
    // Runs when the widget answers, before it returns its record (what a callback would do).
    std::function<void()> onAnswer;

private:
    JS_GUI_EVENT* Answer() {
        const float x = static_cast<float>(g_input->mouseX);
        const float y = static_cast<float>(g_input->mouseY);
        if (x < left || x >= right || y < top || y >= bottom) return nullptr;
        if (onAnswer) onAnswer();
        return code == GUI_EVENT::None ? nullptr : Report(code);
    }
};

}  // namespace QRV::GuiTest
