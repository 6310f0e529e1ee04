#include "engine/resources/repository_manager.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/callback.h"
#include "engine/resources/resource_loaders.h"
#include "tests/resources/resource_test_support.h"

namespace {

using QRV::JS_RESOURCE;
using QRV::TestSupport::WriteZip;

const char kPassword[] = "MarrowindByPeltane";

int g_loadedHookCalls = 0;
int CountLoadedHook(uintptr_t) {
    ++g_loadedHookCalls;
    return 0;
}

class RepositoryTest : public QRV::TestSupport::ResourceTreeTest {
protected:
    void SetUp() override {
        ResourceTreeTest::SetUp();
        Put("game.xml", "<game/>");
        Put("strings.xml", "<Workbook/>");
        Put("solo data.xml", "<main-solo/>");  // reached only while no repository "solo" is loaded
        Put("data data.xml", "<main-data/>");  // shadowed while the repository "data" is loaded
        Put("data/data.xml", "<data/>");
        Put("data/share/main/other/sound.xml", "<sound/>");
        Put("data/share/main/other/editions.xml", "<editions/>");
        Put("notes.txt", "PK\x04 not a zip");
        std::filesystem::create_directories(resources + "empty");
        WriteZip(resources + "packs/art.pak", {
                                                  {"img/", "", "", false},
                                                  {"img/a.png", "png bytes", "", true},
                                                  {"b.xml", "<b/>", kPassword, true},
                                              });
    }
    void TearDown() override {
        QRV::ReleaseHook(QRV::cbRepositoryLoaded);
        ResourceTreeTest::TearDown();
    }

