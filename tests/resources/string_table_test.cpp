#include "engine/resources/string_table.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <string>

#include "engine/resources/repository_manager.h"
#include "tests/resources/resource_test_support.h"

using QRV::JC_STRING_TABLE;

namespace {

std::string Sheet(const std::string& rows) {
    return "<?xml version=\"1.0\"?>\n<Workbook><Worksheet ss:Name=\"en\"><Table>" + rows +
           "</Table></Worksheet></Workbook>";
}

JC_STRING_TABLE LoadText(const std::string& xml) {
    JC_STRING_TABLE table;
    EXPECT_TRUE(table.LoadFromMemory(xml.data(), xml.size()));
    return table;
}

}  // namespace

TEST(StringTable, ReadsKeyAndValueCellsByPosition) {
    const JC_STRING_TABLE table =
        LoadText(Sheet("<Row><Cell><Data>start</Data></Cell><Cell><Data>Start game</Data></Cell>"
                       "<Cell><Data>ignored third cell</Data></Cell></Row>\n"
                       "<Row><Cell><Data>lonely</Data></Cell></Row>"
                       "<Row><Cell><Data>blank</Data></Cell><Cell><Data/></Cell></Row>"
                       "<Row><Cell><Data>cdata</Data></Cell><Cell><Data><![CDATA[a < b]]></Data></Cell></Row>"
                       "<Row><Cell/><Cell><Data>no key text</Data></Cell></Row>"
                       "<Header><Cell><Data>odd</Data></Cell><Cell><Data>named</Data></Cell></Header>"
                       "<Row><Cell><Data>cyr</Data></Cell><Cell><Data>Привет</Data></Cell></Row>"));

    struct Expected {
        int32_t index;
        const char* key;
        const char* value;
    };
    const Expected expected[] = {
        {1, "start", "Start game"},
        {2, "lonely", JC_STRING_TABLE::kNotLoaded},  // a one-cell row keeps the default value
        {3, "blank", ""},
        {4, "cdata", "a < b"},
        {5, "", "no key text"},
        {6, "odd", "named"},  // every sibling of the first row counts, whatever its name
        {7, "cyr", "Привет"},
    };
    ASSERT_EQ(table.Count(), 7);
    ASSERT_EQ(table.Entries().size(), 7u);
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(table.Entries()[i].index, expected[i].index);
        EXPECT_EQ(table.Entries()[i].key, expected[i].key);
        EXPECT_EQ(table.Entries()[i].value, expected[i].value);
    }
    EXPECT_EQ(table.GetWide("cyr"), L"Привет");
}

TEST(StringTable, FindIsExactAndFallsBackToTheKey) {
    const JC_STRING_TABLE table =
        LoadText(Sheet("<Row><Cell><Data>Play</Data></Cell><Cell><Data>first</Data></Cell></Row>"
                       "<Row><Cell><Data>Play</Data></Cell><Cell><Data>second</Data></Cell></Row>"
                       "<Row><Cell><Data>x</Data></Cell></Row>"));
    EXPECT_EQ(table.Find("Play"), "first");
    EXPECT_EQ(table.Find("play"), "play");
    EXPECT_EQ(table.Find("Play "), "Play ");
    EXPECT_EQ(table.Get("missing_txt"), "missing_txt");
    EXPECT_EQ(table.Get(nullptr), "");
    EXPECT_EQ(table.GetByString("Play"), "first");
    EXPECT_EQ(table.Find("x"), JC_STRING_TABLE::kNotLoaded);
    EXPECT_EQ(table.GetWide("unknown"), L"unknown");
}

TEST(StringTable, MissingStructureOrBrokenXmlIsAFailedLoad) {
    struct Case {
        const char* xml;
        bool loads;
        const char* reason;  // part of the error text
    };
    const Case cases[] = {
        {"<Other/>", false, "no Workbook"},
        {"<Workbook/>", false, "no Worksheet"},
        {"<Workbook><Worksheet/></Workbook>", false, "no Table"},
        {"<Workbook><Table><Row><Cell><Data>k</Data></Cell></Row></Table></Workbook>", false, "no Worksheet"},
        {"<ss:Workbook xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\"><ss:Worksheet>"
         "<ss:Row><ss:Cell><ss:Data>k</ss:Data></ss:Cell></ss:Row></ss:Worksheet></ss:Workbook>",
         false, "no Table"},
        {"<Workbook><Worksheet><Table><Row><Cell><Data>k</Data></Cell></Row>", false, "not XML"},
        // A sheet without rows is a table without entries, not a failure.
        {"<Workbook><Worksheet><Table/></Worksheet></Workbook>", true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xml);
        JC_STRING_TABLE table = LoadText(Sheet("<Row><Cell><Data>old</Data></Cell></Row>"));
        ASSERT_EQ(table.Count(), 1);
        std::string error;
        EXPECT_EQ(table.LoadFromMemory(c.xml, std::strlen(c.xml), &error), c.loads);
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(table.Count(), 0);
        EXPECT_TRUE(table.Entries().empty());
        EXPECT_EQ(table.Find("old"), "old");
    }

    JC_STRING_TABLE table = LoadText(Sheet("<Row><Cell><Data>old</Data></Cell></Row>"));
    EXPECT_FALSE(table.LoadFromMemory(nullptr, 10));
    EXPECT_EQ(table.Count(), 0);
}

// Loading by key goes through the resource cache of a temporary Resources folder.
class StringTableResource : public QRV::TestSupport::ResourceTreeTest {
protected:
    void SetUp() override {
        ResourceTreeTest::SetUp();
        Put("strings.xml", Sheet("<Row><Cell><Data>title_txt</Data></Cell><Cell><Data>Quorvel</Data></Cell></Row>"));
        Put("broken.xml", "<Workbook><Worksheet>");
        Put("no_table.xml", "<Workbook><Worksheet ss:Name=\"en\"/></Workbook>");
        ASSERT_TRUE(QRV::LoadRepository(""));
    }
};

TEST_F(StringTableResource, LoadsByKeyAndDropsItsReference) {
    JC_STRING_TABLE table;
    ASSERT_TRUE(table.LoadFromResource("strings.xml"));
    EXPECT_EQ(table.Find("title_txt"), "Quorvel");

    QRV::JS_RESOURCE* record = QRV::g_repositoryManager->GetResource("strings.xml");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->refCount, 0);

    EXPECT_FALSE(table.LoadFromResource("absent.xml"));
    EXPECT_EQ(table.Count(), 0);
    EXPECT_FALSE(table.LoadFromResource("broken.xml"));
    EXPECT_EQ(table.Count(), 0);
}

TEST_F(StringTableResource, FailedLoadsSayWhichFileOnOneLine) {
    const char* keys[] = {"no_table.xml", "broken.xml", "absent.xml"};
    for (const char* key : keys) {
        SCOPED_TRACE(key);
        JC_STRING_TABLE table;
        ::testing::internal::CaptureStderr();
        const bool loaded = table.LoadFromResource(key);
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_FALSE(loaded);
        EXPECT_EQ(table.Count(), 0);
        EXPECT_NE(said.find(key), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
    QRV::JS_RESOURCE* record = QRV::g_repositoryManager->GetResource("no_table.xml");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->refCount, 0);
}
