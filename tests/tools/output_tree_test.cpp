#include "tools/content_builder/output_tree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "tests/test_kit/temp_folder.h"

namespace {

namespace fs = std::filesystem;

const auto ReadText = &QRV::TestKit::ReadFileText;

class ContentBuilderOutputTree : public ::testing::Test {
protected:
    QRV::TestKit::TempFolder folder{"quorvel-output-tree"};
    fs::path run = folder.Path();
};

TEST_F(ContentBuilderOutputTree, RemovesOnlyWhatTheLastBuildMadeAndThisOneDidNot) {
    {
        ContentBuilder::OutputTree first(run);
        first.Write("Resources/a.xml", "a1");
        first.Write("Resources/data/old.ogg", "old");
        first.Finish();
    }
    // A file the builder never made (e.g. written by the game) must survive.
    std::ofstream(run / "Resources" / "game.xml") << "user";

    ContentBuilder::OutputTree second(run);
    second.Write("Resources/a.xml", "a2");
    second.Write("Resources/data/new.ogg", "new");
    EXPECT_EQ(second.Finish(), 1);

    EXPECT_EQ(ReadText(run / "Resources/a.xml"), "a2");
    EXPECT_EQ(ReadText(run / "Resources/data/new.ogg"), "new");
    EXPECT_FALSE(fs::exists(run / "Resources/data/old.ogg"));
    EXPECT_EQ(ReadText(run / "Resources/game.xml"), "user");
}

TEST_F(ContentBuilderOutputTree, IgnoresManifestLinesThatLeaveTheRunFolder) {
    const fs::path outside = run.parent_path() / "quorvel_output_tree_outside.txt";
    std::ofstream(outside) << "keep";
    std::ofstream(run / ".content-manifest") << "../" << outside.filename().string() << "\n"
                                             << outside.string() << "\n";
    ContentBuilder::OutputTree tree(run);
    tree.Finish();
    EXPECT_TRUE(fs::exists(outside));
    fs::remove(outside);
}

TEST_F(ContentBuilderOutputTree, RejectsPathsOutsideTheRunFolderAndDoubleWrites) {
    ContentBuilder::OutputTree tree(run);
    EXPECT_THROW(tree.Write("../escape.txt", "x"), std::runtime_error);
    EXPECT_THROW(tree.Write("/etc/escape.txt", "x"), std::runtime_error);
    tree.Write("Resources/x.txt", "x");
    EXPECT_THROW(tree.Write("Resources/x.txt", "y"), std::runtime_error);
}

}  // namespace
