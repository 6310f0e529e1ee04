#pragma once
// Widgets driven without a window: a Resources tree with textures and a GUI font, a renderer on the
// recording null device, a scripted input fed through its own entry points (one event per frame),
// and the quads that reached the device.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/gui/gui_object.h"
#include "engine/platform/clock.h"
#include "engine/platform/input.h"
#include "tests/bots/bot_test_support.h"
#include "tests/graphics/sprite_test_support.h"
#include "tests/gui/gui_test_support.h"

namespace QRV::GuiTest {

struct SceneQuad {
    float left, top, right, bottom;
    float u0;
    uint32_t color;
    float Width() const { return right - left; }
    float Height() const { return bottom - top; }
};

// "gui_font.xml" on the 512 x 16 atlas "gui_font.png": line height 16, each glyph 8 x 16 at
// x = 8 x its index here, advance 10 ('W' 20, '|' 4). Any other character shows as '?'.
inline constexpr const wchar_t* kGlyphs = L"abcdefghijklmnopqrstuvwxyzW?|%0123456789";

class TextWidgetSceneTest : public TestSupport::SpriteSceneTest {
protected:
    void SetUp() override {
        SpriteSceneTest::SetUp();
        std::string xml = R"(<font><common lineHeight="16"/><pages/><chars>)";
        for (size_t i = 0; kGlyphs[i] != 0; ++i) {
            const wchar_t c = kGlyphs[i];
            xml += "<char id=\"" + std::to_string(static_cast<int>(c)) + "\" x=\"" + std::to_string(8 * i) +
                   "\" y=\"0\" width=\"8\" height=\"16\" xadvance=\"" +
                   (c == L'W'   ? "20"
                    : c == L'|' ? "4"
                                : "10") +
                   "\"/>";
        }
        Put("gui_font.xml", xml + "</chars></font>");
        PutImage("gui_font.png", 512, 16);
    }
    // After the last Put.
    void LoadContent() { ASSERT_EQ(manager.LoadMain(), 1); }

    // The character a glyph quad shows (0 for any other quad), and what a draw spelled.
    static wchar_t GlyphOf(const SceneQuad& q) {
        const auto index = static_cast<size_t>(q.u0 * 64.0f + 0.5f);
        return q.Width() == 8.0f && index < std::wstring(kGlyphs).size() ? kGlyphs[index] : L'\0';
    }
    static std::wstring Spelled(const std::vector<SceneQuad>& quads) {
        std::wstring out;
        for (const SceneQuad& q : quads) {
            if (const wchar_t c = GlyphOf(q)) out += c;
        }
        return out;
    }
    static std::vector<SceneQuad> GlyphsOf(const std::vector<SceneQuad>& quads) {
        std::vector<SceneQuad> out;
        for (const SceneQuad& q : quads) {
            if (GlyphOf(q) != 0) out.push_back(q);
        }
        return out;
    }

    std::vector<SceneQuad> Quads(JC_GUI_OBJECT& widget) {
        device->ClearRecord();
        EXPECT_EQ(render->BeginFrame(), 1);
        widget.Draw();
        EXPECT_EQ(render->EndFrame(), 0);
        std::vector<SceneQuad> quads;
        for (const Platform::DeviceCall* call : device->Draws()) {
            for (size_t i = 0; i + 3 < call->vertices.size(); i += 4) {
                const JS_VERTEX* v = call->vertices.data() + i;
                quads.push_back({v[0].x, v[0].y, v[2].x, v[2].y, v[0].u, v[0].color});
            }
        }
        return quads;
    }

    // One event per frame: the keys age first, as between two update steps.
    JS_GUI_EVENT* MoveTo(JC_GUI_OBJECT& w, int32_t x, int32_t y) {
        input.Get().AgeKeys();
        input.Get().OnMouseMove(x, y);
        return w.DispatchMouseMove();
    }
    JS_GUI_EVENT* Press(JC_GUI_OBJECT& w, int32_t button = VK_LBUTTON) {
        input.Get().AgeKeys();
        input.Get().OnButtonDown(button);
        return w.DispatchMouseDown();
    }
    JS_GUI_EVENT* Release(JC_GUI_OBJECT& w, int32_t button = VK_LBUTTON) {
        input.Get().AgeKeys();
        input.Get().OnKeyUp(button);
        return w.DispatchMouseUp();
    }
    // A key press and the character it typed (0 for none).
    JS_GUI_EVENT* Key(JC_GUI_OBJECT& w, int32_t vk, wchar_t typed = 0) {
        input.Get().AgeKeys();
        input.Get().OnKeyDown(vk, typed);
        return w.DispatchMouseDown();
    }
    void Tick(JC_GUI_OBJECT& w, float seconds) {
        g_frameTime = seconds;
        w.DispatchUpdate();
    }
    static int32_t Code(const JS_GUI_EVENT* record) { return record != nullptr ? record->code : 0; }

    ScriptedInput input;
    // The frame time the test found comes back when the test ends.
    BotTest::FrameTimeGuard frameTime;
};

}  // namespace QRV::GuiTest
