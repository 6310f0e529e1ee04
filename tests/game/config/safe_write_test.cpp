#include "game/config/safe_write.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <iterator>
#include <string>

#include "tests/test_kit/temp_folder.h"

namespace {

namespace fs = std::filesystem;

// Every file below root, relative to it.
std::set<std::string> SafeWriteEntries(const fs::path& root) {
    std::set<std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) entries.insert(fs::relative(entry.path(), root).string());
    }
    return entries;
}

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
        // Each write takes a temporary name of its own: an old run's fixed name is never in the way.
        {"the old temporary name taken by a folder",
         [](const auto& t) {
             fs::create_directories(t / "save.xml.tmp" / "inside");
             return t / "save.xml";
         },
         true},
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
        const std::set<std::string> before = SafeWriteEntries(temp.Path());
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
        // A temporary file of an earlier run stays for the start to clear; this write leaves none.
        EXPECT_EQ(fs::is_regular_file(file.string() + ".tmp"),
                  before.count(fs::relative(file, temp.Path()).string() + ".tmp") != 0)
            << c.name;
        std::set<std::string> expected = before;
        if (c.written) expected.insert(fs::relative(file, temp.Path()).string());
        EXPECT_EQ(SafeWriteEntries(temp.Path()), expected) << c.name;
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

// Two processes write one file over and over, each its own document; every read in between, and
// the file at the end, is whole: one of the two documents, byte for byte.
TEST(SafeWriteTest, TwoProcessesWritingOneFileNeverMixTheirBytes) {
    QRV::TestKit::TempFolder temp("quorvel-safewrite");
    const std::string file = (temp / "players.xml").string();
    // Large enough to take several writes of the system call each, different in every byte.
    const std::string documents[2] = {"<Players current=\"a\">" + std::string(200000, 'a') + "</Players>",
                                      "<Players current=\"bb\"><player name=\"b\"/>" + std::string(150000, 'b') +
                                          "</Players>"};
    constexpr int kRounds = 300;
    ASSERT_TRUE(Game::SafeWriteFile(file, documents[0]));
    pid_t writers[2] = {-1, -1};
    for (int i = 0; i < 2; ++i) {
        writers[i] = fork();
        ASSERT_GE(writers[i], 0);
        if (writers[i] == 0) {
            int failed = 0;
            for (int round = 0; round < kRounds; ++round) failed += Game::SafeWriteFile(file, documents[i]) ? 0 : 1;
            _exit(failed == 0 ? 0 : 1);
        }
    }
    int reads = 0;
    int mixed = 0;
    int statuses[2] = {-1, -1};
    bool ended[2] = {false, false};
    while (!ended[0] || !ended[1]) {
        for (int i = 0; i < 2; ++i) {
            if (!ended[i]) ended[i] = waitpid(writers[i], &statuses[i], WNOHANG) == writers[i];
        }
        const std::string read = SafeWriteContents(file);
        pugi::xml_document document;
        const bool whole = (read == documents[0] || read == documents[1]) &&
                           document.load_buffer(read.data(), read.size());
        mixed += whole ? 0 : 1;
        ++reads;
    }
    for (int status : statuses) EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(mixed, 0) << "of " << reads << " reads";
    const std::string last = SafeWriteContents(file);
    EXPECT_TRUE(last == documents[0] || last == documents[1]);
    // No temporary file outlives its write.
    EXPECT_EQ(SafeWriteEntries(temp.Path()), std::set<std::string>{"players.xml"});
}

}  // namespace
