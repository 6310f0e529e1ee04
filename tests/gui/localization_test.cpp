#include "engine/gui/localization.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <string>
#include <vector>

#include "engine/resources/string_table.h"
#include "tests/resources/resource_test_support.h"

namespace QRV {
namespace {

std::string Sheet(const std::string& hello) {
    return "<Workbook><Worksheet><Table><Row><Cell><Data>hello</Data></Cell><Cell><Data>" + hello +
           "</Data></Cell></Row></Table></Worksheet></Workbook>";
}

// Language folders below "data/": "en", "de", "fr" (a zip archive), "empty" (no table),
// "no locale" (a blank in its name) and "bad" (a table that does not parse).
class LocalizationTest : public TestSupport::ResourceTreeTest {
protected:
    void SetUp() override {
        ResourceTreeTest::SetUp();
        Put("data/en/strings.xml", Sheet("Hello"));
        Put("data/de/strings.xml", Sheet("Hallo"));
        TestSupport::WriteZip(resources + "data/fr", {{"strings.xml", Sheet("Bonjour"), "", true}});
        Put("data/empty/other.xml", "<x/>");
        Put("data/no locale/strings.xml", Sheet("Blank"));
        Put("data/bad/strings.xml", "<Workbook><Worksheet>");
        localization.baseFolder = "data/";
    }
    void WithMainTable() {
        Put("strings.xml", Sheet("Main"));
        ASSERT_EQ(manager.LoadMain(), 1);
    }

    // "hello" through the held table; empty without one.
    std::string Hello(const pugi::xml_document* strings) {
        if (strings == nullptr) return "";
        JC_STRING_TABLE table;
        EXPECT_TRUE(table.Load(*strings));
        return table.Find("hello");
    }

    JCLocalization localization;
};

TEST_F(LocalizationTest, TheRequestThenTheDefaultThenTheFallback) {
    const struct {
        const char* request;
        const char* defaultLanguage;
        const char* fallback;
        bool mainTable;
        const char* current;
        const char* hello;
    } cases[] = {
        {"de", "en", "", false, "de", "Hallo"},
        {"", "en", "de", false, "en", "Hello"},
        {"xx", "en", "de", false, "en", "Hello"},
        {"xx", "yy", "de", false, "de", "Hallo"},
        {"fr", "en", "", false, "fr", "Bonjour"},
        // A folder without a table, or one whose name breaks the key, is passed over.
        {"empty", "yy", "de", false, "de", "Hallo"},
        {"no locale", "no locale", "en", false, "en", "Hello"},
        {"xx", "yy", "zz", false, "", ""},
        {"", "", "", false, "", ""},
        // Without a language, or when its table does not parse, the main repository's table.
        {"xx", "yy", "zz", true, "", "Main"},
        {"bad", "en", "", true, "bad", "Main"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.request) + " / " + c.defaultLanguage + " / " + c.fallback);
        if (c.mainTable) WithMainTable();
        JCLocalization l;
        l.baseFolder = "data/";
        l.defaultLanguage = c.defaultLanguage;
        l.fallbackLanguage = c.fallback;
        const pugi::xml_document* strings = l.SetLanguage(c.request);
        EXPECT_EQ(l.currentLanguage, c.current);
        EXPECT_EQ(Hello(strings), c.hello);
        EXPECT_EQ(l.strings, strings);
        // Folders that were tried and failed are not left loaded.
        for (const char* folder : {"data/empty", "data/no locale", "data/xx"}) {
            EXPECT_EQ(manager.FindRepository(folder), nullptr) << folder;
        }
    }
}

// From the main table to "de" (asked twice) to "en" and back to none.
TEST_F(LocalizationTest, ChangesReleaseTheOldTableAndUnloadItsFolder) {
    WithMainTable();
    localization.defaultLanguage = "xx";
    ASSERT_EQ(Hello(localization.SetLanguage("")), "Main");
    const pugi::xml_document* german = localization.SetLanguage("de");
    EXPECT_EQ(Hello(german), "Hallo");
    EXPECT_EQ(manager.GetResource("strings.xml")->refCount, 0);
    const JC_REPOSITORY* folder = manager.FindRepository("data/de");
    EXPECT_EQ(localization.SetLanguage("de"), german);
    EXPECT_EQ(manager.FindRepository("data/de"), folder);
    EXPECT_EQ(manager.GetResource("data/de strings.xml")->refCount, 1);

    EXPECT_EQ(Hello(localization.SetLanguage("en")), "Hello");
    EXPECT_EQ(manager.FindRepository("data/de"), nullptr);
    EXPECT_EQ(manager.GetResource("data/de strings.xml"), nullptr);
    localization.Unload();
    EXPECT_EQ(localization.currentLanguage + (localization.strings == nullptr ? "none" : "held"), "none");
    EXPECT_EQ(manager.FindRepository("data/en"), nullptr);
}

}  // namespace
}  // namespace QRV
