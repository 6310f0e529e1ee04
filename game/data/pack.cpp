#include "game/data/pack.h"

#include <pugixml.hpp>

#include <filesystem>
#include <system_error>
#include <vector>

#include "engine/resources/file_system.h"
#include "engine/resources/load_error.h"
#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"
#include "engine/resources/resource_loaders.h"

namespace {

// The resource's document, or the load-error stop naming the key.
pugi::xml_document* AcquireRequiredXml(const std::string& key) {
    pugi::xml_document* document = QRV::AcquireXmlResource(key);
    if (document == nullptr) ShowLoadErrorAndExit(key);
    return document;
}

bool IsDirectory(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

bool IsRegularFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

JCPack::JCPack() { SetDefaults(); }

JCPack* JCPack::Default() {
    static JCPack shared;
    return &shared;
}

void JCPack::SetDefaults() {
    properties.SetString("name", "empty");
    properties.SetBool("is_open", 0);
    properties.SetBool("is_lock", 0);
    properties.SetString("inapp", "");
    properties.SetInt("price", 0);
    properties.SetUInt("condition_to_pass", 0);
    properties.SetInt("number", 0);
    describedLock = properties.Find("is_lock")->text;
}

void JCPack::Load(const std::string& folderName, int32_t packKind, const std::string& descriptionFile,
                  const QRV::JC_STRING_TABLE* table) {
    kind = packKind;
    folder = folderName;
    QRV::LoadRepository(folder);
    QRV::LoadRepository(folder + "/main");
    QRV::LoadRepository(folder + "/image");

    pugi::xml_document* description = AcquireRequiredXml(folder + "/main " + descriptionFile);
    JCPagesItem::Load(description->document_element(), table);
    QRV::ReleaseXml(description);
    // Level names, records and repositories all hang on the folder name: a description cannot
    // rename the pack.
    properties.SetString("name", folder);
    describedLock = properties.Find("is_lock")->text;

    pugi::xml_document* grid = AcquireRequiredXml(folder + "/main pages.xml");
    pages.stringTable = table;
    pages.Load(grid->document_element(), table);
    QRV::ReleaseXml(grid);

    MatchLevelFiles();
}

void JCPack::MatchLevelFiles() {
    const std::string& resources = QRV::JC_PATHS::Instance()->resourcesDir;
    std::vector<std::string> files;
    QRV::ListDirectory(resources + folder, files, QRV::kListFiles, "*");
    for (size_t i = 0; i < pages.items.size(); ++i) {
        JCLevel* level = pages.LevelAt(i);
        if (JCLevel::IsDefault(level)) continue;
        // An item that names its file ("file") takes that one, which must be there: a missing file
        // would otherwise move every later level, and its saved progress, one place on. An item
        // without one takes the file at its place, as far as there are files.
        std::string file;
        const JSProperty* named = level->properties.Find("file");
        if (named != nullptr && !named->text.empty()) {
            file = named->text;
            if (!IsRegularFile(resources + folder + "/" + file)) ShowLoadErrorAndExit(folder + " " + file);
        } else if (i < files.size()) {
            file = files[i];
        } else {
            continue;
        }
        const std::string base = file.substr(0, file.find('.'));
        level->properties.SetString("name", folder + "." + base);
        level->properties.SetString("path", folder + " " + file);
        level->properties.SetUInt("number", static_cast<uint32_t>(i + 1));
        level->properties.SetBool("is_open", kind != kPackOrdinary ? 1 : 0);
        const std::string tutorial = folder + "/tutorial/" + base;
        if (IsDirectory(resources + tutorial)) level->SetTutorialFolder(tutorial);
    }
}

void JCPack::Unload() {
    for (size_t i = 0; i < pages.items.size(); ++i) {
        JCLevel* level = pages.LevelAt(i);
        if (!JCLevel::IsDefault(level)) level->Unload();
    }
    if (folder.empty()) return;
    QRV::UnloadRepository(folder + "/main");
    QRV::UnloadRepository(folder + "/image");
    QRV::UnloadRepository(folder);
}

const JSProperty* JCPack::Lookup(const std::string& key) const {
    const size_t dot = key.rfind('.');
    if (dot == std::string::npos) return properties.Find(key);
    const JCLevel* level = FindLevel(key.substr(0, dot));
    if (JCLevel::IsDefault(level)) return nullptr;
    return level->properties.Find(key.substr(dot + 1));
}

JSProperty* JCPack::GetProperty(const std::string& key) { return const_cast<JSProperty*>(Lookup(key)); }

const JSProperty* JCPack::GetProperty(const std::string& key) const { return Lookup(key); }

JCLevel* JCPack::FindLevel(const std::string& name) const {
    for (size_t i = 0; i < pages.items.size(); ++i) {
        JCLevel* level = pages.LevelAt(i);
        if (!JCLevel::IsDefault(level) && level->GetName() == name) return level;
    }
    return JCLevel::Default();
}

JCLevel* JCPack::GetFirstLevel() const { return pages.LevelAt(0); }

JCLevel* JCPack::GetNextLevel() const {
    if (selectedLevel == nullptr || JCLevel::IsDefault(selectedLevel)) return JCLevel::Default();
    const JSProperty* number = selectedLevel->properties.Find("number");
    // "number" is 1-based: the item at that index is the one after the selected level.
    return number != nullptr ? pages.LevelAt(number->uintValue) : JCLevel::Default();
}

uint32_t JCPack::GetStars() const {
    uint32_t sum = 0;
    for (size_t i = 0; i < pages.items.size(); ++i) sum += LevelStars(*pages.items[i]);
    return sum;
}

uint32_t JCPack::CountPerfectLevels() const {
    uint32_t count = 0;
    for (size_t i = 0; i < pages.items.size(); ++i) count += LevelStars(*pages.items[i]) == kLevelMostStars ? 1 : 0;
    return count;
}

float JCPack::GetPassedFraction() const {
    if (pages.items.empty()) return 0.0f;
    uint32_t passed = 0;
    for (size_t i = 0; i < pages.items.size(); ++i) passed += LevelStars(*pages.items[i]) != 0 ? 1 : 0;
    return static_cast<float>(passed) / static_cast<float>(pages.items.size());
}

bool JCPack::TryOpen(uint32_t stars) {
    if (IsDefault(this)) return false;
    const JSProperty* condition = properties.Find("condition_to_pass");
    if (condition != nullptr && stars < condition->uintValue) return false;
    properties.SetBool("is_open", 1);
    JCLevel* first = GetFirstLevel();
    if (!JCLevel::IsDefault(first)) first->properties.SetBool("is_open", 1);
    return true;
}

std::string JCPack::GetName() const {
    const JSProperty* name = properties.Find("name");
    return name != nullptr ? name->text : std::string();
}
