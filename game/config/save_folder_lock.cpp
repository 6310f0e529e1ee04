#include "game/config/save_folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "game/config/save_folder.h"

namespace Game {
namespace {

std::mutex g_lockGuard;
int g_lockFd = -1;
std::string g_lockedFolder;

void Release() {
    if (g_lockFd >= 0) ::close(g_lockFd);
    g_lockFd = -1;
    g_lockedFolder.clear();
}

// Only the holder of the folder gets here: no other copy is writing, so every temporary file of
// a safe write ("<name>.<...>.tmp") is a leftover of a run that ended mid-save.
void RemoveLeftoverTemporaries(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        std::error_code typeError;
        if (name.ends_with(".tmp") && entry->is_regular_file(typeError)) fs::remove(entry->path(), typeError);
    }
}

}  // namespace

FolderLock LockSaveFolder(const std::string& folder) {
    std::lock_guard<std::mutex> hold(g_lockGuard);
    if (g_lockFd >= 0 && g_lockedFolder == folder) return FolderLock::kTaken;
    Release();
    if (!MakeSaveFolders(folder)) {
        std::fprintf(stderr, "quorvel: the save folder %s cannot be made\n", folder.c_str());
        return FolderLock::kUnavailable;
    }
    const std::string path = folder + kSaveFolderLockFile;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        std::fprintf(stderr, "quorvel: %s cannot be opened: %s\n", path.c_str(), std::strerror(errno));
        return FolderLock::kUnavailable;
    }
    int result = 0;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) return FolderLock::kHeld;
        std::fprintf(stderr, "quorvel: %s cannot be locked: %s\n", path.c_str(), std::strerror(error));
        return FolderLock::kUnavailable;
    }
    g_lockFd = fd;
    g_lockedFolder = folder;
    RemoveLeftoverTemporaries(folder);
    return FolderLock::kTaken;
}

void UnlockSaveFolder() {
    std::lock_guard<std::mutex> hold(g_lockGuard);
    Release();
}

}  // namespace Game
