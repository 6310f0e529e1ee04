#pragma once
// The value forms of layout keys, shared by the layout reader's files.

#include <cstdint>
#include <string>

#include <pugixml.hpp>

namespace QRV {
class JC_GUI_OBJECT;
struct JS_CALLBACK;
}  // namespace QRV

namespace LayoutValues {

// True when the first character is 1, t, T, y or Y (empty text is false).
bool ToBool(const pugi::xml_attribute& attribute);
// Decimal, 0 when absent or empty.
int32_t ToInt(const pugi::xml_attribute& attribute);
uint32_t ToUInt(const pugi::xml_attribute& attribute);
// The fallback when absent; else the decimal text (empty gives 0).
float ToFloat(const pugi::xml_attribute& attribute, float fallback);
// Every run of blanks, tabs and line breaks made one blank, none at the ends: numbers separated
// however the author liked, for parsers that split at single blanks.
std::string Blanks(const char* text);
// An AARRGGBB hexadecimal text, or "a r g b" decimals (fewer than four leave opaque black), as ARGB.
uint32_t HexColor(const pugi::xml_attribute& attribute);
uint32_t DecimalColor(const pugi::xml_attribute& attribute);

// The record for the event from the element's "SCRIPTS" child: the last child whose "EVENT" is the
// event and whose text is not empty, made with no function, the text as its name and the widget
// as its argument. Null when there is none. The caller owns it.
QRV::JS_CALLBACK* ReadScript(const pugi::xml_node& element, const char* event, QRV::JC_GUI_OBJECT* widget);

}  // namespace LayoutValues
