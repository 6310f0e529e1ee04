// The help as the builder makes it: the numbers its texts quote are the numbers the built data
// holds, every page of every section has its picture and its text, and the pictures draw the
// marks their boards name.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/resources/string_table.h"
#include "tests/game/screens/screen_scene.h"
#include "tests/test_kit/rgba_image.h"
#include "tools/content_builder/help_art.h"
#include "tools/content_builder/help_content.h"
#include "tools/content_builder/help_numbers.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/theme.h"

namespace {

namespace fs = std::filesystem;
namespace CB = ContentBuilder;
namespace Theme = ContentBuilder::Theme;

fs::path Resources() { return ScreenTest::BuiltRunFolder() / "Resources"; }

pugi::xml_document Parse(const fs::path& path) {
    pugi::xml_document document;
    EXPECT_TRUE(document.load_file(path.c_str())) << path;
    return document;
}

const QRV::JC_STRING_TABLE& Strings() {
    static const QRV::JC_STRING_TABLE table = [] {
        QRV::JC_STRING_TABLE t;
        const std::string text = QRV::TestKit::ReadFileText(Resources() / Theme::kStringsFile);
        EXPECT_TRUE(t.LoadFromMemory(text.data(), text.size()));
        return t;
    }();
    return table;
}

// The numbers as the game reads them from the files the builder wrote.
TEST(OptionsHelpContent, TheTextsQuoteTheNumbersOfTheBuiltData) {
    const pugi::xml_document player =
        Parse(ScreenTest::BuiltRunFolder() / CB::RunPath(Theme::kCatalogueFolder, Theme::kDefaultPlayer.file));
    const auto item = [&](const char* name) {
        return player.select_node((std::string("//item[@name='") + name + "']").c_str())
            .node()
            .attribute("count")
            .as_int();
    };
    const pugi::xml_node health = player.select_node("//health").node();
    const pugi::xml_document settings = Parse(Resources() / "data/share/main/gameplay/settings.xml");
    const pugi::xml_node root = settings.document_element();

    const struct {
        const char* key;
        int value;
        const char* context;  // the words around the number in the text
    } quoted[] = {
        {"help_gameplay_hearts", health.attribute("count").as_int(), " hearts"},
        {"help_gameplay_hearts", item("life"), " hearts"},
        {"help_gameplay_hearts", health.attribute("time_refill_heart").as_int() / 60, " minutes"},
        {"help_gameplay_errors", item("error"), ", the level is lost"},
        {"help_gameplay_hints", item("hint_start"), ", and"},
        {"help_gameplay_hints", root.attribute("max_hints").as_int(), " more"},
        {"help_gameplay_money", root.attribute("sunime_one").as_int(), " for each"},
        {"help_gameplay_money", root.attribute("sunime_bonus").as_int(), " more for a bonus"},
    };
    for (const auto& q : quoted) {
        SCOPED_TRACE(q.key);
        ASSERT_GT(q.value, 0);
        const std::string text = Strings().Find(q.key);
        EXPECT_NE(text.find(std::to_string(q.value) + q.context), std::string::npos) << text;
    }
    // Every placeholder was filled.
    const std::string all = QRV::TestKit::ReadFileText(Resources() / Theme::kStringsFile);
    EXPECT_EQ(all.find("{{"), std::string::npos);
}

TEST(OptionsHelpContent, PlaceholdersExpandToTheirNumbersOrFailLoudly) {
    const struct {
        const char* text;
        std::string expected;
    } good[] = {
        {"no numbers {here}", "no numbers {here}"},
        {"{{number:hearts}} hearts", std::to_string(CB::HelpNumberValue("hearts")) + " hearts"},
        {"{{number:errors_allowed}}/{{number:hints_per_level}}",
         std::to_string(CB::HelpNumberValue("errors_allowed")) + "/" +
             std::to_string(CB::HelpNumberValue("hints_per_level"))},
        {"every {{number:heart_refill_minutes}} min",
         "every " + std::to_string(Theme::kDefaultPlayer.refillSeconds / 60) + " min"},
    };
    for (const auto& g : good) EXPECT_EQ(CB::ExpandHelpNumbers(g.text), g.expected) << g.text;
    for (const char* bad : {"{{number:nope}}", "{{number:hearts", "{{number:}}"})
        EXPECT_THROW(CB::ExpandHelpNumbers(bad), CB::HelpNumberError) << bad;
    EXPECT_EQ(CB::HelpNumberValue("stars_best"), 3);
    EXPECT_EQ(CB::HelpNumberValue("stars_one_error"), 2);
    EXPECT_EQ(CB::HelpNumberValue("stars_otherwise"), 1);
}

TEST(OptionsHelpContent, EverySectionPageHasItsPictureAndText) {
    const std::vector<CB::HelpSectionSource>& sections = CB::HelpSections();
    ASSERT_EQ(sections.size(), 3u);
    for (const CB::HelpSectionSource& section : sections) {
        SCOPED_TRACE(section.layout);
        const pugi::xml_document layout = Parse(Resources() / Theme::kLayoutFolder / section.layout);
        size_t items = 0;
        for (const pugi::xml_node& item : layout.document_element().children("item")) {
            ASSERT_LT(items, section.pages.size());
            const CB::HelpPageSource& page = section.pages[items++];
            const std::string texture = item.select_node(".//IMAGE").node().attribute("TEXTURE").value();
            EXPECT_EQ(texture, CB::ResourceKey(Theme::kHelpArt.folder, page.picture));
            EXPECT_TRUE(fs::is_regular_file(Resources() / Theme::kHelpArt.folder / page.picture)) << texture;
            const std::string key = item.select_node(".//WLABEL").node().attribute("TEXT").value();
            EXPECT_EQ(key, page.text);
            EXPECT_NE(Strings().Find(key), key) << "no text for " << key;
        }
        EXPECT_EQ(items, section.pages.size());
        EXPECT_GE(items, 5u);
    }
}

TEST(OptionsHelpContent, ABoardPictureDrawsTheMarksItsCellsName) {
    const CB::TextureImage image = CB::DrawHelpBoard({{"#x.he"}, {}, {}});
    const int cell = Theme::kHelpArt.cell, margin = Theme::kHelpArt.margin;
    EXPECT_EQ(image.width, 2 * margin + 5 * cell);
    EXPECT_EQ(image.height, 2 * margin + cell);
    const auto centre = [&](int column) {
        const size_t at =
            (static_cast<size_t>(margin + cell / 2) * image.width + margin + column * cell + cell / 2) * 4;
        return Theme::Rgb{image.rgba[at], image.rgba[at + 1], image.rgba[at + 2]};
    };
    const auto same = [](Theme::Rgb a, Theme::Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; };
    EXPECT_TRUE(same(centre(0), Theme::kInk));
    EXPECT_TRUE(same(centre(1), Theme::kCross));
    EXPECT_TRUE(same(centre(2), Theme::kHelpArt.cellPaper));
    EXPECT_TRUE(same(centre(3), Theme::kReward));
    EXPECT_TRUE(same(centre(4), Theme::kError));

    // Clue bands make room to the left and above.
    const CB::PictureSize clued = CB::HelpBoardSize({{"#.", ".#"}, {"1", "1"}, {"1", "1"}});
    EXPECT_GT(clued.width, 2 * margin + 2 * cell);
    EXPECT_GT(clued.height, 2 * margin + 2 * cell);
}

TEST(OptionsHelpContent, AMalformedBoardIsRefused) {
    const CB::HelpBoard bad[] = {
        {{}, {}, {}},               // no cells
        {{"##", "#"}, {}, {}},      // rows of unequal length
        {{"#?"}, {}, {}},           // an unknown mark
        {{"##", "##"}, {"2"}, {}},  // a row without its clue
        {{"##"}, {}, {"1"}},        // a column without its clue
        {{"#"}, {"one"}, {}},       // a clue that is no number
    };
    for (const CB::HelpBoard& board : bad) EXPECT_THROW(CB::DrawHelpBoard(board), std::logic_error);
}

}  // namespace
