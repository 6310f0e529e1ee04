#include "game/data/store_item.h"

#include <pugixml.hpp>
#include <utility>

#include "engine/core/conversions.h"

std::vector<pugi::xml_node> StoreItemElements(const pugi::xml_node& node) {
    std::vector<pugi::xml_node> elements;
    pugi::xml_node element = node.child("item");
    for (; element; element = element.next_sibling()) {
        if (element.type() == pugi::node_element) elements.push_back(element);
    }
    return elements;
}

JCStoreItem::JCStoreItem(const pugi::xml_node& element, PropertiesOnly) { ReadProperties(element); }

JCStoreItem::JCStoreItem(const pugi::xml_node& element) {
    ReadProperties(element);
    // Built without recursion, so that however deep a file nests its items the stack stays flat.
    std::vector<std::pair<JCStoreItem*, pugi::xml_node>> pending{{this, element}};
    while (!pending.empty()) {
        auto [parent, node] = pending.back();
        pending.pop_back();
        for (const pugi::xml_node& child : StoreItemElements(node)) {
            parent->children.push_back(new JCStoreItem(child, PropertiesOnly{}));
            pending.emplace_back(parent->children.back(), child);
        }
    }
}

JCStoreItem::~JCStoreItem() {
    // The ladder is unlinked level by level before anything is deleted, for the same reason.
    std::vector<JCStoreItem*> doomed = std::move(children);
    children.clear();
    while (!doomed.empty()) {
        JCStoreItem* item = doomed.back();
        doomed.pop_back();
        doomed.insert(doomed.end(), item->children.begin(), item->children.end());
        item->children.clear();
        delete item;
    }
}

void JCStoreItem::ReadProperties(const pugi::xml_node& element) {
    SetString("name", element.attribute("name").as_string());
    SetString("price", element.attribute("price").as_string());
    SetString("annotation", element.attribute("annotation").as_string());
    SetString("image", element.attribute("image").as_string());
    SetString("inapp", element.attribute("InAppKey").as_string());
    SetString("value", element.attribute("value").as_string());
    SetBool("endless", QRV::IsTrueText(element.attribute("endless").as_string()) ? 1 : 0);
}

int32_t JCStoreItem::GetValue() const {
    const JSProperty* value = Find("value");
    return value != nullptr ? value->intValue : 0;
}

std::string JCStoreItem::Text(const std::string& key) const {
    const JSProperty* property = Find(key);
    return property != nullptr ? property->text : std::string();
}

JCStoreItem* JCStoreItem::FindItem(const std::string& name, int32_t amount) {
    // Depth first with an explicit stack: children are pushed last to first so the first one is
    // searched next.
    std::vector<JCStoreItem*> pending{this};
    while (!pending.empty()) {
        JCStoreItem* item = pending.back();
        pending.pop_back();
        const JSProperty* itemName = item->Find("name");
        if (itemName != nullptr && itemName->text == name) {
            const JSProperty* endless = item->Find("endless");
            if (endless != nullptr && endless->intValue != 0) return item;
            if (amount < item->GetValue()) return item;
        }
        for (auto child = item->children.rbegin(); child != item->children.rend(); ++child) pending.push_back(*child);
    }
    return nullptr;
}
