#include <SDL.h>

#include "engine/platform/input.h"
#include "engine/platform/window.h"

namespace QRV {

int32_t KeycodeToVirtualKey(int32_t sdlKeycode) {
    const SDL_Keycode key = sdlKeycode;
    if (key >= SDLK_a && key <= SDLK_z) return 0x41 + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return 0x30 + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return VK_NUMPAD0 + 1 + (key - SDLK_KP_1);

    switch (key) {
        case SDLK_BACKSPACE: return VK_BACK;
        case SDLK_TAB: return VK_TAB;
        case SDLK_RETURN:
        case SDLK_RETURN2:
        case SDLK_KP_ENTER: return VK_RETURN;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return VK_SHIFT;
        case SDLK_LCTRL:
        case SDLK_RCTRL: return VK_CONTROL;
        case SDLK_PAUSE: return VK_PAUSE;
        case SDLK_CAPSLOCK: return VK_CAPITAL;
        case SDLK_ESCAPE: return VK_ESCAPE;
        case SDLK_SPACE: return VK_SPACE;
        case SDLK_PAGEUP: return VK_PRIOR;
        case SDLK_PAGEDOWN: return VK_NEXT;
        case SDLK_END: return VK_END;
        case SDLK_HOME: return VK_HOME;
        case SDLK_LEFT: return VK_LEFT;
        case SDLK_UP: return VK_UP;
        case SDLK_RIGHT: return VK_RIGHT;
        case SDLK_DOWN: return VK_DOWN;
        case SDLK_PRINTSCREEN: return 0x2C;
        case SDLK_INSERT: return VK_INSERT;
        case SDLK_DELETE: return VK_DELETE;
        case SDLK_LGUI: return 0x5B;
        case SDLK_RGUI: return 0x5C;
        case SDLK_APPLICATION: return 0x5D;
        case SDLK_KP_0: return VK_NUMPAD0;
        case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
        case SDLK_KP_PLUS: return VK_ADD;
        case SDLK_KP_MINUS: return VK_SUBTRACT;
        case SDLK_KP_PERIOD: return VK_DECIMAL;
        case SDLK_KP_DIVIDE: return VK_DIVIDE;
        case SDLK_NUMLOCKCLEAR: return 0x90;
        case SDLK_SCROLLLOCK: return 0x91;
        case SDLK_SEMICOLON: return VK_OEM_1;
        case SDLK_EQUALS: return VK_OEM_PLUS;
        case SDLK_COMMA: return VK_OEM_COMMA;
        case SDLK_MINUS: return VK_OEM_MINUS;
        case SDLK_PERIOD: return VK_OEM_PERIOD;
        case SDLK_SLASH: return VK_OEM_2;
        case SDLK_BACKQUOTE: return VK_OEM_3;
        case SDLK_LEFTBRACKET: return VK_OEM_4;
        case SDLK_BACKSLASH: return VK_OEM_5;
        case SDLK_RIGHTBRACKET: return VK_OEM_6;
        case SDLK_QUOTE: return VK_OEM_7;
        default: return 0;
    }
}

int32_t ScancodeToVirtualKey(int32_t sdlScancode) {
    const SDL_Scancode code = static_cast<SDL_Scancode>(sdlScancode);
    if (code >= SDL_SCANCODE_A && code <= SDL_SCANCODE_Z) return 0x41 + (code - SDL_SCANCODE_A);
    if (code >= SDL_SCANCODE_1 && code <= SDL_SCANCODE_9) return 0x31 + (code - SDL_SCANCODE_1);
    switch (code) {
        case SDL_SCANCODE_0: return 0x30;
        case SDL_SCANCODE_MINUS: return VK_OEM_MINUS;
        case SDL_SCANCODE_EQUALS: return VK_OEM_PLUS;
        case SDL_SCANCODE_LEFTBRACKET: return VK_OEM_4;
        case SDL_SCANCODE_RIGHTBRACKET: return VK_OEM_6;
        case SDL_SCANCODE_BACKSLASH:
        case SDL_SCANCODE_NONUSHASH: return VK_OEM_5;
        case SDL_SCANCODE_SEMICOLON: return VK_OEM_1;
        case SDL_SCANCODE_APOSTROPHE: return VK_OEM_7;
        case SDL_SCANCODE_GRAVE: return VK_OEM_3;
        case SDL_SCANCODE_COMMA: return VK_OEM_COMMA;
        case SDL_SCANCODE_PERIOD: return VK_OEM_PERIOD;
        case SDL_SCANCODE_SLASH: return VK_OEM_2;
        case SDL_SCANCODE_NONUSBACKSLASH: return 0xE2;  // the extra key of ISO keyboards
        default: return 0;
    }
}

int32_t KeyToVirtualKey(int32_t sdlScancode, int32_t sdlKeycode, uint16_t modState) {
    // Keypad keys go by position: the layout may report a keypad digit as a plain digit or as a
    // navigation key. Without Num Lock the keypad is the navigation block.
    const bool numLock = (modState & KMOD_NUM) != 0;
    switch (static_cast<SDL_Scancode>(sdlScancode)) {
        case SDL_SCANCODE_KP_0: return numLock ? VK_NUMPAD0 : VK_INSERT;
        case SDL_SCANCODE_KP_1: return numLock ? VK_NUMPAD0 + 1 : VK_END;
        case SDL_SCANCODE_KP_2: return numLock ? VK_NUMPAD0 + 2 : VK_DOWN;
        case SDL_SCANCODE_KP_3: return numLock ? VK_NUMPAD0 + 3 : VK_NEXT;
        case SDL_SCANCODE_KP_4: return numLock ? VK_NUMPAD0 + 4 : VK_LEFT;
        case SDL_SCANCODE_KP_5: return numLock ? VK_NUMPAD0 + 5 : 0x0C;  // Clear
        case SDL_SCANCODE_KP_6: return numLock ? VK_NUMPAD0 + 6 : VK_RIGHT;
        case SDL_SCANCODE_KP_7: return numLock ? VK_NUMPAD0 + 7 : VK_HOME;
        case SDL_SCANCODE_KP_8: return numLock ? VK_NUMPAD0 + 8 : VK_UP;
        case SDL_SCANCODE_KP_9: return numLock ? VK_NUMPAD0 + 9 : VK_PRIOR;
        case SDL_SCANCODE_KP_PERIOD: return numLock ? VK_DECIMAL : VK_DELETE;
        case SDL_SCANCODE_KP_DIVIDE: return VK_DIVIDE;
        case SDL_SCANCODE_KP_MULTIPLY: return VK_MULTIPLY;
        case SDL_SCANCODE_KP_MINUS: return VK_SUBTRACT;
        case SDL_SCANCODE_KP_PLUS: return VK_ADD;
        case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
        default: break;
    }
    const int32_t vk = KeycodeToVirtualKey(sdlKeycode);
    if (vk != 0) return vk;
    // Letters and symbols of other layouts (Cyrillic, accented keys, AZERTY's digit row) take
    // the number of the key at that place on a US keyboard.
    return ScancodeToVirtualKey(sdlScancode);
}

}  // namespace QRV
