#pragma once
// Reads a bitmap-font description (an XML document beside one atlas texture).
//
// What is read, and nothing else (element and attribute names are exact and case-sensitive; every
// number is a decimal integer, an absent attribute reads as 0):
//
//   <font>                                   the document's root element (its name is not checked)
//     <info face="Lato Bold 22"/>            face: the font's display name (may be absent)
//     <common lineHeight="27" base="21"      lineHeight: pixels from one line's top to the next's
//             scaleW="512" scaleH="256"/>    base: baseline below the line's top (stored, not used
//                                            in layout); scaleW/H: atlas size in pixels (0 or
//                                            absent: the texture's own size is used)
//     <chars>                                one child per glyph, any element name (say "char"):
//       <char id="65" x="10" y="0"            id: the character code (Unicode code point)
//             width="14" height="17"          x, y, width, height: the glyph's box in the atlas,
//             xoffset="0" yoffset="4"           pixels, y down from the atlas' top row
//             xadvance="13"/>                 xoffset, yoffset (may be negative): where the box's
//     </chars>                                  upper-left corner sits relative to the pen, whose y
//     <kernings>                                is the line's top; xadvance: pen step after it
//       <kerning first="65" second="86"       optional; one child per pair, any element name:
//                amount="-2"/>                when "second" directly follows "first" on a line,
//     </kernings>                             the pen moves by amount (negative: closer) first
//   </font>
//
// Boxes may include baked effects (shadows): the box is drawn as it is, the pen moves by xadvance.
// A later glyph with the same id replaces the earlier. A kerning pair whose "second" has no glyph
// is dropped. Other elements ("pages", attributes such as "page" or "chnl") are ignored: the
// texture comes from the font catalogue, one atlas per font.

#include <cstdint>
#include <string>

#include "engine/graphics/bmfont_glyph.h"

namespace pugi {
class xml_node;
}

namespace QRV {

struct JS_BMFONT_DESCRIPTION {
    std::string face;
    int32_t lineHeight = 0;
    int32_t base = 0;
    int32_t scaleW = 0;
    int32_t scaleH = 0;
    JS_BMFONT_GLYPH_MAP glyphs;
};

// Reads the root element into out (replacing what it held). textureWidth and textureHeight stand in
// for a scale of 0; a null root leaves the description empty. A missing "chars" gives no glyphs.
void ReadBmFontDescription(const pugi::xml_node& root, uint32_t textureWidth, uint32_t textureHeight,
                           JS_BMFONT_DESCRIPTION& out);

}  // namespace QRV
