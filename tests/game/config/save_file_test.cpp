#include "game/config/save_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "game/config/safe_write.h"
#include "game/config/unreadable_file.h"
#include "tests/test_kit/temp_folder.h"

namespace {

namespace fs = std::filesystem;

std::string SaveFileContents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(SaveFileTest, ReadsGoodFilesAndSetsAsideUnreadableOnes) {
    struct Case {
        const char* name;
        const char* contents;  // null: no file; "<dir>": a folder of that name
        Game::SaveRead expected;
    };
    const Case cases[] = {
        {"no file", nullptr, Game::SaveRead::kMissing},
        {"a document", "<Players current=\"\"><player/></Players>", Game::SaveRead::kRead},
        {"an empty file", "", Game::SaveRead::kSetAside},
        {"a cut-off document", "<Players current=\"a\"><player name=\"", Game::SaveRead::kSetAside},
        {"no element at all", "<?xml version=\"1.0\"?><!-- nothing -->", Game::SaveRead::kSetAside},
        {"binary garbage", "\x01\xff\xfe<<", Game::SaveRead::kSetAside},
        {"a folder", "<dir>", Game::SaveRead::kSetAside},
    };
    for (const Case& c : cases) {
        QRV::TestKit::TempFolder temp("quorvel-savefile");
        const fs::path file = temp / "players.xml";
        if (c.contents != nullptr && std::string(c.contents) == "<dir>") fs::create_directories(file / "x");
        else if (c.contents != nullptr) temp.Write("players.xml", c.contents);
        // A whole document in the temporary file of a killed save is never read.
        temp.Write("players.xml.tmp", "<Players current=\"tmp\"/>");

        pugi::xml_document document;
        testing::internal::CaptureStderr();
        EXPECT_EQ(Game::LoadSaveXml(file.string(), document), c.expected) << c.name;
        const std::string said = testing::internal::GetCapturedStderr();
        if (c.expected == Game::SaveRead::kSetAside) {
            EXPECT_FALSE(document.document_element()) << c.name;
            EXPECT_FALSE(fs::exists(file)) << c.name;
            if (std::string(c.contents) != "<dir>") {
                EXPECT_EQ(SaveFileContents(temp / "players.xml.bad"), c.contents) << c.name;
            }
            EXPECT_NE(said.find(file.string() + ".bad"), std::string::npos) << c.name << ": " << said;
        } else {
            EXPECT_EQ(said, "") << c.name;
        }
        if (c.expected == Game::SaveRead::kRead) {
            EXPECT_STREQ(document.document_element().name(), "Players") << c.name;
        } else if (c.expected == Game::SaveRead::kMissing) {
            EXPECT_FALSE(document.document_element()) << c.name;
        }
    }
}

TEST(SaveFileTest, NeverReplacesAnEarlierBadCopy) {
    QRV::TestKit::TempFolder temp("quorvel-savefile");
    const std::string file = (temp / "game.xml").string();
    const std::vector<std::string> broken = {"first", "second", "third"};
    testing::internal::CaptureStderr();
    for (const std::string& contents : broken) {
        temp.Write("game.xml", contents);
        pugi::xml_document document;
        EXPECT_EQ(Game::LoadSaveXml(file, document), Game::SaveRead::kSetAside);
    }
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(SaveFileContents(file + ".bad"), "first");
    EXPECT_EQ(SaveFileContents(file + ".bad.1"), "second");
    EXPECT_EQ(SaveFileContents(file + ".bad.2"), "third");
    EXPECT_FALSE(fs::exists(file));
    // The folder stays writable for the next save.
    EXPECT_TRUE(Game::SafeWriteFile(file, "<game/>"));
}

TEST(SaveFileTest, AFileThatCannotBeMovedAsideIsNeverWritten) {
    QRV::TestKit::TempFolder temp("quorvel-savefile");
    // A name so long that no ".bad" name fits beside it.
    const std::string name(252, 'p');
    const fs::path file = temp.Write(name, "unreadable");
    pugi::xml_document document;
    testing::internal::CaptureStderr();
    EXPECT_EQ(Game::LoadSaveXml(file.string(), document), Game::SaveRead::kSetAside);
    EXPECT_TRUE(Game::IsWriteRefused(file.string()));
    EXPECT_FALSE(Game::SafeWriteFile(file.string(), "<replaced/>"));
    const std::string said = testing::internal::GetCapturedStderr();
    Game::ForgetRefusedWrites();
    EXPECT_EQ(SaveFileContents(file), "unreadable");
    EXPECT_NE(said.find("will not be written"), std::string::npos) << said;
}

TEST(SaveFileTest, SavesXmlIndentedWithTabs) {
    QRV::TestKit::TempFolder temp("quorvel-savefile");
    pugi::xml_document document;
    document.append_child("game").append_child("param").append_attribute("key").set_value("fullscreen");
    const std::string file = (temp / "game.xml").string();
    ASSERT_TRUE(Game::SaveXmlFile(file, document));
    EXPECT_EQ(SaveFileContents(file), "<?xml version=\"1.0\"?>\n<game>\n\t<param key=\"fullscreen\" />\n</game>\n");
    pugi::xml_document again;
    EXPECT_EQ(Game::LoadSaveXml(file, again), Game::SaveRead::kRead);
    EXPECT_EQ(Game::SaveXmlText(again), Game::SaveXmlText(document));
}

}  // namespace
