#include "game/app/save_folder_notices.h"

#include <gtest/gtest.h>

#include <string>

#include "game/config/save_file.h"
#include "tests/test_kit/temp_folder.h"

namespace {

// Files set aside at start are told to the player once, in one message that names each file,
// where its copy is kept and that the game goes on with its defaults.
TEST(SaveFolderNoticesTest, FilesSetAsideAreToldOnceWithWhereTheyAreKept) {
    QRV::TestKit::TempFolder temp("quorvel-notices");
    const std::string folder = temp.String() + "/";
    temp.Write("players.xml", "<html/");
    temp.Write("game.xml", "\x89PNG");
    Game::ForgetRefusedWrites();
    testing::internal::CaptureStderr();
    pugi::xml_document document;
    EXPECT_EQ(Game::LoadSaveXml(folder + "players.xml", document), Game::SaveRead::kSetAside);
    EXPECT_EQ(Game::LoadSaveXml(folder + "game.xml", document), Game::SaveRead::kSetAside);
    TellSetAsideSaves();
    TellSetAsideSaves();  // nothing new: nothing said
    const std::string said = testing::internal::GetCapturedStderr();

    const std::string expected =
        "The save file " + folder + "players.xml could not be read.\nIt was moved to " + folder +
        "players.xml.bad.\nThe save file " + folder + "game.xml could not be read.\nIt was moved to " + folder +
        "game.xml.bad.\nThe game goes on with the default settings and players.";
    EXPECT_NE(said.find(expected), std::string::npos) << said;
    EXPECT_EQ(said.find("The game goes on"), said.rfind("The game goes on")) << said;
}

}  // namespace
