#pragma once
// The GUI font of a text widget, taken by name: the font description (an XML document whose
// element "font" is read, see gui_font.h) and its glyph atlas.
//
// Restore takes the atlas (one user counted) and, the first time the description can be read,
// builds the font; the document's reference is dropped again at once. Release gives the atlas back
// and leaves the font on the no-texture record, so nothing points at a texture the cache may free;
// the next Restore takes the atlas again, whichever record the cache now gives.

#include <cstdint>
#include <memory>
#include <string>

#include "engine/gui/gui_font.h"

namespace QRV {

struct JS_TEXTURE;

class JC_GUI_FONT_HOLDER {
public:
    JC_GUI_FONT_HOLDER(std::string xmlName, std::string textureName);
    // Gives a held atlas back.
    ~JC_GUI_FONT_HOLDER();
    JC_GUI_FONT_HOLDER(const JC_GUI_FONT_HOLDER&) = delete;
    JC_GUI_FONT_HOLDER& operator=(const JC_GUI_FONT_HOLDER&) = delete;

    void Restore();
    void Release();

    // Colours the glyphs: argb with its alpha scaled by the widget's opacity (gui_alpha.h rules).
    // Nothing without a font.
    void SetColor(uint32_t argb, float opacity);

    // Null until a description was read.
    JC_GUI_FONT* Get() const { return font.get(); }

    const std::string xmlName;
    const std::string textureName;

private:
    std::unique_ptr<JC_GUI_FONT> font;
    // Counted while real (the default texture stands in uncounted for a missing atlas).
    JS_TEXTURE* texture = nullptr;
};

}  // namespace QRV
