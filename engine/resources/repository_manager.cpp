#include "engine/resources/repository_manager.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "engine/core/callback.h"
#include "engine/resources/file_system.h"
#include "engine/resources/paths.h"
#include "engine/resources/zip_reader.h"

namespace QRV {

JC_REPOSITORY_MANAGER* g_repositoryManager = nullptr;

namespace {

// Splits at blanks, skipping empty parts; stops counting once there are more than two.
size_t SplitKey(const std::string& key, std::string parts[2]) {
    size_t count = 0;
    size_t pos = 0;
    while (pos < key.size()) {
        const size_t start = key.find_first_not_of(' ', pos);
        if (start == std::string::npos) break;
        const size_t end = std::min(key.find(' ', start), key.size());
        if (count < 2) parts[count] = key.substr(start, end - start);
        if (++count > 2) break;
        pos = end;
    }
    return count;
}

JS_RESOURCE* FindIn(const std::map<std::string, JS_RESOURCE*>& map, const std::string& name) {
    const auto it = map.find(name);
    return it == map.end() ? nullptr : it->second;
}

}  // namespace

JC_REPOSITORY_MANAGER::~JC_REPOSITORY_MANAGER() { Destroy(); }

int JC_REPOSITORY_MANAGER::LoadMain() {
    std::vector<std::string> names;
    ListFiles(JC_PATHS::Instance()->resourcesDir, names);
    if (names.empty()) return 0;
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        JS_RESOURCE*& slot = resources[*it];
        if (slot == nullptr) slot = new JS_RESOURCE(*it, "", "");
    }
    // Loading the main repository again keeps its records.
    for (auto& entry : resources) entry.second->removePending = 0;
    if (resources.empty()) g_engineStatus = "Main repository is empty";
    CallHook(cbRepositoryLoaded);
    return 1;
}

bool JC_REPOSITORY_MANAGER::LoadNamed(const std::string& name) {
    namespace fs = std::filesystem;
    const std::string fullPath = JC_PATHS::Instance()->resourcesDir + name;
    std::error_code error;
    const fs::file_status status = fs::status(fullPath, error);
    std::vector<std::string> names;
    if (fs::is_regular_file(status)) {
        if (IsZipFile(fullPath)) ListZipMembers(fullPath, names);
    } else if (fs::is_directory(status)) {
        ListFiles(fullPath, names);
    }
    if (names.empty()) return false;

    JC_REPOSITORY* repository = nullptr;
    for (JC_REPOSITORY* candidate : repositories) {
        if (candidate->name == name) repository = candidate;
    }
    if (repository == nullptr) {
        repository = new JC_REPOSITORY(name, password);
        repositories.push_back(repository);
    }
    // A repository loaded again after an unload lives on with the records it still has, so
    // references into it stay valid and the sweep must no longer delete them.
    repository->unused = 0;
    for (auto& entry : repository->resources) entry.second->removePending = 0;
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        JS_RESOURCE*& slot = repository->resources[*it];
        if (slot == nullptr) slot = new JS_RESOURCE(*it, name, password);
    }
    return true;
}

bool JC_REPOSITORY_MANAGER::UnloadMain() {
    for (auto it = resources.begin(); it != resources.end();) {
        JS_RESOURCE* record = it->second;
        record->removePending = 1;
        if (record->loaded == 0) {
            if (lastRecord == record) lastRecord = nullptr;
            delete record;
            it = resources.erase(it);
        } else {
            ++it;
        }
    }
    return resources.empty();
}

bool JC_REPOSITORY_MANAGER::UnloadNamed(const std::string& name) {
    const auto it = std::find_if(repositories.begin(), repositories.end(),
                                 [&](const JC_REPOSITORY* repository) { return repository->name == name; });
    if (it == repositories.end()) return true;
    JC_REPOSITORY* repository = *it;
    repository->unused = 1;
    bool anyLoaded = false;
    for (auto& entry : repository->resources) {
        entry.second->removePending = 1;
        if (entry.second->loaded != 0) anyLoaded = true;
    }
    if (anyLoaded) return true;
    for (auto& entry : repository->resources) {
        if (lastRecord == entry.second) lastRecord = nullptr;
    }
    delete repository;
    repositories.erase(it);
    return true;
}

