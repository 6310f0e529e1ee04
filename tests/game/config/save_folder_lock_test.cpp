#include "game/config/save_folder_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "tests/test_kit/temp_folder.h"

namespace {

namespace fs = std::filesystem;

// A child process that takes the folder and keeps it until it is killed.
class SaveFolderHolder {
public:
    explicit SaveFolderHolder(const std::string& folder) {
        int ready[2];
        if (pipe(ready) != 0) return;
        pid = fork();
        if (pid == 0) {
            // The parent's lock, shared through the fork, is not this process's own taking.
            Game::UnlockSaveFolder();
            const char taken = Game::LockSaveFolder(folder) == Game::FolderLock::kTaken ? 'y' : 'n';
            if (write(ready[1], &taken, 1) != 1) _exit(1);
            while (true) pause();
        }
        close(ready[1]);
        char answer = 0;
        held = pid > 0 && read(ready[0], &answer, 1) == 1 && answer == 'y';
        close(ready[0]);
    }
    ~SaveFolderHolder() { Kill(); }
    SaveFolderHolder(const SaveFolderHolder&) = delete;
    SaveFolderHolder& operator=(const SaveFolderHolder&) = delete;
    void Kill() {
        if (pid <= 0) return;
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        pid = -1;
    }
    pid_t pid = -1;
    bool held = false;
};

TEST(SaveFolderLockTest, OneProcessHoldsAFolderUntilItEndsHoweverItEnds) {
    struct Case {
        const char* name;
        bool otherHolds;   // another process holds the folder
        bool otherKilled;  // ... and is killed (SIGKILL) before this one tries
        Game::FolderLock result;
    };
    const Case cases[] = {
        {"a free folder", false, false, Game::FolderLock::kTaken},
        {"a folder another copy holds", true, false, Game::FolderLock::kHeld},
        {"a folder whose holder was killed", true, true, Game::FolderLock::kTaken},
    };
    for (const Case& c : cases) {
        QRV::TestKit::TempFolder temp("quorvel-lock");
        const std::string folder = (temp / "quorvel").string() + "/";
        SaveFolderHolder* other = nullptr;
        if (c.otherHolds) {
            other = new SaveFolderHolder(folder);
            ASSERT_TRUE(other->held) << c.name;
            if (c.otherKilled) other->Kill();
        }
        testing::internal::CaptureStderr();
        EXPECT_EQ(Game::LockSaveFolder(folder), c.result) << c.name;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << c.name;
        // Asking again in the same process keeps what it has.
        EXPECT_EQ(Game::LockSaveFolder(folder), c.result) << c.name;
        if (c.result == Game::FolderLock::kTaken) {
            SaveFolderHolder second(folder);
            EXPECT_FALSE(second.held) << c.name << ": a second process took the folder";
        }
        Game::UnlockSaveFolder();
        delete other;
    }
}

TEST(SaveFolderLockTest, TakingMakesTheFolderAndClearsLeftoverTemporaries) {
    QRV::TestKit::TempFolder temp("quorvel-lock");
    temp.Write("quorvel/players.xml", "<Players/>");
    temp.Write("quorvel/players.xml.tmp", "half");
    temp.Write("quorvel/players.xml.123.4.0123456789abcdef.tmp", "half");
    temp.Write("quorvel/players.xml.bad", "kept");
    ASSERT_EQ(Game::LockSaveFolder((temp / "quorvel").string() + "/"), Game::FolderLock::kTaken);
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(temp / "quorvel")) left.insert(entry.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"players.xml", "players.xml.bad", Game::kSaveFolderLockFile}));

    // Another folder, made with its parents; the first one is let go.
    const std::string other = (temp / "a" / "b").string() + "/";
    EXPECT_EQ(Game::LockSaveFolder(other), Game::FolderLock::kTaken);
    EXPECT_TRUE(fs::is_directory(other));
    SaveFolderHolder first((temp / "quorvel").string() + "/");
    EXPECT_TRUE(first.held);
    first.Kill();

    // A path below a file cannot be a folder.
    testing::internal::CaptureStderr();
    EXPECT_EQ(Game::LockSaveFolder((temp / "quorvel" / "players.xml" / "x").string() + "/"),
              Game::FolderLock::kUnavailable);
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    Game::UnlockSaveFolder();
}

}  // namespace
