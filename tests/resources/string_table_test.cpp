#include "engine/resources/string_table.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"

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
    const JC_STRING_TABLE table = LoadText(Sheet(
        "<Row><Cell><Data>start</Data></Cell><Cell><Data>Start game</Data></Cell>"
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
    const JC_STRING_TABLE table = LoadText(Sheet(
        "<Row><Cell><Data>Play</Data></Cell><Cell><Data>first</Data></Cell></Row>"
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

TEST(StringTable, MissingStructureOrBrokenXmlGivesAnEmptyTable) {
    const std::string cases[] = {
        "<Other/>",
        "<Workbook/>",
        "<Workbook><Worksheet/></Workbook>",
        "<Workbook><Worksheet><Table/></Worksheet></Workbook>",
        "<Workbook><Table><Row><Cell><Data>k</Data></Cell></Row></Table></Workbook>",
    };
    for (const std::string& xml : cases) {
        SCOPED_TRACE(xml);
        JC_STRING_TABLE table = LoadText(Sheet("<Row><Cell><Data>old</Data></Cell></Row>"));
        ASSERT_EQ(table.Count(), 1);
        EXPECT_TRUE(table.LoadFromMemory(xml.data(), xml.size()));
        EXPECT_EQ(table.Count(), 0);
        EXPECT_EQ(table.Find("old"), "old");
    }

    JC_STRING_TABLE table = LoadText(Sheet("<Row><Cell><Data>old</Data></Cell></Row>"));
    const std::string broken = "<Workbook><Worksheet><Table><Row>";
    EXPECT_FALSE(table.LoadFromMemory(broken.data(), broken.size()));
    EXPECT_EQ(table.Count(), 0);
    EXPECT_FALSE(table.LoadFromMemory(nullptr, 10));
}

// Loading by key goes through the resource cache of a temporary Resources folder.
class StringTableResource : public ::testing::Test {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        savedDir = fs::current_path();
        root = fs::temp_directory_path() / ("quorvel_strings_" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "Resources");
        std::ofstream(root / "Resources" / "strings.xml")
            << Sheet("<Row><Cell><Data>title_txt</Data></Cell><Cell><Data>Quorvel</Data></Cell></Row>");
        std::ofstream(root / "Resources" / "broken.xml") << "<Workbook><Worksheet>";
        // The first Instance call sets itself up from the current folder; set up again so the
        // paths point here whether or not an earlier test made the service.
        fs::current_path(root);
        QRV::JC_PATHS::Instance();
        fs::current_path(root);
        QRV::JC_PATHS::Instance()->Setup();
        QRV::g_repositoryManager = new QRV::JC_REPOSITORY_MANAGER();
        ASSERT_TRUE(QRV::LoadRepository(""));
    }

    void TearDown() override {
        QRV::g_repositoryManager->Destroy();
        delete QRV::g_repositoryManager;
        QRV::g_repositoryManager = nullptr;
        std::filesystem::current_path(savedDir);
        std::filesystem::remove_all(root);
    }

    std::filesystem::path savedDir;
    std::filesystem::path root;
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
