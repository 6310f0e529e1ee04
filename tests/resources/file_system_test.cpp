#include "engine/resources/file_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/callback.h"
#include "engine/resources/paths.h"
#include "tests/resources/resource_test_support.h"
#include "tests/test_kit/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using QRV::TestSupport::WriteBytes;

class PathsTest : public ::testing::Test {
protected:
    void SetUp() override { previousDir = fs::current_path(); }
    void TearDown() override {
        QRV::ReleaseHook(QRV::cbRepositoryLoaded);
        fs::current_path(previousDir);
    }
    fs::path previousDir;
    QRV::TestKit::TempFolder folder{"quorvel-paths"};
    std::string root = folder.String();
};

TEST_F(PathsTest, ListingIsSortedByNameWhateverTheCreationOrder) {
    // Created in an order that neither creation order nor byte order would sort this way.
    for (const char* name : {"pack10", "Pack2", "pack1", "b.xml", "A.xml", "a.xml", "_x.png", "level.XML", "noext"}) {
        WriteBytes(root + "/" + name, "x");
    }
    fs::create_directories(root + "/zeta");
    fs::create_directories(root + "/Alpha");
    fs::create_directories(root + "/beta.xml");

    std::vector<std::string> files;
    QRV::ListFiles(root, files);
    EXPECT_EQ(files, (std::vector<std::string>{"A.xml", "a.xml", "b.xml", "level.XML", "noext", "pack1", "pack10",
                                               "Pack2", "_x.png"}));

    std::vector<std::string> xml{"kept"};
    QRV::ListDirectory(root, xml, QRV::kListFiles, "xml");
    EXPECT_EQ(xml, (std::vector<std::string>{"kept", "A.xml", "a.xml", "b.xml", "level.XML"}));

    std::vector<std::string> dirs;
    QRV::ListDirectory(root, dirs, QRV::kListDirectories, "*");
    EXPECT_EQ(dirs, (std::vector<std::string>{"Alpha", "beta.xml", "zeta"}));

    std::vector<std::string> none;
    QRV::ListDirectory(root + "/missing", none, QRV::kListFiles, "*");
    EXPECT_TRUE(none.empty());
}

TEST_F(PathsTest, MakeDirectoriesCreatesEveryMissingLevel) {
    EXPECT_TRUE(QRV::MakeDirectories(root + "/a/b/c/"));
    EXPECT_TRUE(fs::is_directory(root + "/a/b/c"));
    EXPECT_TRUE(QRV::MakeDirectories(root + "/a/b/c"));  // already there
    WriteBytes(root + "/file", "x");
    EXPECT_FALSE(QRV::MakeDirectories(root + "/file/sub"));
    EXPECT_FALSE(QRV::MakeDirectories(""));
}

int g_hookCalls = 0;
int CountHook(uintptr_t) {
    ++g_hookCalls;
    return 0;
}

TEST_F(PathsTest, SetupCreatesResourcesAndMakesItTheWorkingDirectory) {
    fs::current_path(root);
    QRV::JC_PATHS* paths = QRV::JC_PATHS::Instance();  // may set up here on its first call
    const std::string base = fs::path(root).generic_string() + "/game";
    fs::create_directories(base);
    fs::current_path(base);
    QRV::InstallHook(QRV::cbRepositoryLoaded, CountHook);
    g_hookCalls = 0;
    paths->Setup();
    EXPECT_EQ(g_hookCalls, 1);
    EXPECT_EQ(paths->appDir, base + "/");
    EXPECT_EQ(paths->resourcesDir, base + "/Resources/");
    EXPECT_EQ(paths->workDir, paths->resourcesDir);
    EXPECT_TRUE(fs::is_directory(base + "/Resources"));
    EXPECT_TRUE(fs::equivalent(fs::current_path(), base + "/Resources"));

    // With the folder already there nothing is created and the hook is not called.
    fs::current_path(base);
    paths->Setup();
    EXPECT_EQ(g_hookCalls, 1);
    EXPECT_TRUE(fs::equivalent(fs::current_path(), base + "/Resources"));
}

}  // namespace
