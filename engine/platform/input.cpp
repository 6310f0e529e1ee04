#include "engine/platform/input.h"

#include "engine/core/callback.h"

namespace QRV {

JC_INPUT* g_input = nullptr;
int32_t* g_mousePos = nullptr;

namespace {

// A press moves a key up by one; a long hold wraps back to 2 so it never reads as a fresh press.
// A press that follows a release in the same step reads as a press (1), not as "up".
uint8_t StepPressed(uint8_t state) {
    if (state == 255) return 1;
    return static_cast<int8_t>(state) <= 120 ? static_cast<uint8_t>(state + 1) : 2;
}

}  // namespace

JC_INPUT::JC_INPUT() {
    g_input = this;
    g_mousePos = &mouseX;
}

JC_INPUT::~JC_INPUT() {
    if (g_input == this) {
        g_input = nullptr;
        g_mousePos = nullptr;
    }
}

bool JC_INPUT::IsControlKey(int32_t vk) {
    switch (vk) {
        case VK_BACK:
        case VK_RETURN:
        case VK_SHIFT:
        case VK_CONTROL:
        case VK_CAPITAL:
        case VK_ESCAPE:
        case VK_END:
        case VK_HOME:
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
        case VK_INSERT:
        case VK_DELETE: return true;
        default: return false;
    }
}

void JC_INPUT::OnKeyDown(int32_t vk, wchar_t typed) {
    const uint8_t slot = static_cast<uint8_t>(vk);
    lastKey = vk;
    if (vk != VK_CAPITAL) keys[slot] = StepPressed(keys[slot]);
    // The key-down hook reads the typed character, so it is in place before the call.
    if (!IsControlKey(vk)) text[0] = typed;
    CallHook(cbKeyDown, static_cast<uintptr_t>(vk));
}

void JC_INPUT::OnKeyUp(int32_t vk) {
    if (vk != VK_CAPITAL) keys[static_cast<uint8_t>(vk)] = 255;
    CallHook(cbKeyUp, static_cast<uintptr_t>(vk));
}

void JC_INPUT::OnButtonDown(int32_t button) {
    const uint8_t slot = static_cast<uint8_t>(button);
    lastKey = button;
    keys[slot] = StepPressed(keys[slot]);
    // A click types nothing; clearing keeps an earlier key's character from being read again.
    text[0] = 0;
    CallHook(cbKeyDown, static_cast<uintptr_t>(button));
}

void JC_INPUT::OnMouseMove(int32_t x, int32_t y) {
    prevMouseX = mouseX;
    prevMouseY = mouseY;
    mouseX = x;
    mouseY = y;
    CallHook(cbMouseMove);
}

void JC_INPUT::ReleaseAll() {
    for (int32_t vk = 1; vk < 256; ++vk) {
        if (vk == VK_CAPITAL) continue;
        const uint8_t state = keys[vk];
        if (state >= 1 && state <= 125) OnKeyUp(vk);
    }
}

void JC_INPUT::AgeKeys() {
    lastKey = 0;
    text[0] = 0;
    for (int32_t i = 0; i < 256; ++i) {
        uint8_t state = keys[i];
        if (state == 255) {
            state = 0;
        } else if (i != VK_CAPITAL && state != 0) {
            ++state;
        }
        if (static_cast<int8_t>(state) > 125) state = 2;
        keys[i] = state;
    }
}

const char* GetLocaleName() { return "no locale"; }

}  // namespace QRV
