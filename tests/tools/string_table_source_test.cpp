#include "tools/content_builder/string_table_source.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/resources/string_table.h"

namespace {

using ContentBuilder::ParseStringsSource;
using ContentBuilder::StringEntry;
using ContentBuilder::StringsSourceError;
using ContentBuilder::StringTableXml;

// What the game will see: the builder's XML read back by the engine's own string table.
QRV::JC_STRING_TABLE LoadBuilt(const std::string& source) {
    const std::string xml = StringTableXml(ParseStringsSource(source), "en");
    QRV::JC_STRING_TABLE table;
    EXPECT_TRUE(table.LoadFromMemory(xml.data(), xml.size()));
    return table;
}

TEST(ContentBuilderStrings, TextsReachTheEngineUnchanged) {
    const std::string source =
        "\xEF\xBB\xBF# comment line\r\n"
        "\r\n"
        "title\tQuorvel\r\n"
        "markup\t<b> & \"quoted\" 'single' > done\n"
        "lines\tfirst\\nsecond\\tafter tab \\\\ backslash\n"
        "empty\t\n"
        "unicode\tCaf\xC3\xA9 \xE2\x80\x94 \xF0\x9F\x8E\xA8\n"
        "   \t  \n"
        "spaces\t  padded text  ";
    const QRV::JC_STRING_TABLE table = LoadBuilt(source);
    EXPECT_EQ(table.Count(), 6);
    EXPECT_EQ(table.Find("title"), "Quorvel");
    EXPECT_EQ(table.Find("markup"), "<b> & \"quoted\" 'single' > done");
    EXPECT_EQ(table.Find("lines"), "first\nsecond\tafter tab \\ backslash");
    EXPECT_EQ(table.Find("empty"), "");
    EXPECT_EQ(table.Find("unicode"), "Caf\xC3\xA9 \xE2\x80\x94 \xF0\x9F\x8E\xA8");
    EXPECT_EQ(table.Find("spaces"), "  padded text  ");
    // No header row sneaks in: the first row is the first entry of the source.
    ASSERT_FALSE(table.Entries().empty());
    EXPECT_EQ(table.Entries().front().key, "title");
}

TEST(ContentBuilderStrings, EmptySourceGivesAnEmptyTableThatStillParses) {
    const QRV::JC_STRING_TABLE table = LoadBuilt("# nothing yet\n");
    EXPECT_EQ(table.Count(), 0);
}

TEST(ContentBuilderStrings, MalformedLinesAreRejectedWithTheirLineNumber) {
    struct Case {
        const char* source;
        const char* where;
    };
    const Case cases[] = {
        {"ok\tfine\nnotab\n", "line 2"},           {"two\ttabs\there\n", "line 1"},
        {"\ttext without key\n", "line 1"},        {"bad key\ttext\n", "line 1"},
        {"a\tx\n# c\na\ty\n", "line 3"},           {"a\tunknown \\q escape\n", "line 1"},
        {"a\ttrailing backslash \\\n", "line 1"},  {"a\tbell \x07 inside\n", "line 1"},
        {"a\tlatin-1 caf\xE9\n", "line 1"},        {"a\toverlong \xC0\xAF\n", "line 1"},
        {"a\tsurrogate \xED\xA0\x80\n", "line 1"}, {"a\ttruncated \xE2\x82\n", "line 1"},
    };
    for (const Case& c : cases) {
        try {
            ParseStringsSource(c.source);
            ADD_FAILURE() << "accepted: " << c.source;
        } catch (const StringsSourceError& e) {
            EXPECT_NE(std::string(e.what()).find(c.where), std::string::npos) << c.source << " -> " << e.what();
        }
    }
}

}  // namespace
