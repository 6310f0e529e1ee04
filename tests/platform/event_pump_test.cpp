#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <vector>

#include "engine/core/callback.h"
#include "engine/platform/input.h"
#include "engine/platform/window.h"

namespace QRV {
namespace {

struct HookCall {
    char kind;  // 'd' down, 'u' up, 'm' move, 'c' close, 'g' focus gained, 'l' focus lost
    uintptr_t code;
    wchar_t text;  // text[0] as the key-down hook saw it
    uint8_t caps;  // slot 20 as the key-down hook saw it
};

std::vector<HookCall> g_calls;

int Rec(char kind, uintptr_t code) {
    HookCall call{kind, code, 0, 0};
    if (g_input != nullptr) {
        call.text = g_input->text[0];
        call.caps = g_input->keys[VK_CAPITAL];
    }
    g_calls.push_back(call);
    return 0;
}
int OnDown(uintptr_t c) { return Rec('d', c); }
int OnUp(uintptr_t c) { return Rec('u', c); }
int OnMove(uintptr_t c) { return Rec('m', c); }
int OnClose(uintptr_t c) { return Rec('c', c); }
int OnGained(uintptr_t c) { return Rec('g', c); }
int OnLost(uintptr_t c) { return Rec('l', c); }

void PushKey(Uint32 type, SDL_Keycode sym, SDL_Scancode scancode, Uint16 mod = KMOD_NONE, Uint8 repeat = 0) {
    SDL_Event e{};
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat;
    e.key.keysym.sym = sym;
    e.key.keysym.scancode = scancode;
    e.key.keysym.mod = mod;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
}

void PushText(const char* utf8) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    std::strncpy(e.text.text, utf8, sizeof(e.text.text) - 1);
    ASSERT_EQ(SDL_PushEvent(&e), 1);
}

void PushWindow(Uint8 what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
}

void PushButton(Uint32 type, Uint8 button) {
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
}

class EventPumpTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError(); }
    static void TearDownTestSuite() { SDL_QuitSubSystem(SDL_INIT_EVENTS); }

    void SetUp() override {
        SDL_EventState(SDL_TEXTINPUT, SDL_ENABLE);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        g_calls.clear();
        InstallHook(cbKeyDown, OnDown);
        InstallHook(cbKeyUp, OnUp);
        InstallHook(cbMouseMove, OnMove);
        InstallHook(cbClose, OnClose);
        InstallHook(cbFocusGained, OnGained);
        InstallHook(cbFocusLost, OnLost);
    }
    void TearDown() override {
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        for (JS_CALLBACK** slot : {&cbKeyDown, &cbKeyUp, &cbMouseMove, &cbClose, &cbFocusGained, &cbFocusLost})
            ReleaseHook(*slot);
    }

    static size_t Queued() {
        SDL_PumpEvents();
        return static_cast<size_t>(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT));
    }

    JC_INPUT input;
};

TEST_F(EventPumpTest, TypedCharacterIsInPlaceBeforeTheKeyDownHook) {
    PushKey(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, KMOD_LSHIFT);
    PushText("A");
    PumpMessages();
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].kind, 'd');
    EXPECT_EQ(g_calls[0].code, 0x41u);
    EXPECT_EQ(g_calls[0].text, L'A');
    EXPECT_EQ(g_calls[0].caps, 1);  // Shift without Caps Lock
    EXPECT_EQ(input.keys[0x41], 1);
    EXPECT_EQ(Queued(), 0u);  // the text event was taken with its key
}

TEST_F(EventPumpTest, EachKeyTakesOnlyTheTextRightBehindIt) {
    // Shift types nothing; the 'A' behind the next key is not Shift's.
    PushKey(SDL_KEYDOWN, SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, KMOD_LSHIFT);
    PushKey(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, KMOD_LSHIFT);
    PushText("A");
    PushKey(SDL_KEYDOWN, SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE);
    PumpMessages();
    ASSERT_EQ(g_calls.size(), 3u);
    EXPECT_EQ(g_calls[0].code, static_cast<uintptr_t>(VK_SHIFT));
    EXPECT_EQ(g_calls[0].text, L'\0');
    EXPECT_EQ(g_calls[1].code, 0x41u);
    EXPECT_EQ(g_calls[1].text, L'A');
    EXPECT_EQ(g_calls[2].code, static_cast<uintptr_t>(VK_BACK));
    EXPECT_EQ(g_calls[2].text, L'A');  // a control key leaves the text alone
}