JC_REPOSITORY* JC_REPOSITORY_MANAGER::FindRepository(const std::string& name) const {
    for (JC_REPOSITORY* repository : repositories) {
        if (repository->unused == 0 && repository->name == name) return repository;
    }
    return nullptr;
}

JS_RESOURCE* JC_REPOSITORY_MANAGER::GetResource(const std::string& key) {
    std::string parts[2];
    JS_RESOURCE* record = nullptr;
    switch (SplitKey(key, parts)) {
        case 1: record = FindIn(resources, parts[0]); break;
        case 2:
            // An unloaded repository counts as absent: the whole key goes to the main map.
            if (JC_REPOSITORY* repository = FindRepository(parts[0])) {
                record = repository->Find(parts[1]);
            } else {
                record = FindIn(resources, key);
            }
            break;
        default: return nullptr;
    }
    if (record != nullptr) lastRecord = record;
    return record;
}

JS_RESOURCE* JC_REPOSITORY_MANAGER::FindByObject(const void* object) {
    if (object == nullptr) return nullptr;
    for (auto& entry : resources) {
        if (entry.second->object == object) {
            lastRecord = entry.second;
            return entry.second;
        }
    }
    for (JC_REPOSITORY* repository : repositories) {
        for (auto& entry : repository->resources) {
            if (entry.second->object == object) return entry.second;
        }
    }
    return nullptr;
}

int JC_REPOSITORY_MANAGER::Sweep() {
    int unloaded = 0;
    // Unloads an unreferenced record; counts it when it held an object.
    auto unload = [&unloaded](JS_RESOURCE* record) {
        if (record->refCount > 0) return;
        const bool wasLoaded = record->loaded != 0;
        if (record->Unload() && wasLoaded) ++unloaded;
    };
    // Deletes the records of an unloaded repository (or main map) that nothing holds any more.
    auto deletePending = [this](std::map<std::string, JS_RESOURCE*>& map) {
        for (auto it = map.begin(); it != map.end();) {
            JS_RESOURCE* record = it->second;
            if (record->removePending != 0 && record->loaded == 0) {
                if (lastRecord == record) lastRecord = nullptr;
                delete record;
                it = map.erase(it);
            } else {
                ++it;
            }
        }
    };

    for (size_t i = 0; i < repositories.size();) {
        JC_REPOSITORY* repository = repositories[i];
        for (auto& entry : repository->resources) unload(entry.second);
        if (repository->unused != 0) {
            deletePending(repository->resources);
            if (repository->resources.empty()) {
                delete repository;
                repositories.erase(repositories.begin() + static_cast<std::ptrdiff_t>(i));
                continue;
            }
        }
        ++i;
    }

    for (auto& entry : resources) unload(entry.second);
    deletePending(resources);
    return unloaded;
}

void JC_REPOSITORY_MANAGER::Destroy() {
    for (auto& entry : resources) delete entry.second;
    resources.clear();
    for (JC_REPOSITORY* repository : repositories) delete repository;
    repositories.clear();
    lastRecord = nullptr;
}

bool LoadRepository(const std::string& name) {
    if (g_repositoryManager == nullptr) return false;
    if (name.empty()) return g_repositoryManager->LoadMain() == 1;
    return g_repositoryManager->LoadNamed(name);
}

bool UnloadRepository(const std::string& name) {
    if (g_repositoryManager == nullptr) return true;
    if (name.empty()) {
        g_repositoryManager->UnloadMain();
    } else {
        g_repositoryManager->UnloadNamed(name);
    }
    return true;
}

int SweepUnusedResources() { return g_repositoryManager == nullptr ? 0 : g_repositoryManager->Sweep(); }

}  // namespace QRV
