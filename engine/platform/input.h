#pragma once
// Key and mouse-button states, the last key, the typed character and the mouse position.

#include <cstdint>

namespace QRV {

// Windows virtual-key numbers (consumers compare numbers).
enum VirtualKey : int32_t {
    VK_LBUTTON = 1,
    VK_RBUTTON = 2,
    VK_MBUTTON = 4,
    VK_BACK = 8,
    VK_TAB = 9,
    VK_RETURN = 13,
    VK_SHIFT = 16,
    VK_CONTROL = 17,
    VK_MENU = 18,
    VK_PAUSE = 19,
    VK_CAPITAL = 20,
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_PRIOR = 33,
    VK_NEXT = 34,
    VK_END = 35,
    VK_HOME = 36,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
    VK_INSERT = 45,
    VK_DELETE = 46,
    VK_NUMPAD0 = 0x60,
    VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B,
    VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_F1 = 0x70,
    VK_F12 = 0x7B,
    VK_OEM_1 = 0xBA,
    VK_OEM_PLUS = 0xBB,
    VK_OEM_COMMA = 0xBC,
    VK_OEM_MINUS = 0xBD,
    VK_OEM_PERIOD = 0xBE,
    VK_OEM_2 = 0xBF,
    VK_OEM_3 = 0xC0,
    VK_OEM_4 = 0xDB,
    VK_OEM_5 = 0xDC,
    VK_OEM_6 = 0xDD,
    VK_OEM_7 = 0xDE,
};

class JC_INPUT {
public:
    // States: 0 up; 1 pressed since the last ageing; 2..125 held; 255 released since the last
    // ageing. Slot 20 holds the effective Caps state (Shift xor Caps Lock), not a key state.
    uint8_t keys[256] = {};
    // text[0] is the character the last key press typed (0 when none).
    wchar_t text[6] = {};
    int32_t lastKey = 0;
    uint8_t flag = 0;
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    int32_t prevMouseX = 0;
    int32_t prevMouseY = 0;

    JC_INPUT();
    ~JC_INPUT();

    static bool IsControlKey(int32_t vk);

    // A key press: lastKey, state step, then (unless a control key) text[0] = typed, then the
    // key-down hook. `typed` is the character the platform's text input produced (0 when none).
    void OnKeyDown(int32_t vk, wchar_t typed = 0);
    // A key release: state 255 (unless slot 20), then the key-up hook.
    void OnKeyUp(int32_t vk);
    // A button press: lastKey, state step, key-down hook. Buttons type nothing.
    void OnButtonDown(int32_t button);
    // Moves the mouse to a logical position and calls the mouse-move hook.
    void OnMouseMove(int32_t x, int32_t y);
    // Every held key or button becomes released (255) with its key-up hook (focus loss).
    void ReleaseAll();

    // Once per update step, after the update hook and before the pump.
    void AgeKeys();

    bool IsDown(int32_t vk) const { return keys[vk & 0xFF] >= 1 && keys[vk & 0xFF] <= 125; }
    bool WasPressed(int32_t vk) const { return keys[vk & 0xFF] == 1; }
    bool WasReleased(int32_t vk) const { return keys[vk & 0xFF] == 255; }
};

extern JC_INPUT* g_input;
// Points at the input object's mouseX/mouseY pair (null without an input object).
extern int32_t* g_mousePos;

// Always "no locale".
const char* GetLocaleName();

}  // namespace QRV