TEST_F(EventPumpTest, CharactersOfOtherLayouts) {
    struct Case {
        SDL_Keycode sym;
        SDL_Scancode scancode;
        const char* utf8;
        int32_t vk;
        wchar_t typed;
    } cases[] = {
        {0x444, SDL_SCANCODE_A, "\xD1\x84", 0x41, L'\x444'},        // Cyrillic ef on the A key
        {0xF6, SDL_SCANCODE_SEMICOLON, "\xC3\xB6", 0xBA, L'\xF6'},  // o umlaut
        {SDLK_AMPERSAND, SDL_SCANCODE_1, "&", 0x31, L'&'},          // AZERTY digit row
        {SDLK_2, SDL_SCANCODE_2, "@", 0x32, L'@'},                  // shifted digit
    };
    for (const Case& c : cases) {
        g_calls.clear();
        input.AgeKeys();
        PushKey(SDL_KEYDOWN, c.sym, c.scancode);
        PushText(c.utf8);
        PumpMessages();
        ASSERT_EQ(g_calls.size(), 1u) << c.utf8;
        EXPECT_EQ(g_calls[0].code, static_cast<uintptr_t>(c.vk)) << c.utf8;
        EXPECT_EQ(g_calls[0].text, c.typed) << c.utf8;
    }
}

TEST_F(EventPumpTest, CapsSlotIsShiftXorCapsLock) {
    struct Case {
        Uint16 mod;
        uint8_t caps;
    } cases[] = {{KMOD_NONE, 0}, {KMOD_LSHIFT, 1}, {KMOD_RSHIFT, 1}, {KMOD_CAPS, 1}, {KMOD_CAPS | KMOD_LSHIFT, 0},
                 {KMOD_NUM, 0}};
    for (const Case& c : cases) {
        g_calls.clear();
        PushKey(SDL_KEYDOWN, SDLK_b, SDL_SCANCODE_B, c.mod);
        PumpMessages();
        ASSERT_EQ(g_calls.size(), 1u);
        EXPECT_EQ(g_calls[0].caps, c.caps) << c.mod;
    }
}

TEST_F(EventPumpTest, KeyStatesThroughThePump) {
    PushKey(SDL_KEYDOWN, SDLK_LEFT, SDL_SCANCODE_LEFT);
    PumpMessages();
    EXPECT_EQ(input.keys[VK_LEFT], 1);
    input.AgeKeys();
    PushKey(SDL_KEYDOWN, SDLK_LEFT, SDL_SCANCODE_LEFT, KMOD_NONE, 1);  // auto-repeat
    PumpMessages();
    EXPECT_EQ(input.keys[VK_LEFT], 3);
    input.AgeKeys();
    // Released and pressed again before the next step: still down.
    PushKey(SDL_KEYUP, SDLK_LEFT, SDL_SCANCODE_LEFT);
    PushKey(SDL_KEYDOWN, SDLK_LEFT, SDL_SCANCODE_LEFT);
    PumpMessages();
    EXPECT_EQ(input.keys[VK_LEFT], 1);
    PushKey(SDL_KEYUP, SDLK_LEFT, SDL_SCANCODE_LEFT);
    PumpMessages();
    EXPECT_EQ(input.keys[VK_LEFT], 255);
    EXPECT_EQ(g_calls.back().kind, 'u');
    EXPECT_EQ(g_calls.back().code, static_cast<uintptr_t>(VK_LEFT));
}

TEST_F(EventPumpTest, AltKeysNeverReachTheGame) {
    PushKey(SDL_KEYDOWN, SDLK_LALT, SDL_SCANCODE_LALT, KMOD_LALT);
    PushKey(SDL_KEYDOWN, SDLK_f, SDL_SCANCODE_F, KMOD_LALT);
    PushText("f");
    PushKey(SDL_KEYUP, SDLK_LALT, SDL_SCANCODE_LALT);
    PumpMessages();
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(input.keys[0x46], 0);
    EXPECT_EQ(input.text[0], 0);
    EXPECT_EQ(Queued(), 0u);

    // Right Alt is AltGr on many layouts: its characters are typed.
    PushKey(SDL_KEYDOWN, SDLK_q, SDL_SCANCODE_Q, KMOD_RALT);
    PushText("@");
    PumpMessages();
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].text, L'@');

    // A key let go while Alt is held is still released.
    PushKey(SDL_KEYUP, SDLK_q, SDL_SCANCODE_Q, KMOD_LALT);
    PumpMessages();
    EXPECT_EQ(input.keys[0x51], 255);
}

TEST_F(EventPumpTest, TextOnItsOwnIsIgnored) {
    PushText("x");
    PumpMessages();
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(input.text[0], 0);
}

TEST_F(EventPumpTest, MouseButtonsAndMotion) {
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1);
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT);
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 100;
    motion.motion.y = 50;
    ASSERT_EQ(SDL_PushEvent(&motion), 1);
    PumpMessages();

    ASSERT_EQ(g_calls.size(), 5u);
    const char kinds[] = {'d', 'd', 'd', 'u', 'm'};
    const uintptr_t codes[] = {1, 2, 4, 2};
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(g_calls[i].kind, kinds[i]) << i;
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(g_calls[i].code, codes[i]) << i;
    EXPECT_EQ(input.keys[VK_LBUTTON], 1);
    EXPECT_EQ(input.keys[VK_RBUTTON], 255);
    EXPECT_EQ(input.keys[VK_MBUTTON], 1);
    EXPECT_EQ(input.lastKey, VK_MBUTTON);
    // Without a window the position is taken as it comes.
    EXPECT_EQ(input.mouseX, 100);
    EXPECT_EQ(input.mouseY, 50);
}

