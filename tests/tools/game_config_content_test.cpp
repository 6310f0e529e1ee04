// The shipped configuration as the game reads it: the edition "game.xml" names exists and holds
// every key the game reads, the gameplay file its nine keys, the border art its two sprites, and
// the default player writes every attribute with its hearts full.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include <stb/stb_image.h>

#include "engine/core/property_map.h"
#include "engine/graphics/sprite.h"
#include "game/config/config_values.h"
#include "game/config/edition_select.h"
#include "game/data/game_player.h"
#include "tests/test_kit/temp_folder.h"
#include "tools/content_builder/border_art.h"
#include "tools/content_builder/game_config_content.h"
#include "tools/content_builder/theme.h"

namespace {

namespace fs = std::filesystem;
namespace CB = ContentBuilder;

class GameConfigContentTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = std::make_unique<QRV::TestKit::TempFolder>("quorvel-config-content");
        CB::OutputTree out(folder->Path());
        CB::BuildGameConfig(out);
        CB::BuildBorderArt(out);
    }
    static void TearDownTestSuite() { folder.reset(); }

    // "repository file" (or "file" of the main repository) -> the file below Resources.
    static fs::path FileOf(const std::string& key) {
        const size_t blank = key.find(' ');
        const fs::path resources = folder->Path() / "Resources";
        return blank == std::string::npos ? resources / key : resources / key.substr(0, blank) / key.substr(blank + 1);
    }
    static pugi::xml_node Load(pugi::xml_document& document, const std::string& key) {
        EXPECT_TRUE(document.load_file(FileOf(key).c_str())) << key;
        return document.document_element();
    }

    static std::unique_ptr<QRV::TestKit::TempFolder> folder;
};
std::unique_ptr<QRV::TestKit::TempFolder> GameConfigContentTest::folder;

TEST_F(GameConfigContentTest, TheNamedEditionHoldsEveryKeyAndItsGameplayFileItsNine) {
    pugi::xml_document settingsDocument;
    JCPropertyMap settings;
    settings.Load(Load(settingsDocument, "game.xml"));
    EXPECT_EQ(Game::ConfigText(settings, "lang"), "en");
    for (const char* key : {"company", "product"}) EXPECT_FALSE(Game::ConfigText(settings, key).empty()) << key;
    ASSERT_NE(settings.Find("fullscreen"), nullptr);
    EXPECT_EQ(settings.Find("fullscreen")->intValue, 0);

    pugi::xml_document editionsDocument;
    JCPropertyMap edition;
    ASSERT_TRUE(Game::SelectEdition(Load(editionsDocument, "data/share/main/other editions.xml"),
                                    Game::ConfigText(settings, "edition"), edition));
    for (const char* key : {"type",
                            "gameplay",
                            "platform",
                            "heart",
                            "default_player",
                            "run_if_url_lost",
                            "url_file",
                            "run_if_exe_lost",
                            "exe_file",
                            "free",
                            "gameplay_ad",
                            "player",
                            "pack_item",
                            "trophies",
                            "inapp",
                            "ad",
                            "tutorial_postfix",
                            "store",
                            "leaderboard",
                            "scenes",
                            "unlock_pack_immediately",
                            "pack_logic_stars"}) {
        EXPECT_NE(edition.Find(key), nullptr) << key;
    }
    // The desktop: title first, the game's cursor, no purchases, files not required; "ad" names the
    // advertising file, whose every network refuses at start-up, so no advertisement shows.
    EXPECT_EQ(Game::PlatformLetter(Game::ConfigText(edition, "platform")), 0);
    for (const char* key : {"heart", "default_player", "run_if_url_lost", "run_if_exe_lost"})
        EXPECT_EQ(Game::ConfigInt(edition, key), 1) << key;
    for (const char* key : {"free", "gameplay_ad"}) EXPECT_EQ(Game::ConfigInt(edition, key), 0) << key;
    for (const char* key : {"url_file", "exe_file", "inapp"}) EXPECT_EQ(Game::ConfigText(edition, key), "") << key;
    EXPECT_EQ(Game::ConfigText(edition, "ad"), "data/share/main/other ad.xml");

    pugi::xml_document gameplayDocument;
    JCPropertyMap gameplay;
    gameplay.Load(Load(gameplayDocument, Game::ConfigText(edition, "gameplay")));
    EXPECT_EQ(gameplay.Entries().size(), 9u);
    for (const char* key : {"settings", "ambient", "effects", "check_mode", "numbers", "hint_button", "pause_button",
                            "reset_selection", "store_button"}) {
        EXPECT_NE(Game::ConfigText(gameplay, key).find(' '), std::string::npos) << key << " names no resource key";
    }
    EXPECT_TRUE(fs::is_regular_file(FileOf(Game::ConfigText(edition, "player"))));
}

