#include "game/config/user_settings.h"

#include <pugixml.hpp>

#include "engine/core/property_map.h"

namespace Game {

bool CopyUserFullscreen(const pugi::xml_node& root, JCPropertyMap& settings) {
    JCPropertyMap user;
    user.Load(root);
    const JSProperty* fullscreen = user.Find("fullscreen");
    if (fullscreen == nullptr) return false;
    settings.SetString("fullscreen", fullscreen->text);
    return true;
}

void FillUserSettingsDocument(const JCPropertyMap& settings, pugi::xml_document& document) {
    document.reset();
    settings.Save(document.append_child("game"));
}

}  // namespace Game
