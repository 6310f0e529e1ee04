// Loading the string table by resource key, kept apart so that the table itself (and its fuzz
// target) does not depend on the resource cache.
#include <pugixml.hpp>

#include "engine/resources/resource_loaders.h"
#include "engine/resources/string_table.h"

namespace QRV {

bool JC_STRING_TABLE::LoadFromResource(const std::string& key) {
    pugi::xml_document* document = AcquireXmlResource(key);
    if (document == nullptr) {
        Clear();
        return false;
    }
    Load(*document);
    ReleaseXml(document);
    return true;
}

}  // namespace QRV
