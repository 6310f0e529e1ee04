#include "game/data/store_catalogue.h"

#include <pugixml.hpp>

#include "engine/resources/load_error.h"
#include "engine/resources/resource_loaders.h"

JCStoreCatalogue::~JCStoreCatalogue() { Clear(); }

bool JCStoreCatalogue::LoadStoreItems(const pugi::xml_node& root) {
    if (!root) return false;
    for (const pugi::xml_node& element : StoreItemElements(root)) items.push_back(new JCStoreItem(element));
    return true;
}

bool JCStoreCatalogue::LoadFromFile(const std::string& key) {
    pugi::xml_document* document = QRV::AcquireXmlResource(key);
    if (document == nullptr) ShowLoadErrorAndExit(key);
    const bool loaded = LoadStoreItems(document->document_element());
    QRV::ReleaseXml(document);
    return loaded;
}

JCStoreItem* JCStoreCatalogue::FindItem(const std::string& name, int32_t amount) const {
    for (JCStoreItem* item : items) {
        if (JCStoreItem* found = item->FindItem(name, amount)) return found;
    }
    return nullptr;
}

void JCStoreCatalogue::Clear() {
    for (JCStoreItem* item : items) delete item;
    items.clear();
    items.shrink_to_fit();
}
