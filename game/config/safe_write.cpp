#include "game/config/safe_write.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#include "game/config/save_folder.h"
#include "game/config/unreadable_file.h"

namespace Game {
namespace {

bool Fail(const std::string& path, const char* step, const std::error_code& error) {
    std::fprintf(stderr, "quorvel: could not save %s: %s%s%s\n", path.c_str(), step, error ? ": " : "",
                 error ? error.message().c_str() : "");
    return false;
}

std::error_code LastError() { return std::error_code(errno, std::generic_category()); }

// Makes the rename itself durable. File systems that cannot sync a folder say EINVAL: nothing
// more can be done there, and it is not a failure of the save.
bool SyncFolder(const std::string& folder, std::error_code& error) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = LastError();
        return false;
    }
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    if (!synced) error = LastError();
    ::close(fd);
    return synced;
}

// How often a fresh temporary name is tried when the one drawn exists already.
constexpr int kTemporaryNameTries = 16;

// A name beside path that no other write, in this process or another, uses at the same time: the
// process id, a counter of this process and random bits. The file is created with O_EXCL, so even
// a name that another writer did draw is never shared.
std::string TemporaryName(const std::string& path) {
    static std::atomic<uint64_t> counter{0};
    thread_local std::mt19937_64 random{std::random_device{}()};
    char suffix[96];
    std::snprintf(suffix, sizeof(suffix), ".%ld.%llu.%016llx.tmp", static_cast<long>(::getpid()),
                  static_cast<unsigned long long>(counter.fetch_add(1)), static_cast<unsigned long long>(random()));
    return path + suffix;
}

// Opens a new temporary file for path; -1 with errno set when none can be made.
int OpenTemporary(const std::string& path, std::string& temporary) {
    for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
        temporary = TemporaryName(path);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}


bool SafeWriteFile(const std::string& path, std::string_view bytes) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    if (!target.is_absolute() || !target.has_filename()) return Fail(path, "not the path of a file in a folder", {});
    if (IsWriteRefused(path)) return Fail(path, "the unreadable file there could not be moved aside", {});
    const std::string folder = target.parent_path().string();
    if (!MakeSaveFolders(folder)) return Fail(path, "its folder cannot be made", {});

    std::string temporary;
    const int fd = OpenTemporary(path, temporary);
    if (fd < 0) return Fail(path, "the temporary file cannot be opened", LastError());
    const char* step = nullptr;
    std::error_code error;
    if (!WriteAll(fd, bytes)) step = "writing";
    else if (::fsync(fd) != 0) step = "syncing";
    if (step != nullptr) error = LastError();
    if (::close(fd) != 0 && step == nullptr) {
        step = "closing";
        error = LastError();
    }
    if (step == nullptr) {
        fs::rename(temporary, target, error);
        if (error) step = "renaming";
    }
    if (step != nullptr) {
        ::unlink(temporary.c_str());
        return Fail(path, step, error);
    }
    if (!SyncFolder(folder, error)) return Fail(path, "syncing the folder after the rename", error);
    return true;
}

}  // namespace Game
