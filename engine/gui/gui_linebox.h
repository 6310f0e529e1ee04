#pragma once
// A one-line text entry: a background quad, a text drawn with the GUI font (gui_font.h), a
// blinking caret, and editing with typed characters, Backspace, Delete and the Left and Right
// arrows. The widget's active flag is its input focus.
//
// Focus: a left press inside the input area takes it (code 7), one outside drops it, unless
// ignoresClicks is set; the walks drop it too when a sibling becomes active. With keepsFocus set
// (a dialog's entry) the box has the keyboard whatever the walks and presses do, and every pointer
// move sets its active flag again without answering, so the widgets after it still see the
// pointer.
//
// Keys (OnMouseDown, on each key press of the frame, auto-repeats included): Backspace erases
// before the caret, Delete at it, Left and Right move it; any other key inserts the character it
// typed at the caret (code 10) when the character is not 0, a tab, a control key's or among the
// forbidden characters, the text is shorter than maxLength, its width is below maxWidth and two
// more advances of the character still fit in the input area. Only a press in the area (7) and an
// inserted character (10) are reported.
//
// The input area is the background less four margins (default 4 each). The text is aligned in it
// by the alignment (3 left, 4 centre, 5 right), starting or ending half the font's inset (10 px)
// inside its edge, with the top of the line at the bottom margin above the box's centre. Text from
// the player is drawn as it stands, never as a format.
//
// Setters called before the first RestoreResources keep their value and the build applies it;
// a text set then is checked against the limits by the build and emptied if it does not fit.

#include <cstdint>
#include <string>

#include "engine/graphics/sprite.h"
#include "engine/gui/gui_font_holder.h"
#include "engine/gui/gui_object.h"
#include "engine/gui/hit_shape.h"

namespace QRV {

class JC_GUI_LINEBOX : public JC_GUI_OBJECT {
public:
    JC_GUI_LINEBOX(int32_t id, const std::string& backgroundTexture, const std::string& fontTexture,
                   const std::string& fontXml);

    // Blinks the caret while focused, hides it otherwise; null.
    JS_GUI_EVENT* Update() override;
    // Background, text and caret, while visible.
    void Draw() override;
    // Focus by the left button, editing by keys (see above).
    JS_GUI_EVENT* OnMouseDown() override;
    // With keepsFocus: the active flag set again; never answers.
    JS_GUI_EVENT* OnMouseMove() override;
    JS_TEXTURE* GetTexture() const override { return background.texture; }
    // The first call builds the font, the input area and the text origin; later calls take the
    // textures again after a release. Then the stored alpha.
    void RestoreResources() override;
    void ReleaseResources() override;
    // The alpha byte into the background and the text.
    void SetAlpha(float alpha) override;

    // Built: taken when it has at most maxLength characters and is no wider than the input area
    // and maxWidth, the caret then at 0; otherwise nothing changes. Forbidden characters are not
    // checked. Before the build: stored (see above). Reports nothing.
    void SetText(const std::wstring& text);
    const std::wstring& GetText() const { return text; }
    // 0, 3, 6 left; 1, 4, 7 centre; 2, 5, 8 right; other values change nothing.
    void SetAlignment(int32_t alignment);
    int32_t GetAlignment() const { return alignment; }
    // The margins of the input area inside the background.
    void SetInputArea(float left, float top, float right, float bottom);
    // ARGB of the text (opaque black unless set).
    void SetTextColor(uint32_t argb);
    // Seconds per blink phase; the running phase restarts with it.
    void SetBlinkTime(float seconds);

    // Keys reach the text: the box is active or keeps the focus.
    bool HasFocus() const { return active != 0 || keepsFocus != 0; }
    uint32_t GetCaret() const { return caret; }
    bool IsCaretVisible() const { return caretVisible != 0; }
    bool IsBuilt() const { return built != 0; }
    const JS_HIT_SHAPE& InputArea() const { return inputArea; }
    JC_GUI_FONT* Font() const { return font.Get(); }

    // Set directly by the owner.
    std::wstring forbiddenCharacters;
    // In characters; 0xFFFFFFFF means no limit.
    uint32_t maxLength = 0xFFFFFFFFu;
    // In pixels; 0x7FFFFFFF means no limit.
    int32_t maxWidth = 0x7FFFFFFF;
    uint8_t keepsFocus = 0;
    uint8_t ignoresClicks = 0;
    // Pixels added to every advance; given to the font by the build.
    int32_t letterSpacing = 0;
    float blinkTime = 0.5f;
    float blinkTimer = 0.5f;

    float marginLeft = 4.0f;
    float marginTop = 4.0f;
    float marginRight = 4.0f;
    float marginBottom = 4.0f;

private:
    int32_t LineWidth(const std::wstring& line) const;
    int32_t Advance(wchar_t c) const;
    // The input area and the text origin for the background's size and the margins.
    void PlaceInputArea();
    // Types the frame's key into the text: editing keys, or the typed character (true when
    // inserted).
    bool ApplyKey(int32_t key, wchar_t typed);
    void ApplyTextColor();

    std::wstring text;
    uint32_t caret = 0;
    uint8_t caretVisible = 1;
    // 3 left, 4 centre, 5 right.
    int32_t alignment = 3;
    uint32_t textColor = 0xFF000000u;
    uint8_t built = 0;

    G_SPRITE background;
    JC_GUI_FONT_HOLDER font;
    // Placed on the widget's transform: the area's centre, and the point the text aligns to.
    JS_TRANSFORM3 areaTransform;
    JS_TRANSFORM3 textOrigin;
    JS_HIT_SHAPE inputArea;
};

}  // namespace QRV
