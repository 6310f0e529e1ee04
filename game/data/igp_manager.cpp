#include "game/data/igp_manager.h"

#include <pugixml.hpp>

#include "game/data/igp_wrapper_offline.h"

JCIgpManager& JCIgpManager::Instance() {
    static JCIgpManager instance;
    return instance;
}

JCIgpManager::JCIgpManager() : wrapper(std::make_unique<QRV::JC_IGP_WRAPPER_TEST>()) {}

JCIgpManager::~JCIgpManager() = default;

bool JCIgpManager::Load(const pugi::xml_node& node, const std::string& defaultKey, void* window) {
    if (!node) return false;
    for (const pugi::xml_node& element : node.children("item")) {
        JSIgpItem item;
        item.name = element.attribute("name").as_string();
        item.productId = element.attribute("product_id").as_string();
        item.type = IgpItemTypeFromText(element.attribute("type").as_string());
        items.push_back(item);
    }
    if (wrapper == nullptr) return true;
    const pugi::xml_attribute appKey = node.attribute("app_key");
    const bool initialised = wrapper->Init(appKey ? appKey.value() : defaultKey, window, this);
    if (initialised) wrapper->RequestProducts();
    return initialised;
}

JSIgpItem* JCIgpManager::FindByProductId(const std::string& productId) {
    for (JSIgpItem& item : items) {
        if (item.productId == productId) return &item;
    }
    return nullptr;
}

JSIgpItem* JCIgpManager::FindByName(const std::string& name) {
    for (JSIgpItem& item : items) {
        if (item.name == name) return &item;
    }
    return nullptr;
}
