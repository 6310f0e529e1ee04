// Feeds arbitrary bytes to the advertising manager as if they were the advertising file: with the
// desktop's networks nothing registers; with networks that accept, each known id registers once.
#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>

#include "engine/core/property_map.h"
#include "game/data/ad_manager.h"
#include "game/data/ad_wrapper_offline.h"

namespace {

class Accepting : public JCAdWrapperTest {
public:
    using JCAdWrapperTest::JCAdWrapperTest;
    bool Init(const JCPropertyMap&) override { return true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pugi::xml_document document;
    if (!document.load_buffer(data, size)) return 0;
    const pugi::xml_node networks = document.child("ad");

    JCAdManager desktop;
    if (!desktop.Load(networks)) std::abort();
    for (int32_t id = -1; id <= 14; ++id)
        if (desktop.Find(id) != nullptr) std::abort();

    JCAdManager accepting;
    accepting.SetWrapperFactory([](int32_t id, JCAdManager* owner) -> JIAdWrapper* {
        return id >= 0 && id < 12 ? new Accepting(owner) : nullptr;
    });
    if (!accepting.Load(networks)) std::abort();
    std::set<int32_t> named;
    for (const pugi::xml_node& network : networks.children()) {
        if (network.type() != pugi::node_element) continue;
        JCPropertyMap values;
        values.Load(network);
        const JSProperty* name = values.Find("name");
        const int32_t id = AdNetworkIdFromName(name != nullptr ? name->text : "");
        if (id != kAdNetworkUnknown) named.insert(id);
    }
    for (int32_t id = -1; id <= 14; ++id)
        if ((accepting.Find(id) != nullptr) != (named.count(id) != 0)) std::abort();
    return 0;
}
