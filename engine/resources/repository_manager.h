#pragma once
// The resource registry: the main repository (top-level files of "Resources"), the named
// repositories, key lookup and the sweep that frees unreferenced objects. Not synchronised: one
// thread at a time (the loader thread during start-up, the main thread afterwards).

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/resources/repository.h"
#include "engine/resources/resource.h"

namespace QRV {

class JC_REPOSITORY_MANAGER {
public:
    JC_REPOSITORY_MANAGER() = default;
    ~JC_REPOSITORY_MANAGER();
    JC_REPOSITORY_MANAGER(const JC_REPOSITORY_MANAGER&) = delete;
    JC_REPOSITORY_MANAGER& operator=(const JC_REPOSITORY_MANAGER&) = delete;

    // Registers the top-level files of the resources folder: 0 when there are none, else 1.
    int LoadMain();
    // Registers a sub-folder or zip archive (path relative to the resources folder): true when
    // the repository is loaded afterwards.
    bool LoadNamed(const std::string& name);
    // True when the main map is empty afterwards.
    bool UnloadMain();
    bool UnloadNamed(const std::string& name);

    // "file" (main repository) or "repository file"; null when absent.
    JS_RESOURCE* GetResource(const std::string& key);
    // The record holding object: the main map first, then each repository in order.
    JS_RESOURCE* FindByObject(const void* object);
    // A loaded (not unused) repository of that name, or null.
    JC_REPOSITORY* FindRepository(const std::string& name) const;

    // Unloads unreferenced records and deletes those of unloaded repositories: records unloaded.
    int Sweep();

    // Deletes every record and repository (what Shutdown does before deleting the manager).
    void Destroy();

    std::string password;
    std::map<std::string, JS_RESOURCE*> resources;
    std::vector<JC_REPOSITORY*> repositories;
    JS_RESOURCE* lastRecord = nullptr;
    int32_t releasedCount = 0;
};

extern JC_REPOSITORY_MANAGER* g_repositoryManager;

// "" loads the main repository, any other name a named one. False without a manager or when
// nothing could be registered.
bool LoadRepository(const std::string& name);
// The same split for unloading; true.
bool UnloadRepository(const std::string& name);
// The sweep of the global manager (0 without one).
int SweepUnusedResources();

}  // namespace QRV
