#include "game/data/store_catalogue.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <pugixml.hpp>

#include <string>

#include "engine/resources/load_error.h"
#include "tests/resources/resource_test_support.h"
#include "tests/test_kit/parsed_xml.h"

namespace {

using QRV::TestKit::ParsedXml;

// Three rungs of "error" (the third nested two deep, behind an element that is not an item),
// elements before the first "item" that are not items, an item of another element name after it,
// a near-miss name and an endless item.
constexpr const char* kStore = R"(<store>
  <note name="error" value="99"/>
  <item name="error" value="3" price="200" annotation="shop_error3" image="shop error.png">
    <picture name="error" value="98"/>
    <item name="error" value="5" price="400">
      <item name="error" value="7" price="800"/>
    </item>
  </item>
  <other name="refill_hint" endless="yes" value="1" price="50"/>
  <item name="Error" value="100" price="1"/>
  <item name="second_chance" endless="true" InAppKey="second_chance" value="1"/>
  <item/>
</store>)";

class StoreLadderFile : public QRV::TestSupport::ResourceTreeTest {};

TEST(StoreLadder, FindsTheFirstRungAboveTheAmount) {
    ParsedXml xml(kStore);
    JCStoreCatalogue catalogue;
    ASSERT_TRUE(catalogue.LoadStoreItems(xml.Root()));
    const struct {
        const char* name;
        int32_t amount;
        const char* price;  // of the item found; null: none
    } cases[] = {
        {"error", 2, "200"},
        {"error", 3, "400"},
        {"error", 4, "400"},
        {"error", 6, "800"},
        {"error", 7, nullptr},
        {"error", -5, "200"},
        {"Error", 7, "1"},
        {"Error", 100, nullptr},
        {"ERROR", 0, nullptr},
        {"erro", 0, nullptr},
        {"refill_hint", -1, "50"},
        {"refill_hint", 0, "50"},
        {"refill_hint", 1000, "50"},
        {"second_chance", 2147483647, ""},
        {"note", 0, nullptr},
        {"", -1, ""},
        {"", 0, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.amount));
        const JCStoreItem* found = catalogue.FindItem(c.name, c.amount);
        if (c.price == nullptr) {
            EXPECT_EQ(found, nullptr);
        } else {
            ASSERT_NE(found, nullptr);
            EXPECT_EQ(found->Text("price"), c.price);
        }
    }
}

TEST(StoreLadder, ItemsFromTheFirstItemOnWithTheirProperties) {
    ParsedXml xml(kStore);
    JCStoreCatalogue catalogue;
    ASSERT_TRUE(catalogue.LoadStoreItems(xml.Root()));
    ASSERT_EQ(catalogue.Items().size(), 5u);
    const JCStoreItem* error = catalogue.Items()[0];
    EXPECT_EQ(error->Text("annotation"), "shop_error3");
    EXPECT_EQ(error->Text("image"), "shop error.png");
    EXPECT_EQ(error->GetValue(), 3);
    EXPECT_EQ(error->Find("endless")->intValue, 0);
    // "picture" comes before the first child item, so it is none.
    ASSERT_EQ(error->children.size(), 1u);
    ASSERT_EQ(error->children[0]->children.size(), 1u);
    EXPECT_EQ(error->children[0]->children[0]->GetValue(), 7);
    EXPECT_EQ(catalogue.Items()[1]->Text("name"), "refill_hint");
    EXPECT_EQ(catalogue.Items()[1]->Find("endless")->intValue, 1);
    // "InAppKey" is kept as "inapp".
    EXPECT_EQ(catalogue.Items()[3]->Text("inapp"), "second_chance");
    EXPECT_EQ(catalogue.Items()[3]->Find("InAppKey"), nullptr);
    const JCStoreItem* bare = catalogue.Items()[4];
    for (const char* key : {"name", "price", "annotation", "image", "inapp", "value"}) {
        ASSERT_NE(bare->Find(key), nullptr) << key;
        EXPECT_EQ(bare->Text(key), "") << key;
    }
    EXPECT_EQ(bare->Find("endless")->intValue, 0);
    EXPECT_EQ(bare->GetValue(), 0);

    catalogue.Clear();
    EXPECT_TRUE(catalogue.Items().empty());
    EXPECT_FALSE(catalogue.LoadStoreItems(pugi::xml_node()));
}

// A ladder nested far deeper than a stack of recursive calls would survive is built, searched and
// deleted on a thread with a small stack (256 KiB: a frame per level would need megabytes).
TEST(StoreLadderThreaded, DeepNestingOnASmallStack) {
    const int depth = 20000;
    std::string text;
    for (int i = 0; i < depth; ++i) text += "<item name=\"life\" value=\"" + std::to_string(i + 1) + "\">";
    for (int i = 0; i < depth; ++i) text += "</item>";
    pugi::xml_document document;
    ASSERT_TRUE(document.load_buffer(text.data(), text.size()));
    struct Job {
        const pugi::xml_document* document;
        int32_t lastValue = 0;
        bool leaf = false;
    } job{&document};
    pthread_attr_t attributes;
    ASSERT_EQ(pthread_attr_init(&attributes), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attributes, 256 * 1024), 0);
    pthread_t thread;
    auto run = [](void* argument) -> void* {
        auto* j = static_cast<Job*>(argument);
        JCStoreCatalogue catalogue;
        catalogue.LoadStoreItems(*j->document);
        if (const JCStoreItem* last = catalogue.FindItem("life", depth - 1)) {
            j->lastValue = last->GetValue();
            j->leaf = last->children.empty();
        }
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, run, &job), 0);
    ASSERT_EQ(pthread_join(thread, nullptr), 0);
    pthread_attr_destroy(&attributes);
    EXPECT_EQ(job.lastValue, depth);
    EXPECT_TRUE(job.leaf);
}

TEST_F(StoreLadderFile, LoadsTheFileOfAKey) {
    Put("data/shop/store.xml", kStore);
    ASSERT_TRUE(manager.LoadNamed("data/shop"));
    JCStoreCatalogue catalogue;
    EXPECT_TRUE(catalogue.LoadFromFile("data/shop store.xml"));
    EXPECT_EQ(catalogue.Items().size(), 5u);
}

TEST(StoreLadderDeathTest, AMissingFileEndsTheProgramNamingIt) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setenv("QUORVEL_NO_MESSAGEBOX", "1", 1);
    EXPECT_EXIT(
        {
            QRV::TestKit::GlobalGuard globals;
            globals.Set(QRV::g_repositoryManager, nullptr);
            JCStoreCatalogue catalogue;
            catalogue.LoadFromFile("data/shop store.xml");
        },
        ::testing::ExitedWithCode(kLoadErrorExitCode), "\\[data/shop store\\.xml\\]");
}

}  // namespace