TEST_F(GameConfigContentTest, DefaultPlayerWritesEveryAttributeWithFullHearts) {
    pugi::xml_document document;
    const pugi::xml_node player = Load(document, "data/share/main/other player.xml");
    for (const char* attribute :
         {"name", "sound_volume", "music_volume", "passed_tutorial", "game_cursor", "inapp_bought"})
        EXPECT_TRUE(player.attribute(attribute)) << attribute;
    EXPECT_STREQ(player.attribute("game_cursor").value(), "true");
    EXPECT_STREQ(player.attribute("passed_tutorial").value(), "false");
    EXPECT_STREQ(player.attribute("inapp_bought").value(), "false");
    for (const char* volume : {"sound_volume", "music_volume"}) {
        EXPECT_GT(player.attribute(volume).as_float(), 1.0f) << volume << " is on the 0 to 100 scale";
        EXPECT_LE(player.attribute(volume).as_float(), 100.0f) << volume;
    }
    std::map<std::string, int> items;
    for (const pugi::xml_node item : player.child("playeritems").children("item"))
        items[item.attribute("name").value()] = item.attribute("count").as_int();
    for (const char* item : {"life", "error", "hint_start", "refill_hint"}) EXPECT_EQ(items.count(item), 1u) << item;
    EXPECT_GT(items["life"], 0);
    EXPECT_GT(items["error"], 0);

    // A new profile can play the first ordinary level at once.
    const pugi::xml_node first = player.child("levels").find_child_by_attribute("level", "name", "pack01.level01");
    ASSERT_TRUE(first);
    EXPECT_STREQ(first.find_child_by_attribute("param", "key", "is_open").attribute("value").value(), "true");

    const pugi::xml_node health = player.child("health");
    ASSERT_TRUE(health);
    EXPECT_EQ(health.attribute("count").as_int(), items["life"]);
    EXPECT_FALSE(health.first_child()) << "a full supply has no lost hearts";
    EXPECT_STREQ(health.attribute("increment").value(), "false");
    EXPECT_EQ(health.attribute("time_refill_heart").as_llong(), 1800);

    // As the game reads it: full hearts stay full, nothing to refill.
    gcPlayer loaded;
    loaded.LoadXml(player);
    EXPECT_TRUE(loaded.GetGameCursor());
    EXPECT_EQ(loaded.GetHealth().GetCount(), loaded.GetItemCount("life"));
    EXPECT_FALSE(loaded.GetHealth().Update());
    EXPECT_TRUE(loaded.GetHealth().GetLost().empty());
}

// The two sprites name textures the build made: an opaque pattern that repeats (its dots keep
// away from the tile's edges) and an opaque seam in one colour.
TEST_F(GameConfigContentTest, BorderArtNamesAnOpaqueTileAndSeam) {
    pugi::xml_document document;
    const pugi::xml_node ear = Load(document, "data data.xml").child("ear");
    const CB::Theme::BorderArtTheme& theme = CB::Theme::kBorderArt;
    for (const char* name : {"ear_tile", "ear_line"}) {
        SCOPED_TRACE(name);
        QRV::G_SPRITE sprite;
        ASSERT_TRUE(sprite.Load(ear.child(name)));
        int w = 0, h = 0, channels = 0;
        stbi_uc* pixels = stbi_load(FileOf(sprite.textureName).c_str(), &w, &h, &channels, 4);
        ASSERT_NE(pixels, nullptr) << sprite.textureName;
        const CB::Theme::Rgb edge = std::string(name) == "ear_tile" ? theme.band : theme.line;
        for (int i = 0; i < w * h; ++i) ASSERT_EQ(pixels[i * 4 + 3], 255) << "pixel " << i;
        for (int x = 0; x < w; ++x) {
            for (const int y : {0, h - 1}) {
                const stbi_uc* p = pixels + (static_cast<size_t>(y) * w + x) * 4;
                EXPECT_EQ(p[0], edge.r);
                EXPECT_EQ(p[1], edge.g);
                EXPECT_EQ(p[2], edge.b);
            }
        }
        stbi_image_free(pixels);
    }
}

}  // namespace
