#include "game/data/packs.h"

#include <vector>

#include "engine/resources/file_system.h"
#include "engine/resources/paths.h"

namespace {

// The kind a folder name gives, or -1 for a folder that is no pack.
int32_t KindOfFolder(const std::string& folder) {
    if (folder.starts_with("tutorial")) return kPackTutorial;
    if (folder.starts_with("pack")) return kPackOrdinary;
    return -1;
}

}  // namespace

JCPacks::JCPacks() {
    packsByKind[kPackOrdinary];
    packsByKind[kPackTutorial];
}

JCPacks::~JCPacks() { DeletePacks(); }

void JCPacks::DeletePacks() {
    for (auto& [kind, list] : packsByKind) {
        for (JCPack* pack : list) delete pack;
        list.clear();
    }
    currentPack = nullptr;
}

bool JCPacks::Scan(const std::string& descriptionFile) {
    if (loaded) return true;
    std::vector<std::string> folders;
    QRV::ListDirectory(QRV::JC_PATHS::Instance()->resourcesDir, folders, QRV::kListDirectories, "*");
    for (const std::string& folder : folders) {
        const int32_t kind = KindOfFolder(folder);
        if (kind < 0) continue;
        PackList& list = packsByKind[kind];
        auto* pack = new JCPack();
        list.push_back(pack);
        pack->Load(folder, kind, descriptionFile, stringTable);
        pack->properties.SetInt("number", static_cast<int32_t>(list.size()));
    }
    loaded = true;
    return true;
}

bool JCPacks::Unload() {
    if (!loaded) return false;
    for (auto& [kind, list] : packsByKind) {
        for (JCPack* pack : list) pack->Unload();
    }
    DeletePacks();
    packsByKind.clear();
    loaded = false;
    return true;
}

const JCPacks::PackList& JCPacks::GetKindList(int32_t kind) const {
    static const PackList kNone;
    const auto found = packsByKind.find(kind);
    return found != packsByKind.end() ? found->second : kNone;
}

JCPack* JCPacks::FindPack(const std::string& name, int32_t kind) const {
    for (JCPack* pack : GetKindList(kind)) {
        if (pack->GetName() == name) return pack;
    }
    return nullptr;
}

JCPack* JCPacks::LookupPack(const std::string& name, int32_t kind) {
    packsByKind[kind];
    return FindPack(name, kind);
}

void JCPacks::SelectPack(const std::string& name) {
    int32_t kind = kPackOrdinary;
    if (FindPack(name, kPackOrdinary) == nullptr && FindPack(name, kPackTutorial) != nullptr) kind = kPackTutorial;
    currentPack = LookupPack(name, kind);
}

void JCPacks::SelectLevel(const std::string& levelName) {
    SelectPack(levelName.substr(0, levelName.find('.')));
    if (currentPack != nullptr) currentPack->SetSelectedLevel(currentPack->FindLevel(levelName));
}

bool JCPacks::HasNextPack() const {
    if (currentPack == nullptr) return false;
    const PackList& list = GetKindList(currentPack->GetKind());
    const std::string name = currentPack->GetName();
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i]->GetName() == name) return i + 1 < list.size();
    }
    return false;
}

JCPack* JCPacks::GetNextPack() const {
    if (currentPack == nullptr) return JCPack::Default();
    const PackList& list = GetKindList(currentPack->GetKind());
    const std::string name = currentPack->GetName();
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i]->GetName() == name) return i + 1 < list.size() ? list[i + 1] : JCPack::Default();
    }
    return JCPack::Default();
}

uint32_t JCPacks::GetStarsAll() const {
    uint32_t sum = 0;
    for (const JCPack* pack : GetKindList(kPackOrdinary)) sum += pack->GetStars();
    return sum;
}

uint32_t JCPacks::CountPerfectLevelsAll() const {
    uint32_t sum = 0;
    for (const JCPack* pack : GetKindList(kPackOrdinary)) sum += pack->CountPerfectLevels();
    return sum;
}
