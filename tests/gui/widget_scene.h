#pragma once
// A scene for driving widgets without a window: a Resources tree with textures and a GUI font, a
// renderer on the recording null device, a scripted input object fed through its own key and
// mouse entry points (one event per frame), and a reader of the quads that were drawn.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/gui/gui_object.h"
#include "engine/platform/clock.h"
#include "engine/platform/input.h"
#include "tests/graphics/sprite_test_support.h"
#include "tests/gui/gui_test_support.h"

namespace QRV::GuiTest {

// One quad as it reached the device: corners on screen, texels, colour and device texture.
struct SceneQuad {
    float left, top, right, bottom;
    float u0, v0, u1, v1;
    uint32_t color;
    uint32_t texture;
    float Width() const { return right - left; }
    float Height() const { return bottom - top; }
};

// The font "gui_font.xml" on the 512 x 16 atlas "gui_font.png": line height 16; every glyph 8 x 16
// at x = 8 x its index in kGlyphs, advance 10, except 'W' (advance 20) and '|' (advance 4). There
// is no glyph for anything else: it shows and measures as '?'.
inline constexpr const wchar_t* kGlyphs = L"abcdefghijklmnopqrstuvwxyzW?|%0123456789";
inline constexpr float kAtlasWidth = 512.0f;

class WidgetSceneTest : public TestSupport::SpriteSceneTest {
protected:
    void SetUp() override {
        SpriteSceneTest::SetUp();
        savedFrameTime = g_frameTime.load();
        std::string xml = R"(<font><common lineHeight="16"/><pages/><chars>)";
        for (size_t i = 0; kGlyphs[i] != 0; ++i) {
            const wchar_t c = kGlyphs[i];
            const int advance = c == L'W' ? 20 : c == L'|' ? 4 : 10;
            xml += "<char id=\"" + std::to_string(static_cast<int>(c)) + "\" x=\"" + std::to_string(8 * i) +
                   "\" y=\"0\" width=\"8\" height=\"16\" xoffset=\"0\" yoffset=\"0\" xadvance=\"" +
                   std::to_string(advance) + "\"/>";
        }
        xml += "</chars></font>";
        Put("gui_font.xml", xml);
        PutImage("gui_font.png", static_cast<int>(kAtlasWidth), 16);
    }

    void TearDown() override {
        g_frameTime = savedFrameTime;
        SpriteSceneTest::TearDown();
    }

    // Loads the main repository: call after the last Put.
    void LoadContent() { ASSERT_EQ(manager.LoadMain(), 1); }

    // The character a glyph quad shows, from its texel column ('\0' for other quads).
    static wchar_t GlyphOf(const SceneQuad& quad) {
        const auto index = static_cast<size_t>(quad.u0 * kAtlasWidth / 8.0f + 0.5f);
        const std::wstring glyphs = kGlyphs;
        return quad.Width() == 8.0f && index < glyphs.size() ? glyphs[index] : L'\0';
    }
    // The text the glyph quads of a draw spell, in order.
    static std::wstring Spelled(const std::vector<SceneQuad>& quads) {
        std::wstring out;
        for (const SceneQuad& q : quads) {
            if (const wchar_t c = GlyphOf(q)) out += c;
        }
        return out;
    }

    // Runs draw in a frame and returns every quad handed to the device, in order.
    template <typename Draw>
    std::vector<SceneQuad> Quads(Draw draw) {
        device->ClearRecord();
        EXPECT_EQ(render->BeginFrame(), 1);
        draw();
        EXPECT_EQ(render->EndFrame(), 0);
        std::vector<SceneQuad> quads;
        for (const Platform::DeviceCall* call : device->Draws()) {
            for (size_t i = 0; i + 3 < call->vertices.size(); i += 4) {
                const JS_VERTEX* v = call->vertices.data() + i;
                quads.push_back({v[0].x, v[0].y, v[2].x, v[2].y, v[0].u, v[0].v, v[2].u, v[2].v, v[0].color,
                                 call->state.texture});
            }
        }
        return quads;
    }

    // --- input, one event per frame (the keys age first, as between two update steps)
    JS_GUI_EVENT* MoveTo(JC_GUI_OBJECT& widget, int32_t x, int32_t y) {
        input.Get().AgeKeys();
        input.Get().OnMouseMove(x, y);
        return widget.DispatchMouseMove();
    }
    JS_GUI_EVENT* Press(JC_GUI_OBJECT& widget, int32_t button = VK_LBUTTON) {
        input.Get().AgeKeys();
        input.Get().OnButtonDown(button);
        return widget.DispatchMouseDown();
    }
    JS_GUI_EVENT* Release(JC_GUI_OBJECT& widget, int32_t button = VK_LBUTTON) {
        input.Get().AgeKeys();
        input.Get().OnKeyUp(button);
        return widget.DispatchMouseUp();
    }
    // A key press with the character it typed (0 for none).
    JS_GUI_EVENT* Key(JC_GUI_OBJECT& widget, int32_t vk, wchar_t typed = 0) {
        input.Get().AgeKeys();
        input.Get().OnKeyDown(vk, typed);
        return widget.DispatchMouseDown();
    }
    JS_GUI_EVENT* KeyUp(JC_GUI_OBJECT& widget, int32_t vk) {
        input.Get().AgeKeys();
        input.Get().OnKeyUp(vk);
        return widget.DispatchMouseUp();
    }
    // Each character typed by a key of its own; the codes reported, 0 for none.
    std::vector<int32_t> Type(JC_GUI_OBJECT& widget, const std::wstring& text) {
        std::vector<int32_t> codes;
        for (const wchar_t c : text) {
            const JS_GUI_EVENT* record = Key(widget, 'A', c);
            codes.push_back(record != nullptr ? record->code : 0);
        }
        return codes;
    }
    void Tick(JC_GUI_OBJECT& widget, float seconds) {
        g_frameTime = seconds;
        widget.DispatchUpdate();
    }

    ScriptedInput input;
    float savedFrameTime = 0.0f;
};

}  // namespace QRV::GuiTest
