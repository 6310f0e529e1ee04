#include "engine/graphics/sprite_holder.h"

#include <pugixml.hpp>

#include "engine/resources/resource_loaders.h"

namespace QRV {

bool LoadSpriteFromResource(JS_SPRITE_HOLDER& holder, const std::string& key) {
    // One user on the document while it is read.
    pugi::xml_document* document = AcquireXmlResource(key);
    if (document == nullptr) return false;
    const std::string name = document->document_element().child("file").text().as_string();
    ReleaseXml(document);
    if (name.empty()) return false;

    if (holder.sprite == nullptr) {
        holder.sprite = std::make_unique<G_SPRITE>(name);
    } else {
        holder.sprite->SetTextureName(name);
    }
    // The cursor's tip is its upper-left pixel.
    holder.sprite->hotSpot = 0;
    holder.sprite->SetPivotFromHotSpot(0);
    return true;
}

}  // namespace QRV
