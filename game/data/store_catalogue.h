#pragma once
// The store catalogue: the top-level items of the store file, each with its ladder, in document
// order. The game root keeps one and answers the shop's questions from it.

#include <cstdint>
#include <string>
#include <vector>

#include "game/data/store_item.h"

namespace pugi {
class xml_node;
}

class JCStoreCatalogue {
public:
    JCStoreCatalogue() = default;
    ~JCStoreCatalogue();
    JCStoreCatalogue(const JCStoreCatalogue&) = delete;
    JCStoreCatalogue& operator=(const JCStoreCatalogue&) = delete;

    // Appends one item per element of the root from its first child named "item" on. False for a
    // null root.
    bool LoadStoreItems(const pugi::xml_node& root);
    // The store file of the resource key, from its root element; a missing or unparsable file
    // ends the program through the load-error message naming the key.
    bool LoadFromFile(const std::string& key);

    // The first top-level item, in order, whose ladder has an answer for the name at this amount
    // (JCStoreItem::FindItem); null when none has.
    JCStoreItem* FindItem(const std::string& name, int32_t amount) const;

    // Deletes every item with its ladder.
    void Clear();

    const std::vector<JCStoreItem*>& Items() const { return items; }

private:
    std::vector<JCStoreItem*> items;  // owned
};
