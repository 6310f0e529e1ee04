#include "engine/windows/window_registry.h"

#include <map>

namespace {

std::map<std::string, JCWindowCreator>& Registry() {
    static std::map<std::string, JCWindowCreator> registry;
    return registry;
}

}  // namespace

bool RegisterWindowType(const std::string& key, JCWindowCreator creator) {
    Registry()[key] = creator;
    return true;
}

JCWindow* CreateRegisteredWindow(const std::string& key) {
    const auto found = Registry().find(key);
    if (found == Registry().end() || found->second == nullptr) return nullptr;
    return found->second();
}
