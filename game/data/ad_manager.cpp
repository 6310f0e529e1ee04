#include "game/data/ad_manager.h"

#include <pugixml.hpp>

#include "engine/core/property_map.h"
#include "game/data/ad_wrapper_offline.h"

namespace {

constexpr int32_t kAdNetworkCount = 12;  // "adnet0" to "adnet11"

}  // namespace

int32_t AdNetworkIdFromName(const std::string& name) {
    for (int32_t id = 0; id < kAdNetworkCount; ++id) {
        if (name == "adnet" + std::to_string(id)) return id;
    }
    return kAdNetworkUnknown;
}

JIAdWrapper* CreateAdWrapper(int32_t id, JCAdManager* manager) {
    if (id < 0 || id >= kAdNetworkCount) return nullptr;
    return new JCAdWrapperTest(manager);
}

JCAdManager& JCAdManager::Instance() {
    static JCAdManager instance;
    return instance;
}

JCAdManager::JCAdManager() : factory(&CreateAdWrapper) {}

JCAdManager::~JCAdManager() = default;

bool JCAdManager::Load(const pugi::xml_node& node) {
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        JCPropertyMap values;
        values.Load(child);
        AddNetwork(values);
    }
    return true;
}

bool JCAdManager::AddNetwork(const JCPropertyMap& values) {
    const JSProperty* name = values.Find("name");
    const int32_t id = AdNetworkIdFromName(name != nullptr ? name->text : std::string());
    if (networks.count(id) != 0) return false;
    std::unique_ptr<JIAdWrapper> wrapper(factory ? factory(id, this) : nullptr);
    if (wrapper == nullptr || !wrapper->Init(values)) return false;
    networks[id] = std::move(wrapper);
    return true;
}

JIAdWrapper* JCAdManager::Find(int32_t id) const {
    const auto it = networks.find(id);
    return it != networks.end() ? it->second.get() : nullptr;
}
