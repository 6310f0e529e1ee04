// The loading screen's description and pictures as the builder writes them, and the edition
// values that name the files of the packs, catalogues and window list.
#include "tools/content_builder/loading_screen_content.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <pugixml.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/platform/image_decoder.h"
#include "tools/content_builder/game_config_content.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/title_art.h"
#include "tools/content_builder/window_content.h"

namespace {

namespace fs = std::filesystem;
namespace CB = ContentBuilder;
namespace Theme = ContentBuilder::Theme;

std::string LoadingContentBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class LoadingScreenContent : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root = fs::temp_directory_path() / ("quorvel_loading_content_" + std::to_string(::getpid()));
        fs::remove_all(root);
        CB::OutputTree out(root);
        CB::BuildLoadingScreen(out);
        CB::BuildTitleArt(out);  // the logo is the title's
        CB::BuildGameConfig(out);
    }
    static void TearDownTestSuite() { fs::remove_all(root); }

    // The picture of a file below Resources, decoded as the game decodes it.
    static QRV::Platform::DecodedImage Picture(const fs::path& relative) {
        const std::string bytes = LoadingContentBytes(root / "Resources" / relative);
        QRV::Platform::DecodedImage image;
        EXPECT_TRUE(QRV::Platform::DecodeImage(bytes.data(), bytes.size(), image)) << relative;
        EXPECT_EQ(bytes.substr(1, 3), "PNG") << relative << ": a plain PNG";
        return image;
    }

    static fs::path root;
};
fs::path LoadingScreenContent::root;

TEST_F(LoadingScreenContent, TheDescriptionNamesItsPicturesAndThePaperColour) {
    pugi::xml_document document;
    ASSERT_TRUE(
        document.load_file((root / "Resources" / Theme::kCatalogueFolder / Theme::kLoadingScreen.description).c_str()));
    const pugi::xml_node screen = document.document_element();
    for (const char* sprite : {"background", "logo", "animation"}) {
        const std::string key = screen.child(sprite).child_value("FILE");
        EXPECT_TRUE(fs::is_regular_file(root / CB::RunPathOfKey(key))) << sprite << ": " << key;
        EXPECT_GT(Picture(fs::path(CB::RunPathOfKey(key)).lexically_relative("Resources")).width, 0u) << sprite;
    }
    // One picture for the logo of both screens: the game decodes and uploads it once.
    EXPECT_EQ(std::string(screen.child("logo").child_value("FILE")),
              CB::ResourceKey(Theme::kTitleArt.folder, Theme::kTitleArt.logoFile));
    const pugi::xml_node animation = screen.child("animation").child("ANIMATION");
    EXPECT_STREQ(animation.attribute("loop").value(), "true");
    const QRV::Platform::DecodedImage sheet =
        Picture(fs::path(Theme::kLoadingScreen.folder) / Theme::kLoadingScreen.animationFile);
    EXPECT_EQ(sheet.width, sheet.height * static_cast<uint32_t>(CB::GridFillFrames()));
    EXPECT_EQ(animation.attribute("frames").as_int(), CB::GridFillFrames());

    const pugi::xml_node splashes = screen.child("splashes");
    const Theme::Rgb paper = Theme::kPaper;
    EXPECT_EQ(std::string(splashes.attribute("back_color").value()),
              "255 " + std::to_string(paper.r) + " " + std::to_string(paper.g) + " " + std::to_string(paper.b));
    EXPECT_GT(splashes.attribute("time_per_splash").as_float(), 0.0f);
    // The start waits little: a second of splash at most, and a short fade.
    EXPECT_LE(splashes.attribute("time_per_splash").as_float(), 1.0f);
    EXPECT_GT(splashes.attribute("time_fade").as_float(), 0.0f);
    EXPECT_LE(splashes.attribute("time_fade").as_float(), 0.2f);
    int count = 0;
    for (pugi::xml_node splash = splashes.first_child(); splash; splash = splash.next_sibling(), ++count) {
        // Read straight from its file below Resources, never through a repository.
        const QRV::Platform::DecodedImage card = Picture(splash.child_value("FILE"));
        EXPECT_EQ(card.width, 1024u);
        EXPECT_EQ(card.height, 768u);
        EXPECT_TRUE(splash.child("HOT_SPOT"));
        EXPECT_STREQ(splash.child_value("POS"), "512 384");
    }
    EXPECT_EQ(count, 1);
}

TEST_F(LoadingScreenContent, TheDesktopEditionNamesTheFilesTheBuilderWrites) {
    pugi::xml_document document;
    ASSERT_TRUE(document.load_file((root / "Resources" / Theme::kCatalogueFolder / Theme::kEditionsFile).c_str()));
    const pugi::xml_node desktop = document.document_element().last_child();
    auto value = [&](const char* key) {
        return std::string(desktop.find_child_by_attribute("param", "key", key).attribute("value").value());
    };
    EXPECT_EQ(value("pack_item"), Theme::kPackItemFile);
    EXPECT_EQ(value("trophies"), CB::ResourceKey(Theme::kCatalogueFolder, Theme::kTrophiesFile));
    EXPECT_EQ(value("store"), CB::ResourceKey(Theme::kCatalogueFolder, Theme::kStoreFile));
    EXPECT_EQ(value("ad"), CB::ResourceKey(Theme::kCatalogueFolder, Theme::kAdvertisingFile));
    EXPECT_EQ(value("scenes"), CB::ResourceKey(Theme::kCatalogueFolder, Theme::kWindowList));
    EXPECT_EQ(value("inapp"), "");
    EXPECT_TRUE(desktop.find_child_by_attribute("param", "key", "inapp"));
    EXPECT_EQ(value("tutorial_postfix"), "_pc");
    EXPECT_EQ(value("pack_logic_stars"), "1");
    EXPECT_EQ(value("unlock_pack_immediately"), "0");
    // The content assumes no free edition.
    const pugi::xml_node base = document.document_element().first_child();
    EXPECT_STREQ(base.find_child_by_attribute("param", "key", "free").attribute("value").value(), "0");
}

}  // namespace
