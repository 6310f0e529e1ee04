#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/callback.h"
#include "engine/platform/input.h"

namespace QRV {
namespace {

struct HookCall {
    char kind;  // 'd' key down, 'u' key up, 'm' mouse move
    uintptr_t code;
    uint8_t state;    // the key's state as the hook saw it
    wchar_t text;     // text[0] as the hook saw it
    int32_t lastKey;  // lastKey as the hook saw it
};

std::vector<HookCall> g_calls;

void Record(char kind, uintptr_t code) {
    g_calls.push_back({kind, code, g_input->keys[code & 0xFF], g_input->text[0], g_input->lastKey});
}

int OnDown(uintptr_t code) {
    Record('d', code);
    return 0;
}
int OnUp(uintptr_t code) {
    Record('u', code);
    return 0;
}
int OnMove(uintptr_t code) {
    Record('m', code);
    return 0;
}

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_calls.clear();
        InstallHook(cbKeyDown, OnDown);
        InstallHook(cbKeyUp, OnUp);
        InstallHook(cbMouseMove, OnMove);
    }
    void TearDown() override {
        ReleaseHook(cbKeyDown);
        ReleaseHook(cbKeyUp);
        ReleaseHook(cbMouseMove);
    }
    JC_INPUT input;
};

// Runs a script on key 'A': P press, R release, A one update step's ageing.
uint8_t RunScript(JC_INPUT& input, const std::string& script) {
    for (char op : script) {
        if (op == 'P') input.OnKeyDown(0x41, L'a');
        if (op == 'R') input.OnKeyUp(0x41);
        if (op == 'A') input.AgeKeys();
    }
    return input.keys[0x41];
}

TEST_F(InputTest, KeyStateTable) {
    struct Case {
        const char* script;
        uint8_t state;
    } cases[] = {
        {"P", 1},     {"PA", 2},    {"PAA", 3},    // pressed once, then held
        {"PAR", 255}, {"PARA", 0},  {"PARAA", 0},  // released once, then up
        {"PAP", 3},   {"PAAP", 4},                 // auto-repeat advances a held key
        {"PARP", 1},  {"PARPA", 2},                // released and pressed in one step
        {"R", 255},   {"RA", 0},    {"PP", 2},
    };
    for (const Case& c : cases) {
        JC_INPUT fresh;
        EXPECT_EQ(RunScript(fresh, c.script), c.state) << c.script;
    }
}

TEST_F(InputTest, HeldKeyWrapsFrom125To2) {
    input.OnKeyDown(0x41);
    for (int step = 0; step < 124; ++step) input.AgeKeys();
    EXPECT_EQ(input.keys[0x41], 125);
    input.AgeKeys();
    EXPECT_EQ(input.keys[0x41], 2);
    // A repeat on a long-held key also wraps instead of climbing past 125.
    input.keys[0x41] = 121;
    input.OnKeyDown(0x41);
    EXPECT_EQ(input.keys[0x41], 2);
    input.keys[0x41] = 120;
    input.OnKeyDown(0x41);
    EXPECT_EQ(input.keys[0x41], 121);
}

TEST_F(InputTest, CapsSlotIsNeverAKeyState) {
    input.keys[VK_CAPITAL] = 1;
    input.OnKeyDown(VK_CAPITAL);
    EXPECT_EQ(input.keys[VK_CAPITAL], 1);
    input.AgeKeys();
    EXPECT_EQ(input.keys[VK_CAPITAL], 1);
    input.OnKeyUp(VK_CAPITAL);
    EXPECT_EQ(input.keys[VK_CAPITAL], 1);
    input.ReleaseAll();
    EXPECT_EQ(input.keys[VK_CAPITAL], 1);
    // The hooks still hear about the key.
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[0].kind, 'd');
    EXPECT_EQ(g_calls[1].kind, 'u');
}

