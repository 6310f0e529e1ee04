#include "game/config/interface_sounds.h"

namespace Game {

std::string InterfaceSoundEntry(const std::string& event, const std::function<bool(const std::string&)>& hasEntry) {
    if (!hasEntry) return "";
    if (!event.empty() && hasEntry(event)) return event;
    std::string fallback;
    if (event.empty()) {
        fallback = kDefaultClickSound;
    } else if (event.rfind("open.", 0) == 0 && event.size() > 5) {
        fallback = kDefaultOpenSound;
    }
    return !fallback.empty() && hasEntry(fallback) ? fallback : "";
}

}  // namespace Game