TEST_F(EventPumpTest, FocusLossReleasesHeldButtonsAfterTheHook) {
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    PumpMessages();
    input.AgeKeys();
    g_calls.clear();

    PushWindow(SDL_WINDOWEVENT_FOCUS_LOST);
    PushWindow(SDL_WINDOWEVENT_FOCUS_GAINED);
    PumpMessages();
    ASSERT_EQ(g_calls.size(), 3u);
    EXPECT_EQ(g_calls[0].kind, 'l');
    EXPECT_EQ(g_calls[1].kind, 'u');
    EXPECT_EQ(g_calls[1].code, static_cast<uintptr_t>(VK_LBUTTON));
    EXPECT_EQ(g_calls[2].kind, 'g');
    EXPECT_EQ(input.keys[VK_LBUTTON], 255);
    // The next click after coming back reads as a fresh press.
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    PumpMessages();
    EXPECT_EQ(input.keys[VK_LBUTTON], 1);
}

TEST_F(EventPumpTest, CloseRequestsCallTheCloseHook) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 1);
    PushWindow(SDL_WINDOWEVENT_CLOSE);
    PumpMessages();
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[0].kind, 'c');
    EXPECT_EQ(g_calls[1].kind, 'c');
}

TEST(EventPumpNoInput, EventsWithoutAnInputObjectAreHarmless) {
    ASSERT_EQ(g_input, nullptr);
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = SDLK_a;
    HandleEvent(e);
    e = SDL_Event{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    HandleEvent(e);
    e = SDL_Event{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    HandleEvent(e);  // no hooks, no input: nothing to do
}

TEST(EventPumpKeyMap, VirtualKeyNumbers) {
    struct Case {
        SDL_Keycode sym;
        SDL_Scancode scancode;
        Uint16 mod;
        int32_t vk;
    } cases[] = {
        {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 0, 8},
        {SDLK_TAB, SDL_SCANCODE_TAB, 0, 9},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, 0, 13},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 0, 13},
        {SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, 0, 16},
        {SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, 0, 16},
        {SDLK_LCTRL, SDL_SCANCODE_LCTRL, 0, 17},
        {SDLK_RCTRL, SDL_SCANCODE_RCTRL, 0, 17},
        {SDLK_CAPSLOCK, SDL_SCANCODE_CAPSLOCK, 0, 20},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 0, 27},
        {SDLK_SPACE, SDL_SCANCODE_SPACE, 0, 32},
        {SDLK_PAGEUP, SDL_SCANCODE_PAGEUP, 0, 33},
        {SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, 0, 34},
        {SDLK_END, SDL_SCANCODE_END, 0, 35},
        {SDLK_HOME, SDL_SCANCODE_HOME, 0, 36},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, 0, 37},
        {SDLK_UP, SDL_SCANCODE_UP, 0, 38},
        {SDLK_RIGHT, SDL_SCANCODE_RIGHT, 0, 39},
        {SDLK_DOWN, SDL_SCANCODE_DOWN, 0, 40},
        {SDLK_INSERT, SDL_SCANCODE_INSERT, 0, 45},
        {SDLK_DELETE, SDL_SCANCODE_DELETE, 0, 46},
        {SDLK_0, SDL_SCANCODE_0, 0, 0x30},
        {SDLK_9, SDL_SCANCODE_9, 0, 0x39},
        {SDLK_a, SDL_SCANCODE_A, 0, 0x41},
        {SDLK_z, SDL_SCANCODE_Z, 0, 0x5A},
        {SDLK_z, SDL_SCANCODE_Y, 0, 0x5A},  // German layout: the layout's letter counts
        {SDLK_F1, SDL_SCANCODE_F1, 0, 0x70},
        {SDLK_F12, SDL_SCANCODE_F12, 0, 0x7B},
        {SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, 0, 0xBA},
        {SDLK_BACKQUOTE, SDL_SCANCODE_GRAVE, 0, 0xC0},
        {SDLK_LEFTBRACKET, SDL_SCANCODE_LEFTBRACKET, 0, 0xDB},
        {SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE, 0, 0xDE},
        // Keypad by place: digits with Num Lock, the navigation block without.
        {SDLK_7, SDL_SCANCODE_KP_7, KMOD_NUM, 0x67},
        {SDLK_KP_0, SDL_SCANCODE_KP_0, KMOD_NUM, 0x60},
        {SDLK_HOME, SDL_SCANCODE_KP_7, 0, 36},
        {SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, 0, 46},
        {SDLK_KP_MULTIPLY, SDL_SCANCODE_KP_MULTIPLY, 0, 0x6A},
        {SDLK_KP_DIVIDE, SDL_SCANCODE_KP_DIVIDE, 0, 0x6F},
        {SDLK_VOLUMEUP, SDL_SCANCODE_VOLUMEUP, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeyToVirtualKey(c.scancode, c.sym, c.mod), c.vk) << SDL_GetKeyName(c.sym) << " " << c.scancode;
    }
}

}  // namespace
}  // namespace QRV
