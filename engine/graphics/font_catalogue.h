#pragma once
// The game's fonts, loaded once from a catalogue document and handed out by name, and the small
// reference by which widgets and screens name a catalogue font with a colour and an anchor.
//
// Catalogue document (resource key, "repository file"):
//   <anything>
//     <fonts>
//       <font name="body" texture="data/share/font body.png" xml="data/share/font body.xml"/>
//       ...                            one element per font, any element name; "name", "texture"
//     </fonts>                         (atlas) and "xml" (description, see bmfont_reader.h) are
//   </anything>                        resource keys and all three are required
// An entry lacking one of them, repeating an earlier name, or whose description cannot be read is
// skipped. Each font keeps one counted user of its atlas until ReleaseAll.
//
// Font reference attributes (in any element of a game file): "fntName" (required, a catalogue
// name), "fntColor" (hexadecimal ARGB, e.g. "FF102030"), "fntHotSpot" (anchor name "HS_UL" ...).

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "engine/graphics/bmfont_text.h"

namespace pugi {
class xml_node;
}

namespace QRV {

class JCFontCatalogue {
public:
    JCFontCatalogue() = default;
    ~JCFontCatalogue();
    JCFontCatalogue(const JCFontCatalogue&) = delete;
    JCFontCatalogue& operator=(const JCFontCatalogue&) = delete;

    // Characters a catalogue font can draw at once.
    static constexpr uint32_t kMaxCharacters = 600;

    // False when the catalogue is missing, unreadable or has no "fonts" element; true otherwise,
    // even when entries were skipped.
    bool Load(const std::string& key);
    // Releases every font's atlas user and forgets the fonts.
    void ReleaseAll();

    // Null when there is no font of that name.
    JC_BMFONT_TEXT* Find(const std::string& name) const;
    const std::map<std::string, std::unique_ptr<JC_BMFONT_TEXT>>& Fonts() const { return fonts; }

private:
    std::map<std::string, std::unique_ptr<JC_BMFONT_TEXT>> fonts;
};

struct JCFontRef {
    JC_BMFONT_TEXT* font = nullptr;  // a catalogue font, not owned
    std::string fontName;
    uint32_t color = 0xFFFFFFFF;
    int32_t anchor = 4;

    // Reads the reference attributes of element and looks the font up: false without element or
    // catalogue, without "fntName", or when the catalogue has no such font (font becomes null).
    bool Load(const pugi::xml_node& element, const JCFontCatalogue* catalogue);

    // Draws with this reference's colour and anchor, placed under parent (may be null), and leaves
    // the shared font as it was. Nothing without a font.
    void DrawText(JS_TRANSFORM3* parent, float x, float y, std::wstring_view text) const;
    void Draw(JS_TRANSFORM3* parent, float x, float y, const wchar_t* format, ...) const;
};

}  // namespace QRV
