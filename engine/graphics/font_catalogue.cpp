#include "engine/graphics/font_catalogue.h"

#include <pugixml.hpp>

#include "engine/core/conversions.h"
#include "engine/graphics/named_texture.h"
#include "engine/resources/hot_spot.h"
#include "engine/resources/resource_loaders.h"

namespace QRV {

namespace {

// Releasing nothing must not touch any record: a null lookup could match an unloaded one.
void ReleaseDocument(const pugi::xml_document* document) {
    if (document != nullptr) ReleaseXml(document);
}

}  // namespace

JCFontCatalogue::~JCFontCatalogue() { ReleaseAll(); }

bool JCFontCatalogue::Load(const std::string& key) {
    const pugi::xml_document* catalogue = AcquireXmlResource(key);
    if (catalogue == nullptr) return false;
    const pugi::xml_node list = catalogue->document_element().child("fonts");
    if (!list) {
        ReleaseDocument(catalogue);
        return false;
    }

    for (const pugi::xml_node& entry : list.children()) {
        if (entry.type() != pugi::node_element) continue;
        const pugi::xml_attribute name = entry.attribute("name");
        const pugi::xml_attribute textureKey = entry.attribute("texture");
        const pugi::xml_attribute descriptionKey = entry.attribute("xml");
        if (!name || !textureKey || !descriptionKey) continue;
        if (fonts.count(name.value()) != 0) continue;

        const pugi::xml_document* description = AcquireXmlResource(descriptionKey.value());
        if (description == nullptr) continue;
        JS_TEXTURE* atlas = AcquireNamedTexture(textureKey.value());
        auto font = std::make_unique<JC_BMFONT_TEXT>();
        if (atlas == nullptr || !font->Load(description, atlas, kMaxCharacters)) {
            ReleaseNamedTexture(atlas);
            ReleaseDocument(description);
            continue;
        }
        ReleaseDocument(description);
        font->sourceName = descriptionKey.value();
        fonts.emplace(name.value(), std::move(font));
    }
    ReleaseDocument(catalogue);
    return true;
}

void JCFontCatalogue::ReleaseAll() {
    for (auto& [name, font] : fonts) ReleaseNamedTexture(font->texture);
    fonts.clear();
}

JC_BMFONT_TEXT* JCFontCatalogue::Find(const std::string& name) const {
    const auto found = fonts.find(name);
    return found == fonts.end() ? nullptr : found->second.get();
}

bool JCFontRef::Load(const pugi::xml_node& element, const JCFontCatalogue* catalogue) {
    if (!element || catalogue == nullptr) return false;
    const pugi::xml_attribute name = element.attribute("fntName");
    if (!name) return false;
    fontName = name.value();
    if (const pugi::xml_attribute colorText = element.attribute("fntColor")) color = ParseHex(colorText.value());
    if (const pugi::xml_attribute hotSpot = element.attribute("fntHotSpot")) anchor = ParseHotSpot(hotSpot.value());
    font = catalogue->Find(fontName);
    return font != nullptr;
}

namespace {

// Gives a shared font one reference's colour, anchor and parent for the length of a draw.
class ScopedFontLook {
public:
    ScopedFontLook(JC_BMFONT_TEXT& font, const JCFontRef& ref, JS_TRANSFORM3* parent)
        : font_(font), color_(font.color), anchor_(font.anchor), parent_(font.transform.parent) {
        font.color = ref.color;
        font.anchor = ref.anchor;
        font.transform.parent = parent;
    }
    ~ScopedFontLook() {
        font_.color = color_;
        font_.anchor = anchor_;
        font_.transform.parent = parent_;
    }
    ScopedFontLook(const ScopedFontLook&) = delete;
    ScopedFontLook& operator=(const ScopedFontLook&) = delete;

private:
    JC_BMFONT_TEXT& font_;
    uint32_t color_;
    int32_t anchor_;
    JS_TRANSFORM3* parent_;
};

}  // namespace

void JCFontRef::DrawText(JS_TRANSFORM3* parent, float x, float y, std::wstring_view text) const {
    if (font == nullptr) return;
    ScopedFontLook look(*font, *this, parent);
    font->DrawText(x, y, text);
}

void JCFontRef::Draw(JS_TRANSFORM3* parent, float x, float y, const wchar_t* format, ...) const {
    if (font == nullptr) return;
    ScopedFontLook look(*font, *this, parent);
    va_list args;
    va_start(args, format);
    font->DrawV(x, y, format, args);
    va_end(args);
}

}  // namespace QRV
