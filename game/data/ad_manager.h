#pragma once
// The advertising networks the game may use, by id, and the delegate that hears from them. The
// advertising file (named by the edition's "ad") has one element per network under its element
// "ad"; each network's values are "key"/"value" children, "name" naming the network.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "game/data/ad_delegate.h"
#include "game/data/ad_wrapper.h"

namespace pugi {
class xml_node;
}
class JCPropertyMap;
class JCAdManager;

// The id of a network name: "adnet0" to "adnet11" give 0 to 11, any other name 13.
constexpr int32_t kAdNetworkUnknown = 13;
int32_t AdNetworkIdFromName(const std::string& name);

// A new wrapper for a network id bound to the manager: ids 0 to 11 give the desktop's refusing
// network (JCAdWrapperTest), any other id none (null).
JIAdWrapper* CreateAdWrapper(int32_t id, JCAdManager* manager);

class JCAdManager {
public:
    // How wrappers are made; CreateAdWrapper unless replaced.
    using WrapperFactory = std::function<JIAdWrapper*(int32_t id, JCAdManager* manager)>;

    // The one instance, made on first use and destroyed at exit with its networks.
    static JCAdManager& Instance();

    // No networks, no delegate. Tests make their own.
    JCAdManager();
    ~JCAdManager();
    JCAdManager(const JCAdManager&) = delete;
    JCAdManager& operator=(const JCAdManager&) = delete;

    // Offers every child element of the node, in order, as a network (its values read into a fresh
    // map). True, whatever was refused.
    bool Load(const pugi::xml_node& node);
    // Registers the network named by the value "name": false when its id is registered already,
    // when no wrapper exists for the id, or when the wrapper's Init refuses (it is deleted).
    bool AddNetwork(const JCPropertyMap& values);
    // The registered network of the id, or null.
    JIAdWrapper* Find(int32_t id) const;
    // Deletes every registered network.
    void Clear() { networks.clear(); }

    void SetDelegate(JIAdDelegate* listener) { delegate = listener; }
    JIAdDelegate* GetDelegate() const { return delegate; }

    void SetWrapperFactory(WrapperFactory make) { factory = std::move(make); }

private:
    std::map<int32_t, std::unique_ptr<JIAdWrapper>> networks;
    JIAdDelegate* delegate = nullptr;
    WrapperFactory factory;
};
