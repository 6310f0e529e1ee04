#include "game/data/store_catalogue.h"

#include <pugixml.hpp>

JCStoreCatalogue::~JCStoreCatalogue() { Clear(); }

bool JCStoreCatalogue::LoadStoreItems(const pugi::xml_node& root) {
    if (!root) return false;
    for (const pugi::xml_node& element : StoreItemElements(root)) items.push_back(new JCStoreItem(element));
    return true;
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
