#include "game/data/level.h"

#include <algorithm>

#include "engine/resources/file_system.h"
#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"

JCLevel::JCLevel() { SetDefaults(); }

JCLevel::JCLevel(const pugi::xml_node& element, int32_t index, const QRV::JC_STRING_TABLE* table)
    : JCPagesItem(element, index, table) {
    SetDefaults();
}

JCLevel* JCLevel::Default() {
    static JCLevel shared;
    return &shared;
}

void JCLevel::SetDefaults() {
    properties.SetString("name", "empty");
    properties.SetString("path", "");
    properties.SetBool("is_open", 0);
    properties.SetInt("score", 0);
    properties.SetInt("stars", 0);
    properties.SetUInt("number", 0);
    properties.SetFloat("time", kLevelNoTime);
    properties.SetInt("play_count", 0);
}

void JCLevel::Unload() {
    if (!tutorialFolder.empty()) QRV::UnloadRepository(tutorialFolder);
}

void JCLevel::SetTutorialFolder(const std::string& folder) {
    std::vector<std::string> files;
    QRV::ListFiles(QRV::JC_PATHS::Instance()->resourcesDir + folder, files);
    for (const std::string& file : files) tutorialKeys.insert(folder + " " + file);
    QRV::LoadRepository(folder);
    tutorialFolder = folder;
}

std::string JCLevel::GetName() const {
    const JSProperty* name = properties.Find("name");
    return name != nullptr ? name->text : std::string();
}

uint32_t LevelStars(const JCPagesItem& level) {
    const JSProperty* stars = level.GetProperty("stars");
    if (stars == nullptr || stars->intValue <= 0) return 0;
    return std::min(static_cast<uint32_t>(stars->intValue), kLevelMostStars);
}
