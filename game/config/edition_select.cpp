#include "game/config/edition_select.h"

#include <pugixml.hpp>

#include "engine/core/property_map.h"
#include "game/config/config_values.h"

namespace Game {

bool SelectEdition(const pugi::xml_node& root, const std::string& wanted, JCPropertyMap& edition) {
    for (pugi::xml_node child = root.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        edition.Load(child);
        if (ConfigText(edition, "type") == wanted) return true;
    }
    return false;
}

}  // namespace Game