    // Which record a key reaches, as "repository:name", or "null".
    std::string Resolve(const std::string& key) {
        const JS_RESOURCE* record = manager.GetResource(key);
        return record == nullptr ? "null" : record->path + ":" + record->name;
    }
};

TEST_F(RepositoryTest, MainRepositoryHoldsTheTopLevelFilesOnly) {
    QRV::InstallHook(QRV::cbRepositoryLoaded, CountLoadedHook);
    g_loadedHookCalls = 0;
    EXPECT_EQ(manager.LoadMain(), 1);
    EXPECT_EQ(g_loadedHookCalls, 1);
    std::vector<std::string> names;
    for (const auto& entry : manager.resources) names.push_back(entry.first);
    EXPECT_EQ(names,
              (std::vector<std::string>{"data data.xml", "game.xml", "notes.txt", "solo data.xml", "strings.xml"}));
    const JS_RESOURCE* game = manager.GetResource("game.xml");
    EXPECT_EQ(manager.LoadMain(), 1);  // unchanged listing: the same records
    EXPECT_EQ(manager.GetResource("game.xml"), game);
    EXPECT_EQ(manager.resources.size(), names.size());
}

TEST_F(RepositoryTest, EmptyResourcesFolderLoadsNothing) {
    std::filesystem::remove_all(resources);
    std::filesystem::create_directories(resources);
    QRV::InstallHook(QRV::cbRepositoryLoaded, CountLoadedHook);
    g_loadedHookCalls = 0;
    EXPECT_EQ(manager.LoadMain(), 0);
    EXPECT_EQ(g_loadedHookCalls, 0);
    EXPECT_TRUE(manager.resources.empty());
}

TEST_F(RepositoryTest, KeysResolveAcrossRepositories) {
    ASSERT_EQ(manager.LoadMain(), 1);
    ASSERT_TRUE(manager.LoadNamed("data"));
    ASSERT_TRUE(manager.LoadNamed("data/share/main/other"));
    ASSERT_TRUE(manager.LoadNamed("packs/art.pak"));
    const struct {
        const char* key;
        const char* expected;
    } cases[] = {
        {"game.xml", ":game.xml"},
        {"missing.xml", "null"},
        {"data.xml", "null"},  // one part searches the main map only
        {"data data.xml", "data:data.xml"},
        {"data missing.xml", "null"},         // a loaded repository answers alone
        {"solo data.xml", ":solo data.xml"},  // no repository "solo": the whole key in the main map
        {"data/share/main/other sound.xml", "data/share/main/other:sound.xml"},
        {"data/share/main/other game.xml", "null"},
        {"packs/art.pak img/a.png", "packs/art.pak:img/a.png"},
        {"packs/art.pak img/", "packs/art.pak:img/"},
        {"packs/art.pak b.xml", "packs/art.pak:b.xml"},
        {"Data data.xml", "null"},  // names are exact
        {"data data.xml extra", "null"},
        {"a b c", "null"},
        {"", "null"},
        {"   ", "null"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Resolve(c.key), c.expected) << "key \"" << c.key << "\"";
    }
}

TEST_F(RepositoryTest, NamedRepositoryDetection) {
    manager.password = kPassword;
    EXPECT_FALSE(manager.LoadNamed("notes.txt"));  // a file that is not a zip registers nothing
    EXPECT_FALSE(manager.LoadNamed("missing"));
    EXPECT_FALSE(manager.LoadNamed("empty"));
    EXPECT_TRUE(manager.repositories.empty());

    ASSERT_TRUE(manager.LoadNamed("packs/art.pak"));
    ASSERT_EQ(manager.repositories.size(), 1u);
    const QRV::JC_REPOSITORY* zip = manager.repositories[0];
    EXPECT_EQ(zip->name, "packs/art.pak");
    EXPECT_EQ(zip->password, kPassword);
    ASSERT_EQ(zip->resources.size(), 3u);
    for (const auto& entry : zip->resources) {
        EXPECT_EQ(entry.second->path, "packs/art.pak");
        EXPECT_EQ(entry.second->password, kPassword);
        EXPECT_EQ(entry.second->kind, QRV::kResourceNone);
    }

    // The encrypted member opens with the manager's password; the plain one reads as it is.
    JS_RESOURCE* encrypted = manager.GetResource("packs/art.pak b.xml");
    ASSERT_EQ(QRV::LoadResource(nullptr, encrypted), 1);
    EXPECT_EQ(std::string(static_cast<char*>(encrypted->object), encrypted->size), "<b/>");
    JS_RESOURCE* plain = manager.GetResource("packs/art.pak img/a.png");
    ASSERT_EQ(QRV::LoadResource(nullptr, plain), 1);
    EXPECT_EQ(std::string(static_cast<char*>(plain->object), plain->size), "png bytes");

    // Loading again with the same listing adds nothing and keeps the records.
    const JS_RESOURCE* before = manager.GetResource("packs/art.pak b.xml");
    ASSERT_TRUE(manager.LoadNamed("packs/art.pak"));
    EXPECT_EQ(manager.repositories.size(), 1u);
    EXPECT_EQ(zip->resources.size(), 3u);
    EXPECT_EQ(manager.GetResource("packs/art.pak b.xml"), before);
}

TEST_F(RepositoryTest, ReloadAfterTheListingChangedAddsOnlyNewNames) {
    ASSERT_TRUE(manager.LoadNamed("data/share/main/other"));
    JS_RESOURCE* sound = manager.GetResource("data/share/main/other sound.xml");
    ASSERT_NE(QRV::GetResourceXml(sound), nullptr);
    Put("data/share/main/other/added.xml", "<added/>");
    ASSERT_TRUE(manager.LoadNamed("data/share/main/other"));
    EXPECT_EQ(manager.GetResource("data/share/main/other sound.xml"), sound);
    EXPECT_EQ(sound->kind, QRV::kResourceXml);  // the loaded object survives
    EXPECT_NE(manager.GetResource("data/share/main/other added.xml"), nullptr);
    EXPECT_EQ(manager.repositories[0]->resources.size(), 3u);
}

TEST_F(RepositoryTest, UnloadedRepositoryLingersUntilItsLastRecordIsSwept) {
    ASSERT_EQ(manager.LoadMain(), 1);
    ASSERT_TRUE(manager.LoadNamed("data"));
    pugi::xml_document* document = QRV::AcquireXmlResource("data data.xml");
    ASSERT_NE(document, nullptr);
    EXPECT_STREQ(document->first_child().name(), "data");

    EXPECT_TRUE(QRV::UnloadRepository("data"));
    ASSERT_EQ(manager.repositories.size(), 1u);  // a record is still loaded
    EXPECT_EQ(manager.repositories[0]->unused, 1);
    // An unloaded repository no longer answers: the whole key goes to the main map.
    EXPECT_EQ(Resolve("data data.xml"), ":data data.xml");

    EXPECT_EQ(QRV::SweepUnusedResources(), 0);  // still referenced
    ASSERT_EQ(manager.repositories.size(), 1u);
    EXPECT_TRUE(QRV::ReleaseXml(document));
    EXPECT_EQ(QRV::SweepUnusedResources(), 1);
    EXPECT_TRUE(manager.repositories.empty());

    // A repository without loaded records goes at once.
    ASSERT_TRUE(manager.LoadNamed("data"));
    EXPECT_TRUE(QRV::UnloadRepository("data"));
    EXPECT_TRUE(manager.repositories.empty());
    EXPECT_TRUE(QRV::UnloadRepository("never-loaded"));
}

TEST_F(RepositoryTest, LoadingAnUnloadedRepositoryAgainRevivesIt) {
    ASSERT_TRUE(manager.LoadNamed("data"));
    pugi::xml_document* document = QRV::AcquireXmlResource("data data.xml");
    ASSERT_NE(document, nullptr);
    QRV::UnloadRepository("data");
    ASSERT_TRUE(manager.LoadNamed("data"));
    ASSERT_EQ(manager.repositories.size(), 1u);
    EXPECT_EQ(manager.repositories[0]->unused, 0);
    EXPECT_EQ(QRV::AcquireXmlResource("data data.xml"), document);  // same record, same object

    EXPECT_TRUE(QRV::ReleaseXml(document) == false);
    EXPECT_TRUE(QRV::ReleaseXml(document));
    QRV::SweepUnusedResources();
    // The sweep unloaded the document but kept the records of the live repository.
    ASSERT_EQ(manager.repositories.size(), 1u);
    JS_RESOURCE* record = manager.GetResource("data data.xml");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->kind, QRV::kResourceNone);
    EXPECT_EQ(record->removePending, 0);
}

TEST_F(RepositoryTest, UnloadMainKeepsLoadedRecordsUntilTheSweep) {
    ASSERT_EQ(manager.LoadMain(), 1);
    pugi::xml_document* game = QRV::AcquireXmlResource("game.xml");
    ASSERT_NE(game, nullptr);
    EXPECT_FALSE(manager.UnloadMain());
    EXPECT_EQ(manager.resources.size(), 1u);
    EXPECT_EQ(manager.FindByObject(game), manager.GetResource("game.xml"));
    QRV::SweepUnusedResources();
    EXPECT_EQ(manager.resources.size(), 1u);  // still referenced
    QRV::ReleaseXml(game);
    EXPECT_EQ(QRV::SweepUnusedResources(), 1);
    EXPECT_TRUE(manager.resources.empty());
    EXPECT_EQ(manager.lastRecord, nullptr);
}

}  // namespace
