#include "engine/resources/leaderboard_table.h"

#include <pugixml.hpp>

#include "engine/resources/load_error.h"
#include "engine/resources/resource_loaders.h"

void JCLeaderboardTable::Load(const std::string& key) {
    pugi::xml_document* document = QRV::AcquireXmlResource(key);
    if (document == nullptr) ShowLoadErrorAndExit(key);
    LoadDocument(*document);
    QRV::ReleaseXml(document);
}

void JCLeaderboardTable::LoadDocument(const pugi::xml_node& document) {
    // The document's root element (for a document), or the node's first element.
    const pugi::xml_node root =
        document.find_child([](const pugi::xml_node& n) { return n.type() == pugi::node_element; });
    for (pugi::xml_node child = root.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        const pugi::xml_attribute name = child.attribute("name");
        const pugi::xml_attribute id = child.attribute("leaderboard_id");
        if (!name || !id) continue;
        ids.emplace(name.value(), id.value());
    }
}

std::string JCLeaderboardTable::GetId(const std::string& name) const {
    auto it = ids.find(name);
    return it == ids.end() ? std::string() : it->second;
}
