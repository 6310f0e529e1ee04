// The game catalogues as the builder writes them, read by the game's own readers: one condition
// per trophy and a trophy for everything the game asks about, none earned by a new player; store
// ladders that rise from the default player's counts; every key and texture resolves; the purchase
// and advertising files name what the store and the game use.
#include "tools/content_builder/catalogue_content.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <pugixml.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "engine/core/property_map.h"
#include "engine/resources/string_table.h"
#include "game/data/ad_manager.h"
#include "game/data/igp_manager.h"
#include "game/data/store_catalogue.h"
#include "game/data/trophy_list.h"
#include "tests/test_kit/temp_folder.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/string_table_source.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/window_content.h"

namespace {

namespace fs = std::filesystem;
namespace CB = ContentBuilder;
namespace Theme = ContentBuilder::Theme;

const fs::path kContent = QUORVEL_CONTENT_DIR;

const auto ReadText = &QRV::TestKit::ReadFileText;

class CatalogueContent : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root = fs::temp_directory_path() / ("quorvel_catalogue_content_" + std::to_string(::getpid()));
        fs::remove_all(root);
        CB::OutputTree out(root);
        CB::BuildStringTable(kContent.string(), out);
        CB::BuildCatalogueContent(kContent.string(), out);
        const std::string strings = ReadText(root / "Resources" / Theme::kStringsFolder / Theme::kStringsFile);
        ASSERT_TRUE(table.LoadFromMemory(strings.data(), strings.size()));
    }
    static void TearDownTestSuite() { fs::remove_all(root); }

    static pugi::xml_document Parse(std::string_view file) {
        pugi::xml_document document;
        const fs::path path = root / "Resources" / Theme::kCatalogueFolder / file;
        EXPECT_TRUE(document.load_file(path.c_str())) << path;
        return document;
    }
    static bool IsKey(const std::string& key) { return !key.empty() && table.Find(key) != key; }
    static bool IsTexture(const std::string& key) { return fs::is_regular_file(root / CB::RunPathOfKey(key)); }

    static fs::path root;
    static QRV::JC_STRING_TABLE table;
};
fs::path CatalogueContent::root;
QRV::JC_STRING_TABLE CatalogueContent::table;

TEST_F(CatalogueContent, EveryTrophyHasOneConditionThatANewPlayerHasNotMet) {
    const pugi::xml_document document = Parse(Theme::kTrophiesFile);
    JCTrophyList list;
    ASSERT_TRUE(list.LoadTrophiesFrom(document));
    std::set<std::string> wanted(Theme::kRequiredTrophies.begin(), Theme::kRequiredTrophies.end());
    for (std::string_view pack : Theme::kOrdinaryPacks)
        wanted.insert("achievements_txt_" + std::string(pack) + "_name");
    EXPECT_EQ(list.Trophies().size(), wanted.size());
    for (const std::string& name : wanted) EXPECT_NE(list.FindTrophy(name), nullptr) << name;

    // What a new player has: the statistics' defaults, the default hearts, nothing passed.
    JCPropertyMap fresh;
    for (const char* statistic : {"money", "money_max", "hint_use", "without_hint_in_row_max", "without_hint_in_row",
                                  "without_error_in_row_max", "without_error_in_row", "fail_level_in_row_max",
                                  "fail_level_in_row", "perfect_levels"})
        fresh.SetUInt(statistic, 0);
    fresh.SetFloat("level_time_min", 9999.0f);
    fresh.SetInt("life", Theme::kStartingLives);
    fresh.SetFloat("passed_fraction", 0.0f);
    fresh.SetBool("all_other_trophies", 0);
    for (const QRV::G_TROPHY* trophy : list.Trophies()) {
        SCOPED_TRACE(trophy->name);
        ASSERT_EQ(trophy->ConditionCount(), 1u);
        const QRV::JS_TROPHY_CONDITION& condition = trophy->conditions[0];
        ASSERT_NE(fresh.Find(condition.name), nullptr) << condition.name;
        EXPECT_FALSE(list.TestTrophy(trophy->name, fresh));
        // Reaching the target earns it.
        JCPropertyMap reached;
        reached.SetString(condition.name, document
                                              .find_node([&](const pugi::xml_node& n) {
                                                  return std::string_view(n.name()) == "condition" &&
                                                         n.parent().attribute("name").as_string() == trophy->name;
                                              })
                                              .attribute("value")
                                              .as_string());
        if (condition.valueType == QRV::kTrophyTypeBool) reached.SetBool(condition.name, condition.boolValue);
        EXPECT_TRUE(list.TestTrophy(trophy->name, reached));
        EXPECT_GT(trophy->bonus, 0);
        EXPECT_TRUE(IsKey(trophy->name));
        EXPECT_TRUE(IsKey(trophy->desc));
        EXPECT_TRUE(IsTexture(trophy->openPicture.textureName)) << trophy->openPicture.textureName;
        EXPECT_TRUE(IsTexture(trophy->closedPicture.textureName)) << trophy->closedPicture.textureName;
        EXPECT_NE(trophy->openPicture.textureName, trophy->closedPicture.textureName);
    }
}

