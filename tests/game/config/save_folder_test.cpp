#include "game/config/save_folder.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "tests/test_kit/temp_folder.h"

namespace {

// Sets (or unsets, for null) an environment variable for one test and puts it back afterwards.
class SaveFolderEnvVar {
public:
    SaveFolderEnvVar(const char* name, const char* value) : name(name) {
        if (const char* old = std::getenv(name)) saved = old;
        if (value != nullptr) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~SaveFolderEnvVar() {
        if (saved) setenv(name, saved->c_str(), 1);
        else unsetenv(name);
    }
    SaveFolderEnvVar(const SaveFolderEnvVar&) = delete;
    SaveFolderEnvVar& operator=(const SaveFolderEnvVar&) = delete;

private:
    const char* name;
    std::optional<std::string> saved;
};

unsigned ModeOf(const std::filesystem::path& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

TEST(SaveFolderTest, FollowsXdgDataHomeThenHomeAndNeedsAnAbsoluteBase) {
    struct Case {
        const char* xdg;
        const char* home;
        const char* folder;
    };
    const Case cases[] = {
        {"/data/xdg", "/home/ann", "/data/xdg/quorvel/"},
        {"/data/xdg//", "/home/ann", "/data/xdg/quorvel/"},
        {"/", nullptr, "/quorvel/"},
        {nullptr, "/home/ann", "/home/ann/.local/share/quorvel/"},
        {"", "/home/ann/", "/home/ann/.local/share/quorvel/"},
        {"relative/xdg", "/home/ann", "/home/ann/.local/share/quorvel/"},
        // Never a folder relative to the working folder or to "/" without a base.
        {"relative/xdg", "relative/home", ""},
        {nullptr, "", ""},
        {nullptr, nullptr, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Game::SaveFolderFor(c.xdg, c.home), c.folder)
            << "XDG_DATA_HOME " << (c.xdg ? c.xdg : "(unset)") << ", home " << (c.home ? c.home : "(unset)");
    }
}

TEST(SaveFolderTest, ReadsTheEnvironmentAndThePasswordDatabase) {
    {
        SaveFolderEnvVar xdg("XDG_DATA_HOME", "/srv/data");
        SaveFolderEnvVar home("HOME", "/home/ann");
        EXPECT_EQ(Game::FindSaveFolder(), "/srv/data/quorvel/");
    }
    const passwd* entry = getpwuid(getuid());
    ASSERT_NE(entry, nullptr);
    const std::string expected = Game::SaveFolderFor(nullptr, entry->pw_dir);
    for (const char* homeValue : {static_cast<const char*>(nullptr), "", "not/absolute"}) {
        SaveFolderEnvVar xdg("XDG_DATA_HOME", nullptr);
        SaveFolderEnvVar home("HOME", homeValue);
        EXPECT_EQ(Game::FindSaveFolder(), expected) << "HOME " << (homeValue ? homeValue : "(unset)");
    }
}

TEST(SaveFolderTest, MakesMissingFoldersPrivateAndLeavesExistingOnes) {
    QRV::TestKit::TempFolder temp("quorvel-savefolder");
    std::filesystem::permissions(temp.Path(), std::filesystem::perms(0755));
    const std::filesystem::path chain = temp / "a" / "b" / "quorvel";
    EXPECT_TRUE(Game::MakeSaveFolders(chain.string() + "/"));
    for (const auto& folder : {temp / "a", temp / "a" / "b", chain}) EXPECT_EQ(ModeOf(folder), 0700u) << folder;
    EXPECT_EQ(ModeOf(temp.Path()), 0755u);
    EXPECT_TRUE(Game::MakeSaveFolders(chain.string()));

    temp.Write("file", "x");
    EXPECT_FALSE(Game::MakeSaveFolders((temp / "file" / "below").string()));
    EXPECT_FALSE(Game::MakeSaveFolders(""));
}

}  // namespace
