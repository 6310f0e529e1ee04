#pragma once
// One thing the shop sells, read from an "item" element of the store file, with the nested items of
// the same name that form its ladder of upgrades. Its properties (texts parsed into every form):
//   "name", "price", "annotation" (a string-table key), "image" (a texture key), "value" (the
//   amount it gives, and its rung), "inapp" (from the attribute "InAppKey": the in-app product
//   that sells it, empty when it is bought with money) and "endless" (a flag).
// A missing attribute gives empty text (and 0 in the other forms); "endless" is true when its
// first character is one of 1, t, T, y, Y.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/property_map.h"

namespace pugi {
class xml_node;
}

class JCStoreItem : public JCPropertyMap {
public:
    // The properties of the element, then its child items: every element from its first child
    // named "item" on, whatever its name, nested to any depth.
    explicit JCStoreItem(const pugi::xml_node& element);
    // Deletes the whole ladder below it.
    ~JCStoreItem() override;
    JCStoreItem(const JCStoreItem&) = delete;
    JCStoreItem& operator=(const JCStoreItem&) = delete;

    // The integer form of "value".
    int32_t GetValue() const;

    // The ladder rule, depth first, an item before its children: an item whose "name" equals the
    // name exactly is the answer when it is endless or when amount < its value; otherwise its
    // children are searched in order. Null when nothing answers.
    JCStoreItem* FindItem(const std::string& name, int32_t amount);

    // The property's text, or "" when absent.
    std::string Text(const std::string& key) const;

    // Owned, in document order.
    std::vector<JCStoreItem*> children;

private:
    struct PropertiesOnly {};
    JCStoreItem(const pugi::xml_node& element, PropertiesOnly);
    void ReadProperties(const pugi::xml_node& element);
};

// The first element child of node named "item" and every element sibling after it, in order.
std::vector<pugi::xml_node> StoreItemElements(const pugi::xml_node& node);
