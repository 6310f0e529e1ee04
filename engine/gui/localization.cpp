#include "engine/gui/localization.h"

#include <filesystem>

#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"
#include "engine/resources/resource_loaders.h"

using namespace QRV;

namespace {

constexpr const char* kStrings = "strings.xml";

}  // namespace

JCLocalization::~JCLocalization() { Unload(); }

pugi::xml_document* JCLocalization::SetLanguage(const std::string& requested) {
    const std::string language = requested.empty() ? defaultLanguage : requested;
    if (language != currentLanguage || strings == nullptr) {
        // A language already current keeps its folder; only a missing table is fetched again.
        if (language != currentLanguage) {
            Unload();
            if (!TryLanguage(language) && !TryLanguage(defaultLanguage)) TryLanguage(fallbackLanguage);
        }
        if (strings == nullptr && !currentLanguage.empty()) {
            strings = AcquireXmlResource(baseFolder + currentLanguage + " " + kStrings);
        }
        if (strings == nullptr) strings = AcquireXmlResource(kStrings);
    }
    return strings;
}

bool JCLocalization::TryLanguage(const std::string& language) {
    if (language.empty() || g_repositoryManager == nullptr) return false;
    const std::string folder = baseFolder + language;
    std::error_code error;
    if (!std::filesystem::exists(JC_PATHS::Instance()->resourcesDir + folder, error)) return false;
    if (!LoadRepository(folder)) return false;
    // A folder without a table (an empty one, a stray file) leaves the next choice its chance.
    if (g_repositoryManager->GetResource(folder + " " + kStrings) == nullptr) {
        UnloadRepository(folder);
        return false;
    }
    currentLanguage = language;
    return true;
}

void JCLocalization::Unload() {
    if (strings != nullptr) ReleaseXml(strings);
    strings = nullptr;
    if (currentLanguage.empty()) return;
    SweepUnusedResources();
    UnloadRepository(baseFolder + currentLanguage);
    currentLanguage.clear();
}
