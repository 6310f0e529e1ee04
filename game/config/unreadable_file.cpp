#include "game/config/unreadable_file.h"

#include <cstdio>
#include <filesystem>
#include <mutex>
#include <set>
#include <system_error>

namespace Game {
namespace {

// Enough for any real history of broken files; past it the file is treated as unmovable.
constexpr int kMaxBadCopies = 10000;

std::mutex g_refusedLock;
std::set<std::string>& Refused() {
    static std::set<std::string> refused;
    return refused;
}

}  // namespace

std::string SetAsideUnreadable(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (int n = 0; n <= kMaxBadCopies; ++n) {
        const std::string bad = path + ".bad" + (n == 0 ? std::string() : "." + std::to_string(n));
        const fs::file_type type = fs::symlink_status(bad, error).type();
        if (type == fs::file_type::none) break;  // the name cannot be checked
        if (type != fs::file_type::not_found) continue;
        error.clear();
        fs::rename(path, bad, error);
        if (error) break;
        std::fprintf(stderr, "quorvel: %s could not be read; it was moved to %s\n", path.c_str(), bad.c_str());
        return bad;
    }
    std::fprintf(stderr,
                 "quorvel: %s could not be read, nor moved aside (%s); it will not be written during this run\n",
                 path.c_str(), error ? error.message().c_str() : "no free name");
    std::lock_guard<std::mutex> hold(g_refusedLock);
    Refused().insert(path);
    return std::string();
}

bool IsWriteRefused(const std::string& path) {
    std::lock_guard<std::mutex> hold(g_refusedLock);
    return Refused().count(path) != 0;
}

void ForgetRefusedWrites() {
    std::lock_guard<std::mutex> hold(g_refusedLock);
    Refused().clear();
}

}  // namespace Game