TEST_F(InputTest, HookSeesKeyStateLastKeyAndTypedCharacter) {
    input.OnKeyDown(0x41, L'A');
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].code, 0x41u);
    EXPECT_EQ(g_calls[0].state, 1);
    EXPECT_EQ(g_calls[0].lastKey, 0x41);
    EXPECT_EQ(g_calls[0].text, L'A');

    input.AgeKeys();
    EXPECT_EQ(input.lastKey, 0);
    EXPECT_EQ(input.text[0], 0);
}

TEST_F(InputTest, OnlyNonControlKeysType) {
    const int32_t controls[] = {8, 13, 16, 17, 20, 27, 35, 36, 37, 38, 39, 40, 45, 46};
    for (int32_t vk = 0; vk < 256; ++vk) {
        bool expected = false;
        for (int32_t c : controls) expected = expected || c == vk;
        EXPECT_EQ(JC_INPUT::IsControlKey(vk), expected) << vk;

        input.AgeKeys();
        input.OnKeyDown(vk, L'q');
        EXPECT_EQ(input.text[0], expected ? L'\0' : L'q') << vk;
    }
}

TEST_F(InputTest, ButtonPressTypesNothing) {
    input.OnKeyDown(0x41, L'a');
    input.OnButtonDown(VK_LBUTTON);
    EXPECT_EQ(input.keys[VK_LBUTTON], 1);
    EXPECT_EQ(input.lastKey, VK_LBUTTON);
    EXPECT_EQ(input.text[0], 0);
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[1].code, static_cast<uintptr_t>(VK_LBUTTON));
    EXPECT_EQ(g_calls[1].state, 1);
    // A quick click released and pressed within one step still reads as a press.
    input.OnKeyUp(VK_LBUTTON);
    input.OnButtonDown(VK_LBUTTON);
    EXPECT_EQ(input.keys[VK_LBUTTON], 1);
}

TEST_F(InputTest, ReleaseAllReleasesEveryHeldKeyAndButton) {
    input.OnButtonDown(VK_LBUTTON);
    input.OnButtonDown(VK_RBUTTON);
    input.OnKeyDown(VK_SHIFT);
    input.AgeKeys();
    input.OnKeyDown(0x41);  // pressed this step
    input.OnKeyDown(0x42);
    input.OnKeyUp(0x42);  // already released: no second key-up
    input.keys[VK_CAPITAL] = 1;
    g_calls.clear();

    input.ReleaseAll();

    std::vector<uintptr_t> released;
    for (const HookCall& call : g_calls) {
        EXPECT_EQ(call.kind, 'u');
        EXPECT_EQ(call.state, 255);  // the state is set before the hook runs
        released.push_back(call.code);
    }
    EXPECT_EQ(released, (std::vector<uintptr_t>{VK_LBUTTON, VK_RBUTTON, VK_SHIFT, 0x41}));
    EXPECT_EQ(input.keys[VK_CAPITAL], 1);
    input.AgeKeys();
    for (int32_t vk : {int32_t{VK_LBUTTON}, int32_t{VK_RBUTTON}, int32_t{VK_SHIFT}, 0x41, 0x42})
        EXPECT_EQ(input.keys[vk], 0) << vk;
}

TEST_F(InputTest, MouseMoveKeepsPreviousPosition) {
    ASSERT_EQ(g_mousePos, &input.mouseX);
    input.OnMouseMove(10, 20);
    input.OnMouseMove(30, 40);
    EXPECT_EQ(g_mousePos[0], 30);
    EXPECT_EQ(g_mousePos[1], 40);
    EXPECT_EQ(input.prevMouseX, 10);
    EXPECT_EQ(input.prevMouseY, 20);
    EXPECT_EQ(g_calls.size(), 2u);
}

TEST(InputLifetime, GlobalsFollowTheObject) {
    {
        JC_INPUT input;
        EXPECT_EQ(g_input, &input);
        EXPECT_EQ(g_mousePos, &input.mouseX);
    }
    EXPECT_EQ(g_input, nullptr);
    EXPECT_EQ(g_mousePos, nullptr);
    EXPECT_STREQ(GetLocaleName(), "no locale");
}

}  // namespace
}  // namespace QRV
