// Reading the store file through the resource cache (apart, so that the catalogue's reader needs
// nothing but the document).
#include "game/data/store_catalogue.h"

#include <pugixml.hpp>

#include "engine/resources/load_error.h"
#include "engine/resources/resource_loaders.h"

bool JCStoreCatalogue::LoadFromFile(const std::string& key) {
    pugi::xml_document* document = QRV::AcquireXmlResource(key);
    if (document == nullptr) ShowLoadErrorAndExit(key);
    const bool loaded = LoadStoreItems(document->document_element());
    QRV::ReleaseXml(document);
    return loaded;
}
