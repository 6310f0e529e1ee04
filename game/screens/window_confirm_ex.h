#pragma once
// A question window with one more line ("GG_WINDOW_CONFIRM_EX"): everything of the confirm window
// (text 2, yes 3, no 4, close 5 and their answers), and an extra text drawn centred at the
// window's position plus its offset, in the catalogue font the "font_extra_text" setting names
// (a "param" map). The player list puts the name of the profile to delete there.

#include <string>

#include "engine/windows/window_confirm.h"

namespace QRV {
class JC_BMFONT_TEXT;
}

class gcWindow_ConfirmEx : public JCWindow_Confirm {
public:
    ~gcWindow_ConfirmEx() override;

    void LoadSettings(const pugi::xml_node& settings) override;
    // The font from the catalogue by name; none when it has no such font.
    void OnLoadResources() override;
    void Draw() override;

    // Shown as it stands, never as a format: it may be a player's name.
    void SetExtraText(const std::wstring& text) { extraText = text; }

    static JCWindow* Create();

    // Where the extra line is centred.
    void ExtraTextPosition(float& x, float& y) const;

    std::wstring extraText;
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    std::string fontName;
    QRV::JC_BMFONT_TEXT* font = nullptr;  // a catalogue font, not owned
};
