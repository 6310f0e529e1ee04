// Reading the trophies file through the resource cache (apart, so that the list's reader needs
// nothing but the document).
#include "game/data/trophy_list.h"

#include <pugixml.hpp>

#include "engine/resources/load_error.h"
#include "engine/resources/resource_loaders.h"

bool JCTrophyList::LoadTrophies(const std::string& key) {
    pugi::xml_document* document = QRV::AcquireXmlResource(key);
    if (document == nullptr) ShowLoadErrorAndExit(key);
    const bool loaded = LoadTrophiesFrom(*document);
    QRV::ReleaseXml(document);
    return loaded;
}
