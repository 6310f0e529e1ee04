#include "game/config/save_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace Game {
namespace {

bool IsAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

// The path without trailing slashes ("/" becomes empty), so that appending "/name" never doubles
// a slash.
std::string WithoutTrailingSlashes(const char* path) {
    std::string base(path);
    while (!base.empty() && base.back() == '/') base.pop_back();
    return base;
}

// The home folder of the process's user from the password database; empty when there is none.
std::string HomeFromPasswordDatabase() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
        found->pw_dir == nullptr) {
        return std::string();
    }
    return std::string(found->pw_dir);
}

}  // namespace

std::string SaveFolderFor(const char* xdgDataHome, const char* home) {
    if (IsAbsolute(xdgDataHome)) return WithoutTrailingSlashes(xdgDataHome) + "/quorvel/";
    if (IsAbsolute(home)) return WithoutTrailingSlashes(home) + "/.local/share/quorvel/";
    return std::string();
}

std::string FindSaveFolder() {
    const char* home = std::getenv("HOME");
    std::string databaseHome;
    if (!IsAbsolute(home)) {
        databaseHome = HomeFromPasswordDatabase();
        home = databaseHome.c_str();
    }
    std::string folder = SaveFolderFor(std::getenv("XDG_DATA_HOME"), home);
    static std::atomic<bool> told{false};
    if (folder.empty() && !told.exchange(true)) {
        std::fprintf(stderr,
                     "quorvel: no save folder (neither XDG_DATA_HOME nor a home folder is an absolute path); "
                     "nothing will be saved\n");
    }
    return folder;
}

bool MakeSaveFolders(const std::string& path) {
    namespace fs = std::filesystem;
    if (path.empty()) return false;
    std::error_code error;
    fs::path built;
    for (const fs::path& part : fs::path(path)) {
        if (part.empty()) continue;  // the empty piece after a trailing "/"
        built /= part;
        if (fs::exists(built, error)) continue;
        if (!fs::create_directory(built, error)) {
            // Another process may have made it in the meantime.
            if (!fs::is_directory(built, error)) return false;
            continue;
        }
        fs::permissions(built, fs::perms::owner_all, fs::perm_options::replace, error);
        if (error) return false;
    }
    return fs::is_directory(path, error);
}

}  // namespace Game
