#include "engine/graphics/bmfont_reader.h"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>

namespace QRV {

namespace {

// A decimal attribute (leading blanks and a '+' allowed), 0 when absent or not a number; values
// beyond the 32-bit range are clamped.
int64_t ReadDecimal(const pugi::xml_node& node, const char* name) {
    const char* text = node.attribute(name).value();
    while (*text == ' ' || *text == '\t') ++text;
    if (*text == '+') ++text;
    int64_t value = 0;
    const char* end = text + std::strlen(text);
    if (std::from_chars(text, end, value).ec != std::errc()) return 0;
    return std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<uint32_t>::max());
}

int32_t ReadInt(const pugi::xml_node& node, const char* name) {
    return static_cast<int32_t>(std::clamp<int64_t>(ReadDecimal(node, name), std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// Negative values read as 0.
uint32_t ReadUnsigned(const pugi::xml_node& node, const char* name) {
    return static_cast<uint32_t>(std::max<int64_t>(ReadDecimal(node, name), 0));
}

}  // namespace

void ReadBmFontDescription(const pugi::xml_node& root, uint32_t textureWidth, uint32_t textureHeight,
                           JS_BMFONT_DESCRIPTION& out) {
    out = JS_BMFONT_DESCRIPTION();
    if (!root) return;

    out.face = root.child("info").attribute("face").value();
    const pugi::xml_node common = root.child("common");
    out.lineHeight = ReadInt(common, "lineHeight");
    out.base = ReadInt(common, "base");
    out.scaleW = ReadInt(common, "scaleW");
    out.scaleH = ReadInt(common, "scaleH");

    // The atlas size the boxes are measured against: the declared one, else the texture's, and
    // never 0 (a glyph then maps to nonsense texels, but nothing divides by zero).
    const auto extent = [](int32_t declared, uint32_t texture) {
        if (declared > 0) return static_cast<float>(declared);
        return texture > 0 ? static_cast<float>(texture) : 1.0f;
    };
    const float atlasWidth = extent(out.scaleW, textureWidth);
    const float atlasHeight = extent(out.scaleH, textureHeight);

    for (const pugi::xml_node& element : root.child("chars").children()) {
        if (element.type() != pugi::node_element) continue;
        JS_BMFONT_GLYPH glyph;
        const uint32_t x = ReadUnsigned(element, "x");
        const uint32_t y = ReadUnsigned(element, "y");
        glyph.width = ReadUnsigned(element, "width");
        glyph.height = ReadUnsigned(element, "height");
        glyph.xoffset = ReadInt(element, "xoffset");
        glyph.yoffset = ReadInt(element, "yoffset");
        glyph.xadvance = ReadUnsigned(element, "xadvance");
        glyph.uLeft = static_cast<float>(x) / atlasWidth;
        glyph.vTop = static_cast<float>(y) / atlasHeight;
        glyph.uRight = (static_cast<float>(x) + static_cast<float>(glyph.width)) / atlasWidth;
        glyph.vBottom = (static_cast<float>(y) + static_cast<float>(glyph.height)) / atlasHeight;
        // A repeated id replaces the earlier glyph.
        out.glyphs.insert_or_assign(ReadUnsigned(element, "id"), std::move(glyph));
    }

    for (const pugi::xml_node& element : root.child("kernings").children()) {
        if (element.type() != pugi::node_element) continue;
        const auto second = out.glyphs.find(ReadUnsigned(element, "second"));
        // A pair for a character the font cannot draw would never apply.
        if (second == out.glyphs.end()) continue;
        second->second.kerning.insert_or_assign(ReadUnsigned(element, "first"), ReadInt(element, "amount"));
    }
}

}  // namespace QRV
