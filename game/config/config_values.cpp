#include "game/config/config_values.h"

#include "engine/core/property_map.h"

namespace Game {

int32_t ConfigInt(const JCPropertyMap& map, const std::string& key) {
    const JSProperty* property = map.Find(key);
    return property != nullptr ? property->intValue : 0;
}

std::string ConfigText(const JCPropertyMap& map, const std::string& key) {
    const JSProperty* property = map.Find(key);
    return property != nullptr ? property->text : std::string();
}

int32_t PlatformLetter(const std::string& platform) {
    if (platform.empty()) return 0;
    switch (platform.front()) {
        case 'O':
        case 'o': return 1;
        case 'I':
        case 'i': return 2;
        case 'A':
        case 'a': return 3;
        default: return 0;
    }
}

}  // namespace Game
