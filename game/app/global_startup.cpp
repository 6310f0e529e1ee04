#include <pugixml.hpp>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/app/app_context.h"
#include "engine/graphics/sprite.h"
#include "engine/resources/file_system.h"
#include "engine/resources/load_error.h"
#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"
#include "engine/resources/resource_loaders.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/app/global.h"
#include "game/config/edition_select.h"

namespace {

constexpr const char* kSettingsKey = "game.xml";
constexpr const char* kEditionsKey = "data/share/main/other editions.xml";
constexpr const char* kShareFolder = "data/share";
constexpr const char* kBorderKey = "data data.xml";
// Texture addressing that repeats in both directions: the border sprites tile their textures.
constexpr uint32_t kRepeatBoth = 0x18000;
// The language a platform reports; the desktop has none.
constexpr const char* kPlatformLocale = "no locale";

// The XML resource of the key, or the load-error stop naming what was asked for.
pugi::xml_document* AcquireRequired(const std::string& key, const std::string& shownName) {
    pugi::xml_document* document = QRV::AcquireXmlResource(key);
    if (document == nullptr) ShowLoadErrorAndExit(shownName, key);
    return document;
}

// Every folder below folder, at any depth, parents before their children, each level by name.
void ListFoldersBelow(const std::string& folder, std::vector<std::string>& out) {
    std::vector<std::string> names;
    QRV::ListDirectory(QRV::JC_PATHS::Instance()->resourcesDir + folder, names, QRV::kListDirectories, "*");
    for (const std::string& name : names) {
        // Its own copy: the recursion grows out, which may move every string held there.
        const std::string child = folder + "/" + name;
        out.push_back(child);
        ListFoldersBelow(child, out);
    }
}

}  // namespace

bool gcGlobal::Startup() {
    InstallEngineTrace();
    QRV::g_app->stretch = 1;
    LoadRepositories();

    pugi::xml_document* settings = AcquireRequired(kSettingsKey, kSettingsKey);
    userSettings.Load(settings->document_element());
    QRV::ReleaseXml(settings);

    if (!LoadEdition()) {
        std::fprintf(stderr, "quorvel: no edition of type \"%s\" in \"%s\"\n", UserText("edition").c_str(),
                     kEditionsKey);
        return false;
    }
    if (GetPlatformLetter() != 0) {
        // The platform's language only where the game has a folder for it.
        std::error_code error;
        if (std::filesystem::is_directory(QRV::JC_PATHS::Instance()->resourcesDir + "data/" + kPlatformLocale, error))
            userSettings.SetString("lang", kPlatformLocale);
    }
    if (!LoadLanguage()) ShowLoadErrorAndExit("strings.xml");
    if (!LoadBorderSprites()) {
        std::fprintf(stderr, "quorvel: the border art \"%s\" cannot be loaded\n", kBorderKey);
        return false;
    }
    LoadUserSettings();
    ApplyDisplayMode();
    context->game = std::make_unique<gcGame>(*this);
    return true;
}

void gcGlobal::LoadRepositories() {
    QRV::LoadRepository("");
    QRV::LoadRepository("data");
    std::vector<std::string> folders;
    ListFoldersBelow(kShareFolder, folders);
    for (const std::string& folder : folders) {
        // A folder that holds only folders is no repository, but its sub-folders are.
        if (QRV::LoadRepository(folder)) shareRepositories.push_back(folder);
    }
}

bool gcGlobal::LoadEdition() {
    pugi::xml_document* editions = AcquireRequired(kEditionsKey, kEditionsKey);
    const bool found = Game::SelectEdition(editions->document_element(), UserText("edition"), editionConfig);
    QRV::ReleaseXml(editions);

    pugi::xml_document* gameplay = AcquireRequired(EditionText("gameplay"), "edition.gameplay");
    gameplayConfig.Load(gameplay->document_element());
    QRV::ReleaseXml(gameplay);
    return found;
}

bool gcGlobal::LoadLanguage() {
    if (context == nullptr) return false;
    JCLocalization& localization = context->localization;
    localization.Unload();
    localization.baseFolder = "data/";
    localization.defaultLanguage = UserText("lang");
    localization.fallbackLanguage = localization.defaultLanguage;
    const pugi::xml_document* strings = localization.SetLanguage("");
    return strings != nullptr && context->stringTable.Load(*strings);
}

bool gcGlobal::LoadBorderSprites() {
    ReleaseBorderSprites();
    pugi::xml_document* document = QRV::AcquireXmlResource(kBorderKey);
    if (document == nullptr) return false;
    const pugi::xml_node ear = document->document_element().child("ear");
    borderTile = std::make_unique<QRV::G_SPRITE>(ear.child("ear_tile"));
    borderLine = std::make_unique<QRV::G_SPRITE>(ear.child("ear_line"));
    QRV::ReleaseXml(document);
    for (QRV::G_SPRITE* sprite : {borderTile.get(), borderLine.get()}) {
        sprite->renderState |= kRepeatBoth;
        sprite->RestoreResources();
    }
    return true;
}

void gcGlobal::ReleaseBorderSprites() {
    for (QRV::G_SPRITE* sprite : {borderTile.get(), borderLine.get()}) {
        if (sprite != nullptr) sprite->ReleaseResources();
    }
    borderTile.reset();
    borderLine.reset();
}