// Each ladder, climbed from the default player's count, offers rising rungs at rising prices and
// ends; the endless items are offered whatever the count.
TEST_F(CatalogueContent, StoreLaddersRiseFromTheDefaultPlayersCounts) {
    const pugi::xml_document document = Parse(Theme::kStoreFile);
    JCStoreCatalogue store;
    ASSERT_TRUE(store.LoadStoreItems(document.document_element()));
    for (const auto& [name, start] :
         {std::pair{"life", Theme::kStartingLives}, std::pair{"error", Theme::kStartingErrors}}) {
        SCOPED_TRACE(name);
        int count = start, rungs = 0, price = -1;
        while (const JCStoreItem* rung = store.FindItem(name, count)) {
            ASSERT_GT(rung->GetValue(), count);
            EXPECT_GT(rung->Find("price")->intValue, price);
            EXPECT_EQ(rung->Find("endless")->intValue, 0);
            count = rung->GetValue();
            price = rung->Find("price")->intValue;
            ASSERT_LT(++rungs, 100);
        }
        EXPECT_GE(rungs, 2);
    }
    for (std::string_view name : Theme::kStoreEndless) {
        for (int32_t amount : {-1, 0, 1, 1000}) EXPECT_NE(store.FindItem(std::string(name), amount), nullptr) << name;
    }
    std::vector<const JCStoreItem*> all;
    for (const JCStoreItem* item : store.Items())
        for (const JCStoreItem* rung = item; rung != nullptr;
             rung = rung->children.empty() ? nullptr : rung->children[0])
            all.push_back(rung);
    EXPECT_EQ(all.size(), 9u);
    for (const JCStoreItem* item : all) {
        EXPECT_TRUE(IsKey(item->Text("annotation"))) << item->Text("annotation");
        EXPECT_TRUE(IsTexture(item->Text("image"))) << item->Text("image");
    }
}

TEST_F(CatalogueContent, PurchasesAndNetworksNameWhatTheGameUses) {
    const pugi::xml_document purchases = Parse(Theme::kPurchasesFile);
    JCIgpManager products;
    products.SetWrapper(nullptr);
    ASSERT_TRUE(products.Load(purchases.document_element(), kIgpDefaultAppKey, nullptr));
    EXPECT_NE(products.FindByName(std::string(Theme::kPackProduct)), nullptr);
    const pugi::xml_document storeFile = Parse(Theme::kStoreFile);
    JCStoreCatalogue store;
    ASSERT_TRUE(store.LoadStoreItems(storeFile.document_element()));
    int sold = 0;
    for (const JCStoreItem* item : store.Items()) {
        if (item->Text("inapp").empty()) continue;
        ++sold;
        EXPECT_NE(products.FindByName(item->Text("inapp")), nullptr) << item->Text("inapp");
    }
    EXPECT_EQ(sold, 1);

    const pugi::xml_document networks = Parse(Theme::kAdvertisingFile);
    std::set<int32_t> ids;
    for (const pugi::xml_node& network : networks.child("ad").children()) {
        JCPropertyMap values;
        values.Load(network);
        ids.insert(AdNetworkIdFromName(values.Find("name")->text));
    }
    EXPECT_EQ(ids, (std::set<int32_t>{0, 1, 2, 3, 5, 9}));
    JCAdManager manager;
    EXPECT_TRUE(manager.Load(networks.child("ad")));
    for (int32_t id = 0; id <= 13; ++id) EXPECT_EQ(manager.Find(id), nullptr) << id;
}

// A fault stops the build naming file and line, and no catalogue is written.
TEST_F(CatalogueContent, AFaultStopsTheBuildNamingFileAndLine) {
    const fs::path broken = root / "broken";
    fs::create_directories(broken);
    fs::copy(kContent, broken / "content", fs::copy_options::recursive);
    const fs::path trophies = broken / "content" / Theme::kCatalogueSource / Theme::kTrophiesFile;
    std::string text = ReadText(trophies);
    const std::string condition = "<condition name=\"hint_use\" value_type=\"int\" value=\"10\" operator=\"&gt;=\"/>";
    const size_t at = text.find(condition);
    ASSERT_NE(at, std::string::npos);
    text.insert(at + condition.size(), condition);
    std::ofstream(trophies, std::ios::binary) << text;
    const size_t trophy = text.rfind("<trophy ", at);
    const long line = 1 + std::count(text.begin(), text.begin() + static_cast<long>(trophy), '\n');

    CB::OutputTree out(broken / "run");
    CB::BuildStringTable((broken / "content").string(), out);
    try {
        CB::BuildCatalogueContent((broken / "content").string(), out);
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        const std::string expected =
            "trophies.xml:" + std::to_string(line) + ": a trophy has exactly one condition, this one 2";
        EXPECT_NE(std::string(e.what()).find(expected), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists(broken / "run" / "Resources" / Theme::kCatalogueFolder / Theme::kTrophiesFile));
}

}  // namespace
