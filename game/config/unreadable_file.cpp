#include "game/config/unreadable_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <set>
#include <system_error>

#include "game/config/safe_write.h"

namespace Game {
namespace {

// Enough for any real history of broken files; past it the file is treated as unmovable.
constexpr int kMaxBadCopies = 10000;

std::mutex g_refusedLock;
std::set<std::string>& Refused() {
    static std::set<std::string> refused;
    return refused;
}
std::vector<SetAsideFile>& SetAside() {
    static std::vector<SetAsideFile> setAside;
    return setAside;
}

std::string BadName(const std::string& path, int n) {
    return path + ".bad" + (n == 0 ? std::string() : "." + std::to_string(n));
}

void Refuse(const std::string& path) {
    std::lock_guard<std::mutex> hold(g_refusedLock);
    Refused().insert(path);
}

// The bytes as a new file at copy (never replacing one); false, with nothing left there, when it
// cannot be made whole. EEXIST in error means the name is taken.
bool WriteNewFile(const std::string& copy, std::string_view bytes, std::error_code& error) {
    const int fd = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        error = std::error_code(errno, std::generic_category());
        return false;
    }
    bool whole = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (!whole) error = std::error_code(errno, std::generic_category());
    if (::close(fd) != 0 && whole) {
        whole = false;
        error = std::error_code(errno, std::generic_category());
    }
    if (!whole) ::unlink(copy.c_str());
    return whole;
}

}  // namespace

std::string SetAsideUnreadable(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    std::string keptAs;
    for (int n = 0; n <= kMaxBadCopies; ++n) {
        const std::string bad = BadName(path, n);
        const fs::file_type type = fs::symlink_status(bad, error).type();
        if (type == fs::file_type::none) break;  // the name cannot be checked
        if (type != fs::file_type::not_found) continue;
        error.clear();
        fs::rename(path, bad, error);
        if (!error) keptAs = bad;
        break;
    }
    if (!keptAs.empty()) {
        std::fprintf(stderr, "quorvel: %s could not be read; it was moved to %s\n", path.c_str(), keptAs.c_str());
    } else {
        std::fprintf(stderr,
                     "quorvel: %s could not be read, nor moved aside (%s); it will not be written during this run\n",
                     path.c_str(), error ? error.message().c_str() : "no free name");
    }
    std::lock_guard<std::mutex> hold(g_refusedLock);
    if (keptAs.empty()) Refused().insert(path);
    SetAside().push_back({path, keptAs});
    return keptAs;
}

std::string KeepCopyOfPartlyRead(const std::string& path, std::string_view bytes) {
    std::error_code error;
    for (int n = 0; n <= kMaxBadCopies; ++n) {
        const std::string copy = BadName(path, n);
        error.clear();
        if (WriteNewFile(copy, bytes, error)) {
            std::fprintf(stderr, "quorvel: %s was read only in part; a copy of it is kept as %s\n", path.c_str(),
                         copy.c_str());
            return copy;
        }
        if (error != std::errc::file_exists) break;
    }
    std::fprintf(stderr,
                 "quorvel: %s was read only in part, and no copy of it can be kept (%s); it will not be written "
                 "during this run\n",
                 path.c_str(), error ? error.message().c_str() : "no free name");
    Refuse(path);
    return std::string();
}

bool IsWriteRefused(const std::string& path) {
    std::lock_guard<std::mutex> hold(g_refusedLock);
    return Refused().count(path) != 0;
}

std::vector<SetAsideFile> TakeSetAsideFiles() {
    std::lock_guard<std::mutex> hold(g_refusedLock);
    std::vector<SetAsideFile> taken;
    taken.swap(SetAside());
    return taken;
}

void ForgetRefusedWrites() {
    std::lock_guard<std::mutex> hold(g_refusedLock);
    Refused().clear();
    SetAside().clear();
}

}  // namespace Game
