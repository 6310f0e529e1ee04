#include "tools/content_builder/bmfont_description.h"

#include "tools/content_builder/xml_number.h"
#include "tools/content_builder/xml_text.h"

namespace ContentBuilder {
namespace {

std::string Attribute(std::string_view name, int value) {
    return " " + std::string(name) + "=\"" + XmlNumber(value) + "\"";
}

}  // namespace

std::string BmFontDescriptionXml(const RasterFont& font, const GlyphAtlas& atlas, std::string_view pageFile) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<font>\n";
    xml += "  <info face=\"" + XmlEscape(font.face) + "\"" + Attribute("size", font.pixelSize) + "/>\n";
    xml += "  <common" + Attribute("lineHeight", font.lineHeight) + Attribute("base", font.base) +
           Attribute("scaleW", atlas.image.width) + Attribute("scaleH", atlas.image.height) + " pages=\"1\"/>\n";
    xml += "  <pages>\n    <page id=\"0\" file=\"" + XmlEscape(pageFile) + "\"/>\n  </pages>\n";
    xml += "  <chars" + Attribute("count", static_cast<int>(font.glyphs.size())) + ">\n";
    for (size_t i = 0; i < font.glyphs.size(); ++i) {
        const RasterGlyph& g = font.glyphs[i];
        xml += "    <char" + Attribute("id", static_cast<int>(g.codepoint)) + Attribute("x", atlas.placements[i].x) +
               Attribute("y", atlas.placements[i].y) + Attribute("width", g.width) + Attribute("height", g.height) +
               Attribute("xoffset", g.xoffset) + Attribute("yoffset", g.yoffset) + Attribute("xadvance", g.xadvance) +
               " page=\"0\"/>\n";
    }
    xml += "  </chars>\n";
    xml += "  <kernings" + Attribute("count", static_cast<int>(font.kernings.size())) + ">\n";
    for (const KerningPair& k : font.kernings)
        xml += "    <kerning" + Attribute("first", static_cast<int>(k.first)) +
               Attribute("second", static_cast<int>(k.second)) + Attribute("amount", k.amount) + "/>\n";
    xml += "  </kernings>\n</font>\n";
    return xml;
}

}  // namespace ContentBuilder
