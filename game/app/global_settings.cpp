#include <pugixml.hpp>

#include "game/app/global.h"
#include "game/config/save_file.h"
#include "game/config/save_folder.h"
#include "game/config/user_settings.h"

std::string gcGlobal::GetSaveFolder() const { return Game::FindSaveFolder(); }

bool gcGlobal::LoadUserSettings() {
    userSettingsLoaded = true;
    const std::string folder = GetSaveFolder();
    if (folder.empty()) return false;
    pugi::xml_document document;
    if (Game::LoadSaveXml(folder + Game::kUserSettingsFile, document) != Game::SaveRead::kRead) return false;
    Game::CopyUserFullscreen(document.document_element(), userSettings);
    return true;
}

bool gcGlobal::SaveSettings() {
    // Until the user's file has been read, writing could replace settings not yet seen.
    if (!userSettingsLoaded) return false;
    const std::string folder = GetSaveFolder();
    if (folder.empty()) return false;
    pugi::xml_document document;
    Game::FillUserSettingsDocument(userSettings, document);
    return Game::SaveXmlFile(folder + Game::kUserSettingsFile, document);
}
