// Loading the string table by resource key, kept apart so that the table itself (and its fuzz
// target) does not depend on the resource cache.
#include <cstdio>
#include <pugixml.hpp>

#include "engine/resources/repository_manager.h"
#include "engine/resources/resource_loaders.h"
#include "engine/resources/string_table.h"

namespace QRV {

bool JC_STRING_TABLE::LoadFromResource(const std::string& key) {
    // The table says on one line which file failed and why.
    pugi::xml_document* document = AcquireXmlResource(key, UnreadableReport::kCallerReports);
    std::string error;
    if (document == nullptr) {
        const bool listed = g_repositoryManager != nullptr && g_repositoryManager->GetResource(key) != nullptr;
        error = listed ? "not a well-formed XML document" : "no such resource";
    }
    const bool loaded = document != nullptr && Load(*document, &error);
    if (document != nullptr) ReleaseXml(document);
    if (!loaded) {
        Clear();
        std::fprintf(stderr, "String table %s: %s\n", key.c_str(), error.c_str());
    }
    return loaded;
}

}  // namespace QRV
