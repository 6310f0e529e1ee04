#include "game/data/igp_manager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/property_map.h"
#include "engine/platform/clock.h"
#include "game/data/igp_wrapper_offline.h"
#include "game/data/purchase_switch.h"
#include "tests/test_kit/global_guard.h"
#include "tests/test_kit/parsed_xml.h"

namespace {

using QRV::TestKit::ParsedXml;

constexpr const char* kPurchases = R"(<inapp>
  <item name="second_chance" product_id="quorvel.second_chance" type="Consumable"/>
  <other name="skipped" product_id="quorvel.skipped" type="c"/>
  <item name="pack_unlock" product_id="quorvel.pack_unlock" type="non"/>
  <item name="plain" product_id="quorvel.plain"/>
  <item name="odd" product_id="quorvel.odd" type="x"/>
</inapp>)";

// Writes every call of the store as a line.
class PurchaseLog : public QRV::JC_IGP_DELEGATE {
public:
    void OnProductsReceived() override { lines.push_back("products"); }
    void OnPurchaseStarted() override { lines.push_back("started"); }
    void OnPurchaseFinished(JSIgpItem* item, bool success) override {
        lines.push_back("finished " + (item != nullptr ? item->name : "null") + (success ? " true" : " false"));
        if (!next.empty() && store != nullptr) store->Purchase(std::exchange(next, ""));
    }
    void OnPurchaseSucceeded(JSIgpItem* item) override {
        lines.push_back("succeeded " + (item != nullptr ? item->name : "null"));
        if (store != nullptr) store->Purchase("quorvel.plain");  // still pending: ignored
    }
    std::vector<std::string> lines;
    QRV::JC_IGP_WRAPPER_I* store = nullptr;
    std::string next;  // bought from the finish handler
};

// A store that records how it was set up.
class RecordingStore : public QRV::JC_IGP_WRAPPER_I {
public:
    explicit RecordingStore(bool accept) : accept(accept) {}
    bool Init(const std::string& appKey, void* window, JCIgpManager* owner) override {
        JC_IGP_WRAPPER_I::Init(appKey, window, owner);
        handle = window;
        return accept;
    }
    void RequestProducts() override { ++requests; }
    void ExtraAction() override {}
    void Purchase(const std::string&) override {}
    void Reserved5() override {}
    void Update() override {}
    bool accept;
    void* handle = nullptr;
    int requests = 0;
};

TEST(IgpProducts, ItemsAndTypesFromTheFile) {
    ParsedXml xml(kPurchases);
    JCIgpManager manager;
    manager.SetWrapper(nullptr);
    EXPECT_TRUE(manager.Load(xml.Root(), kIgpDefaultAppKey, nullptr));
    const struct {
        const char* name;
        const char* productId;
        int32_t type;
    } expected[] = {{"second_chance", "quorvel.second_chance", kIgpConsumable},
                    {"pack_unlock", "quorvel.pack_unlock", kIgpNonConsumable},
                    {"plain", "quorvel.plain", kIgpOtherType},
                    {"odd", "quorvel.odd", kIgpOtherType}};
    ASSERT_EQ(manager.Items().size(), std::size(expected));
    for (const auto& e : expected) {
        SCOPED_TRACE(e.name);
        JSIgpItem* item = manager.FindByName(e.name);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(manager.FindByProductId(e.productId), item);
        EXPECT_EQ(item->type, e.type);
        EXPECT_FALSE(item->available);
        EXPECT_EQ(item->priceText, "");
    }
    EXPECT_EQ(manager.FindByName("skipped"), nullptr);
    EXPECT_EQ(manager.FindByName("Plain"), nullptr);
    EXPECT_EQ(manager.FindByProductId("quorvel.plai"), nullptr);
    EXPECT_FALSE(manager.Load(pugi::xml_node(), kIgpDefaultAppKey, nullptr));
}

TEST(IgpProducts, TheStoreGetsTheFilesKeyOrTheDefault) {
    const struct {
        const char* file;
        bool accept;
        const char* key;
    } cases[] = {
        {"<inapp><item name=\"a\"/></inapp>", true, kIgpDefaultAppKey},
        {"<inapp app_key=\"feedface\"><item name=\"a\"/></inapp>", true, "feedface"},
        {"<inapp app_key=\"\"/>", true, ""},
        {"<inapp/>", false, kIgpDefaultAppKey},
    };
    int window = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ParsedXml xml(c.file);
        JCIgpManager manager;
        auto owned = std::make_unique<RecordingStore>(c.accept);
        RecordingStore* store = owned.get();
        manager.SetWrapper(std::move(owned));
        EXPECT_EQ(manager.Load(xml.Root(), kIgpDefaultAppKey, &window), c.accept);
        EXPECT_EQ(store->GetKey(), c.key);
        EXPECT_EQ(store->GetManager(), &manager);
        EXPECT_EQ(store->handle, &window);
        EXPECT_EQ(store->requests, c.accept ? 1 : 0);
    }
}

