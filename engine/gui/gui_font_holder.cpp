#include "engine/gui/gui_font_holder.h"

#include <pugixml.hpp>

#include <utility>

#include "engine/graphics/named_texture.h"
#include "engine/gui/gui_alpha.h"
#include "engine/resources/resource_loaders.h"

namespace QRV {

JC_GUI_FONT_HOLDER::JC_GUI_FONT_HOLDER(std::string xml, std::string atlas)
    : xmlName(std::move(xml)), textureName(std::move(atlas)) {}

JC_GUI_FONT_HOLDER::~JC_GUI_FONT_HOLDER() { Release(); }

void JC_GUI_FONT_HOLDER::Restore() {
    if (!IsRealTexture(texture)) texture = AcquireNamedTexture(textureName);
    if (font == nullptr) {
        pugi::xml_document* document = AcquireXmlResource(xmlName);
        if (document == nullptr) return;
        font = std::make_unique<JC_GUI_FONT>(document->child("font"), texture);
        font->name = xmlName;
        ReleaseXml(document);
        return;
    }
    font->SetTexture(texture);
}

void JC_GUI_FONT_HOLDER::SetColor(uint32_t argb, float opacity) {
    if (font == nullptr) return;
    const uint32_t a = (argb >> 24) * AlphaByte(opacity) / 255u;
    font->SetColor((argb & 0x00FFFFFFu) | (a << 24));
}

void JC_GUI_FONT_HOLDER::Release() {
    ReleaseNamedTexture(texture);
    texture = NoTexture();
    if (font != nullptr) font->SetTexture(texture);
}

}  // namespace QRV
