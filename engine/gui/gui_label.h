#pragma once
// A text label (layout element "WLABEL"): a wide-character text drawn with a bitmap font of the
// text engine, anchored at the widget's transform. It is the widget whose text localisation
// replaces. The text is always drawn as it stands, never used as a format: callers that want
// numbers in it format first and set the result.

#include <cstdint>
#include <string>

#include "engine/graphics/bmfont_text.h"
#include "engine/gui/gui_object.h"

namespace QRV {

class JC_GUI_WLABEL : public JC_GUI_OBJECT {
public:
    JC_GUI_WLABEL(int32_t id, const std::string& fontName, const std::string& fontTextureName,
                  const std::wstring& text);
    // Gives the font texture back.
    ~JC_GUI_WLABEL() override;

    // When visible and loaded: the text at the widget's transform, literally. With a trace hook
    // installed, a text drawn for the first time since it changed is reported (TraceReport).
    void Draw() override;
    // First call: takes the font texture and the font description by name and loads the text
    // object, keeping the colour and anchor set on it before; the label stays unloaded while the
    // description cannot be had. Later calls take the texture again after a release.
    void RestoreResources() override;
    // Gives the font texture back; the text draws nothing until restored.
    void ReleaseResources() override;
    // The text colour keeps red, green and blue and takes this alpha.
    void SetAlpha(float alpha) override;

    // UTF-8 text, converted; room for as many characters as it has bytes.
    void SetText(const std::string& text);
    void SetText(const std::wstring& text);
    const std::wstring& GetText() const { return text; }

    std::wstring text;
    // Anchor (hot spot) and colour are set on it directly; its transform's parent is the widget's.
    JC_BMFONT_TEXT textObject;
    std::string fontName;
    std::string fontTextureName;
    // Given to the text object when loaded; 0 keeps the font's own.
    int32_t lineHeight = 0;
    uint8_t loaded = 0;

private:
    // The text last handed to the trace hook, so that each text is reported once.
    std::wstring tracedText;
    bool traced = false;
    // Makes sure the text object can lay out this many characters.
    void Reserve(size_t characters);
};

}  // namespace QRV