class IgpOfflineStore : public ::testing::Test {
protected:
    void SetUp() override {
        globals.Set(QRV::g_frameTime, 0.25f);
        manager.SetDelegate(&log);
        xml = std::make_unique<ParsedXml>(kPurchases);
        ASSERT_TRUE(manager.Load(xml->Root(), kIgpDefaultAppKey, nullptr));
        store = dynamic_cast<QRV::JC_IGP_WRAPPER_TEST*>(manager.GetWrapper());
        ASSERT_NE(store, nullptr);
        log.store = store;
        log.lines.clear();
    }
    // Frames of 0.25 s.
    void Frames(int count) {
        for (int i = 0; i < count; ++i) store->Update();
    }

    QRV::TestKit::GlobalGuard globals;
    PurchaseLog log;
    JCIgpManager manager;
    std::unique_ptr<ParsedXml> xml;
    QRV::JC_IGP_WRAPPER_TEST* store = nullptr;
};

TEST_F(IgpOfflineStore, EveryProductIsAvailableForNothing) {
    ASSERT_EQ(manager.Items().size(), 4u);
    for (const JSIgpItem& item : manager.Items()) {
        EXPECT_TRUE(item.available);
        EXPECT_EQ(item.price, 0.0);
        EXPECT_EQ(item.priceText, "0");
        EXPECT_EQ(item.secondText, "TEST");
    }
    store->RequestProducts();
    EXPECT_EQ(log.lines, std::vector<std::string>{"products"});
    // Without a delegate the answer reaches nobody.
    manager.SetDelegate(nullptr);
    store->RequestProducts();
    EXPECT_EQ(log.lines.size(), 1u);
}

// Started at once; succeeded and finished with null after 2.0 s of frame time, not before. A
// purchase asked for while one is pending (also from the success handler) is ignored.
TEST_F(IgpOfflineStore, APurchaseSucceedsTwoSecondsAfterItStarts) {
    store->Purchase("quorvel.second_chance");
    EXPECT_EQ(log.lines, std::vector<std::string>{"started"});
    ASSERT_NE(store->GetCurrentItem(), nullptr);
    EXPECT_EQ(store->GetCurrentItem()->name, "second_chance");
    store->Purchase("quorvel.pack_unlock");
    Frames(7);
    EXPECT_EQ(log.lines, std::vector<std::string>{"started"});
    Frames(1);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"started", "succeeded second_chance", "finished null true"}));
    EXPECT_EQ(store->GetCurrentItem(), nullptr);
    Frames(20);
    EXPECT_EQ(log.lines.size(), 3u);
}

TEST_F(IgpOfflineStore, TheFinishHandlerMayBuyTheNextProduct) {
    log.next = "quorvel.pack_unlock";
    store->Purchase("quorvel.second_chance");
    Frames(8);
    Frames(8);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"started", "succeeded second_chance", "finished null true",
                                                   "started", "succeeded pack_unlock", "finished null true"}));
}

TEST_F(IgpOfflineStore, AnUnknownProductOrNoDelegateDoesNothing) {
    store->Purchase("quorvel.nothing");
    store->Purchase("second_chance");  // a name, not a product id
    manager.SetDelegate(nullptr);
    store->Purchase("quorvel.plain");
    EXPECT_EQ(store->GetCurrentItem(), nullptr);
    Frames(20);
    store->ExtraAction();
    store->Reserved5();
    EXPECT_TRUE(log.lines.empty());
    manager.SetDelegate(&log);
    store->Purchase("quorvel.plain");
    Frames(8);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"started", "succeeded plain", "finished null true"}));
}

TEST(PurchaseSwitch, OnWhenTheEditionNamesAPurchaseFile) {
    const struct {
        const char* inapp;  // null: no such value
        bool on;
    } cases[] = {{nullptr, false}, {"", false}, {"0", true}, {"data/share/main/other inapp.xml", true}};
    for (const auto& c : cases) {
        JCPropertyMap edition;
        if (c.inapp != nullptr) edition.SetString("inapp", c.inapp);
        EXPECT_EQ(PurchasesEnabled(edition), c.on) << (c.inapp != nullptr ? c.inapp : "(none)");
    }
}

}  // namespace
