#include "game/config/safe_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "tests/test_kit/temp_folder.h"

namespace {

namespace fs = std::filesystem;

std::string SafeWriteContents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(SafeWriteTest, ReplacesTheFileWholeOrNotAtAll) {
    struct Case {
        const char* name;
        // Prepares the folder (which holds "save.xml" = "old") and names the file to write.
        std::function<fs::path(const QRV::TestKit::TempFolder&)> prepare;
        bool written;
    };
    const Case cases[] = {
        {"replacing a file", [](const auto& t) { return t / "save.xml"; }, true},
        {"a new file in missing folders", [](const auto& t) { return t / "new" / "deeper" / "save.xml"; }, true},
        {"a temporary file left by a killed run",
         [](const auto& t) {
             t.Write("save.xml.tmp", "half a fi");
             return t / "save.xml";
         },
         true},
        {"the temporary name taken by a folder",
         [](const auto& t) {
             fs::create_directories(t / "save.xml.tmp" / "inside");
             return t / "save.xml";
         },
         false},
        {"the file's name taken by a folder that the rename cannot replace",
         [](const auto& t) {
             t.Write("taken/inside", "x");
             return t / "taken";
         },
         false},
        {"a folder in the path that is a file", [](const auto& t) { return t / "save.xml" / "below.xml"; }, false},
    };
    for (const Case& c : cases) {
        QRV::TestKit::TempFolder temp("quorvel-safewrite");
        temp.Write("save.xml", "old");
        const fs::path file = c.prepare(temp);
        testing::internal::CaptureStderr();
        EXPECT_EQ(Game::SafeWriteFile(file.string(), "new contents"), c.written) << c.name;
        const std::string said = testing::internal::GetCapturedStderr();

        EXPECT_EQ(SafeWriteContents(temp / "save.xml"), file == temp / "save.xml" && c.written ? "new contents" : "old")
            << c.name;
        if (c.written) {
            EXPECT_EQ(SafeWriteContents(file), "new contents") << c.name;
        }
        // One line naming the file on failure, silence on success; never a temporary file left.
        EXPECT_EQ(said.find(file.string()) != std::string::npos, !c.written) << c.name << ": " << said;
        EXPECT_FALSE(fs::is_regular_file(file.string() + ".tmp")) << c.name;
    }
}

TEST(SafeWriteTest, MakesItsFoldersPrivateAndRefusesRelativePaths) {
    QRV::TestKit::TempFolder temp("quorvel-safewrite");
    ASSERT_TRUE(Game::SafeWriteFile((temp / "made" / "save.xml").string(), ""));
    struct stat info {};
    ASSERT_EQ(stat((temp / "made").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_TRUE(fs::is_regular_file(temp / "made" / "save.xml"));

    const fs::path before = fs::current_path();
    fs::current_path(temp.Path());
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Game::SafeWriteFile("relative.xml", "x"));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("relative.xml"), std::string::npos);
    fs::current_path(before);
    EXPECT_FALSE(fs::exists(temp / "relative.xml"));
    EXPECT_FALSE(fs::exists(temp / "relative.xml.tmp"));
}

}  // namespace
