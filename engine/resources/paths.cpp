#include "engine/resources/paths.h"

#include <filesystem>
#include <system_error>

#include "engine/core/callback.h"
#include "engine/resources/file_system.h"

namespace QRV {

std::string g_engineStatus = "Created with Quorvel2";

JC_PATHS* JC_PATHS::Instance() {
    static JC_PATHS* const instance = [] {
        static JC_PATHS paths;
        paths.Setup();
        return &paths;
    }();
    return instance;
}

void JC_PATHS::Setup() {
    namespace fs = std::filesystem;
    std::error_code error;
    std::string current = fs::current_path(error).generic_string();
    while (current.size() > 1 && current.back() == '/') current.pop_back();
    const std::string base = current == "/" ? std::string() : current;
    appDir = base + "/";
    resourcesDir = base + "/Resources/";

    if (!fs::exists(resourcesDir, error)) {
        if (!MakeDirectories(resourcesDir)) g_engineStatus = "Cant create \"Resources\"directory";
        CallHook(cbRepositoryLoaded);
    }

    fs::current_path(resourcesDir, error);
    workDir = resourcesDir;
}

}  // namespace QRV
