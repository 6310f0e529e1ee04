#pragma once
// One running copy of the game per save folder: the copy that starts first holds an advisory lock
// on the file "running.lock" in the folder for as long as it runs. The kernel drops the lock when
// the holder ends in any way, a kill included, so a copy that died never keeps the next one out.

#include <string>

namespace Game {

// The lock file in the save folder.
inline constexpr const char* kSaveFolderLockFile = "running.lock";

enum class FolderLock {
    kTaken,       // this process holds the folder (taken now or earlier in the run)
    kHeld,        // another running process holds it
    kUnavailable  // the lock cannot be had (no folder, a read-only one, no lock support)
};

// Makes the folder (path ends with "/") when missing and takes its lock without waiting. Once
// taken, the lock stays for the rest of the process; taking another folder's lets the earlier go.
// When taken, temporary files left in the folder by interrupted saves are removed. A reason for
// kUnavailable is said on stderr.
FolderLock LockSaveFolder(const std::string& folder);

// Lets the lock go (tests only: a run keeps it to its end).
void UnlockSaveFolder();

}  // namespace Game
