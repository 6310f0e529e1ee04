#pragma once
// The greeting line over the title ("Title_Top", type "GG_WINDOW_TITLE_TOP"): "Hello, <name>"
// in the big font and, one line lower, the link that changes the profile in the medium font.
// Both are centred on control 1's position plus the shift, so the link's rectangle (its measured
// half width and half height around the point it is drawn at) is exactly what is drawn. The link
// takes the highlight colour while the mouse is strictly inside that rectangle; a left release
// then opens the player list (or, with no profile yet, the name prompt first).
//
// Settings (a "param" map): "text_color_highlight" (hex AARRGGBB), "shift" ("x y"), "font_med"
// (the link's catalogue font) and "font_big" (the greeting's). Texts: "title_txt_hello_profile"
// (one %s, the player's name), "title_txt_hello" (no player) and "title_txt_profile_change".

#include <cstdint>
#include <string>

#include "engine/windows/window.h"

namespace QRV {
class JC_BMFONT_TEXT;
}

// The link's rectangle around its drawing position, edges rounded to whole pixels.
struct JSLinkRect {
    float left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;

    static JSLinkRect Around(float x, float y, float halfWidth, float halfHeight);
    // Strictly inside: a point on an edge is out.
    bool Contains(float x, float y) const { return x > left && x < right && y > top && y < bottom; }
};

class gcWindow_TitleTop : public JCWindow {
public:
    ~gcWindow_TitleTop() override;

    void LoadSettings(const pugi::xml_node& settings) override;
    void OnLoadResources() override;
    void Refresh() override;
    void OnGuiLoaded(QRV::JC_GUI_OBJECT* rootObject) override;
    void Draw() override;
    QRV::JS_GUI_EVENT* OnMouseMove() override;
    QRV::JS_GUI_EVENT* OnMouseUp(int32_t button) override;
    void OnDeactivate() override;
    void OnButton(int32_t id) override;

    static JCWindow* Create();

    // Where the greeting and the link are drawn (their centres); false without control 1.
    bool GreetingPosition(float& x, float& y) const;
    bool LinkPosition(float& x, float& y) const;
    // The link's rectangle now.
    JSLinkRect LinkRect() const;
    bool IsLinkHighlighted() const { return highlighted; }
    // The greeting as drawn: the format filled with the name.
    std::wstring GreetingText() const;

    std::string fontBigName;
    std::string fontMedName;
    QRV::JC_BMFONT_TEXT* fontBig = nullptr;  // catalogue fonts, not owned
    QRV::JC_BMFONT_TEXT* fontMed = nullptr;
    float shiftX = 0.0f;
    float shiftY = 0.0f;
    uint32_t highlightColor = 0xFFFFFFFFu;
    uint32_t normalColor = 0xFFFFFFFFu;
    uint32_t linkColor = 0xFFFFFFFFu;
    std::wstring greetingFormat;
    std::wstring playerName;
    std::wstring linkText;
    float linkHalfWidth = 0.0f;
    float linkHalfHeight = 0.0f;
    QRV::JC_GUI_OBJECT* anchor = nullptr;

private:
    // Highlighted while the pointer is inside the link.
    void TrackPointer();
    void OnPlayersName(int32_t answer, std::wstring name);
    bool highlighted = false;
};
