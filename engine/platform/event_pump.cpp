#include <SDL.h>

#include <string>

#include "engine/core/callback.h"
#include "engine/core/conversions.h"
#include "engine/platform/input.h"
#include "engine/platform/unchanged_frame_filter.h"
#include "engine/platform/window.h"

namespace QRV {
namespace {

// The character a key press typed: SDL sends it as a separate text event right behind the key
// event, so it is taken out of the queue here, before the key-down hook runs.
wchar_t TakeTypedCharacter() {
    SDL_Event next;
    if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) != 1) return 0;
    if (next.type != SDL_TEXTINPUT) return 0;
    SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT);
    const std::wstring text = Utf8ToWide(next.text.text);
    return text.empty() ? 0 : text[0];
}

int32_t ButtonCode(uint8_t sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT: return VK_LBUTTON;
        case SDL_BUTTON_RIGHT: return VK_RBUTTON;
        case SDL_BUTTON_MIDDLE: return VK_MBUTTON;
        default: return 0;
    }
}

void HandleWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED: CallHook(cbFocusGained); break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            // The hook pauses the game first, so the releases below cannot commit a half-made move.
            CallHook(cbFocusLost);
            // Releases that happen while another window has the focus never reach us.
            if (g_input != nullptr) g_input->ReleaseAll();
            break;
        case SDL_WINDOWEVENT_CLOSE:
            // The window stays until the game ends its loop.
            CallHook(cbClose);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            // The desktop may settle the fullscreen size after the mode switch.
            if (g_window != nullptr) g_window->UpdateScale();
            Platform::RequestFullFrame();
            break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESIZED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
            // The window system may have lost what was presented: the next frame is shown again.
            Platform::RequestFullFrame();
            break;
        default: break;
    }
}

void HandleKeyDown(const SDL_KeyboardEvent& event) {
    const uint16_t mod = event.keysym.mod;
    const bool altKey = event.keysym.sym == SDLK_LALT || event.keysym.sym == SDLK_RALT;
    // Alt and whatever is pressed with the left Alt held are system keys, not game input (the
    // right Alt stays usable as AltGr for typing). The typed character, if any, is dropped too.
    if (altKey || (mod & KMOD_LALT) != 0) {
        TakeTypedCharacter();
        return;
    }
    const int32_t vk = KeyToVirtualKey(event.keysym.scancode, event.keysym.sym, mod);
    const wchar_t typed = TakeTypedCharacter();
    if (vk == 0) return;
    // Slot 20 is the effective Caps state at the time of the press: Shift xor Caps Lock.
    const bool shift = (mod & KMOD_SHIFT) != 0;
    const bool caps = (mod & KMOD_CAPS) != 0;
    g_input->keys[VK_CAPITAL] = (shift != caps) ? 1 : 0;
    g_input->OnKeyDown(vk, typed);
}

}  // namespace

void HandleEvent(const SDL_Event& event) {
    if (event.type == SDL_QUIT) {
        CallHook(cbClose);
        return;
    }
    if (event.type == SDL_WINDOWEVENT) {
        HandleWindowEvent(event.window);
        return;
    }
    if (g_input == nullptr) return;

    switch (event.type) {
        case SDL_MOUSEMOTION: {
            int32_t x = event.motion.x;
            int32_t y = event.motion.y;
            if (g_window != nullptr) g_window->MapToLogical(event.motion.x, event.motion.y, x, y);
            g_input->OnMouseMove(x, y);
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
            if (const int32_t button = ButtonCode(event.button.button); button != 0) g_input->OnButtonDown(button);
            break;
        case SDL_MOUSEBUTTONUP:
            if (const int32_t button = ButtonCode(event.button.button); button != 0) g_input->OnKeyUp(button);
            break;
        case SDL_KEYDOWN: HandleKeyDown(event.key); break;
        case SDL_KEYUP: {
            // Releases always count, also with Alt held, so no key stays down.
            if (event.key.keysym.sym == SDLK_LALT || event.key.keysym.sym == SDLK_RALT) break;
            const int32_t vk = KeyToVirtualKey(event.key.keysym.scancode, event.key.keysym.sym, event.key.keysym.mod);
            if (vk != 0) g_input->OnKeyUp(vk);
            break;
        }
        default:
            // Text met on its own belongs to a key press that was dropped; wheel and the rest are
            // not game input.
            break;
    }
}

void PumpMessages() {
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) HandleEvent(event);
}

}  // namespace QRV
