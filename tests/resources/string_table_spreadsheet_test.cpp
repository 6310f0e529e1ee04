// String tables as spreadsheet programs save them: with or without a namespace prefix on every
// element, blank cells left out and the next cell numbered with "ss:Index", line breaks and
// non-ASCII text inside cells.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/resources/string_table.h"

using QRV::JC_STRING_TABLE;

namespace {

constexpr const char* kNotLoaded = JC_STRING_TABLE::kNotLoaded;

// How a program spells the elements and attributes: in the templates below "$" stands for the
// element prefix and "@" for the attribute prefix.
struct Flavour {
    const char* name;
    const char* elementPrefix;
    const char* attributePrefix;
    const char* newline;
};

const Flavour kFlavours[] = {
    {"default namespace", "", "ss:", "\r\n"},
    {"ss prefix", "ss:", "ss:", "\n"},
    {"other prefix", "s:", "s:", "\n"},
};

std::string Spell(std::string text, const Flavour& flavour) {
    std::string out;
    for (char c : text) {
        if (c == '$') {
            out += flavour.elementPrefix;
        } else if (c == '@') {
            out += flavour.attributePrefix;
        } else {
            out += c;
        }
    }
    return out;
}

// A whole workbook as saved: declaration, the program's processing instruction, properties and
// styles before the sheet, column widths before the rows and sheet options after the table.
std::string Workbook(const std::vector<std::string>& rows, const Flavour& flavour) {
    const std::string nl = flavour.newline;
    std::string prefixName = flavour.elementPrefix;
    if (!prefixName.empty()) prefixName.pop_back();
    const std::string ns = "\"urn:schemas-microsoft-com:office:spreadsheet\"";
    std::string xml = "<?xml version=\"1.0\"?>" + nl + "<?mso-application progid=\"Excel.Sheet\"?>" + nl;
    xml += "<$Workbook xmlns=" + ns + " xmlns:o=\"urn:schemas-microsoft-com:office:office\"" +
           (prefixName.empty() ? std::string(" xmlns:ss=" + ns) : " xmlns:" + prefixName + "=" + ns) + ">" + nl;
    xml +=
        " <DocumentProperties xmlns=\"urn:schemas-microsoft-com:office:office\"><Author>QA</Author>"
        "</DocumentProperties>" +
        nl;
    xml +=
        " <$Styles><$Style @ID=\"Default\" @Name=\"Normal\"><$Alignment @Vertical=\"Bottom\"/></$Style>"
        "</$Styles>" +
        nl;
    xml += " <$Worksheet @Name=\"en\">" + nl + "  <$Table @ExpandedColumnCount=\"3\" @ExpandedRowCount=\"" +
           std::to_string(rows.size()) + "\" x:FullColumns=\"1\" xmlns:x=\"urn:schemas-microsoft-com:office:excel\">" +
           nl;
    xml += "   <$Column @Width=\"120\"/>" + nl + "   <$Column @Width=\"300\"/>" + nl;
    for (const std::string& row : rows) xml += "   " + row + nl;
    xml += "  </$Table>" + nl +
           "  <WorksheetOptions xmlns=\"urn:schemas-microsoft-com:office:excel\"><Selected/></WorksheetOptions>" + nl +
           " </$Worksheet>" + nl + "</$Workbook>" + nl;
    return Spell(xml, flavour);
}

std::string TextCell(const std::string& text) { return "<$Cell><$Data @Type=\"String\">" + text + "</$Data></$Cell>"; }

struct RowCase {
    std::string row;
    const char* key;
    const char* value;
};

const RowCase kRows[] = {
    {"<$Row>" + TextCell("start_txt") + TextCell("Start game") + "</$Row>", "start_txt", "Start game"},
    // A blank key cell is left out: the value cell carries its column.
    {"<$Row><$Cell @Index=\"2\"><$Data @Type=\"String\">no key</$Data></$Cell></$Row>", kNotLoaded, "no key"},
    // A blank column 2: the note in column 3 is not the value.
    {"<$Row>" + TextCell("noted_txt") + "<$Cell @Index=\"3\"><$Data>note</$Data></$Cell></$Row>", "noted_txt",
     kNotLoaded},
    // Cells after an indexed one count on from it; the row's own index does not matter.
    {"<$Row @Index=\"9\" @AutoFitHeight=\"0\"><$Cell @Index=\"1\" @StyleID=\"s21\"><$Data>indexed_txt</$Data>"
     "</$Cell>" +
         TextCell("next cell") + TextCell("third") + "</$Row>",
     "indexed_txt", "next cell"},
    // A styled cell without data is present but empty.
    {"<$Row><$Cell @StyleID=\"s21\"/>" + TextCell("after a blank key") + "</$Row>", "", "after a blank key"},
    {"<$Row>" + TextCell("empty_txt") + "<$Cell><$Data @Type=\"String\"></$Data></$Cell></$Row>", "empty_txt", ""},
    // A line break inside a cell, as a character reference and as a literal Windows line end.
    {"<$Row>" + TextCell("lines_txt") + TextCell("First line&#10;Second line") + "</$Row>", "lines_txt",
     "First line\nSecond line"},
    {"<$Row>" + TextCell("crlf_txt") + TextCell("Line one\r\nLine two\r\n  indented") + "</$Row>", "crlf_txt",
     "Line one\nLine two\n  indented"},
    {"<$Row>" + TextCell("ru_txt") + TextCell("Привет, мир! Ёлка") + "</$Row>", "ru_txt", "Привет, мир! Ёлка"},
    {"<$Row>" + TextCell("mixed_txt") + TextCell("Größe — 日本語 🎨 &amp; &lt;b&gt;") + "</$Row>", "mixed_txt",
     "Größe — 日本語 🎨 & <b>"},
    // The cell's comment follows its data and is not the text.
    {"<$Row>" + TextCell("commented_txt") +
         "<$Cell><$Data @Type=\"String\">shown</$Data><$Comment @Author=\"QA\">"
         "<$Data>hidden note</$Data></$Comment></$Cell></$Row>",
     "commented_txt", "shown"},
    {"<$Row>" + TextCell("count_txt") + "<$Cell><$Data @Type=\"Number\">12</$Data></$Cell></$Row>", "count_txt", "12"},
};

}  // namespace

TEST(StringTableSpreadsheet, ReadsWorkbooksAsProgramsSaveThem) {
    std::vector<std::string> rows;
    for (const RowCase& c : kRows) rows.push_back(c.row);

    for (const Flavour& flavour : kFlavours) {
        SCOPED_TRACE(flavour.name);
        const std::string xml = Workbook(rows, flavour);
        JC_STRING_TABLE table;
        std::string error;
        ASSERT_TRUE(table.LoadFromMemory(xml.data(), xml.size(), &error)) << error << "\n" << xml;
        ASSERT_EQ(table.Count(), static_cast<int32_t>(std::size(kRows)));
        for (size_t i = 0; i < std::size(kRows); ++i) {
            SCOPED_TRACE(kRows[i].row);
            const JC_STRING_TABLE::Entry& entry = table.Entries()[i];
            EXPECT_EQ(entry.index, static_cast<int32_t>(i + 1));
            EXPECT_EQ(entry.key, kRows[i].key);
            EXPECT_EQ(entry.value, kRows[i].value);
        }
        EXPECT_EQ(table.Find("ru_txt"), "Привет, мир! Ёлка");
        EXPECT_EQ(table.GetWide("ru_txt"), L"Привет, мир! Ёлка");
        EXPECT_EQ(table.Find("lines_txt"), "First line\nSecond line");
    }
}

TEST(StringTableSpreadsheet, AnIndexThatIsNotAColumnFurtherOnIsTheNextColumn) {
    struct Case {
        const char* index;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"2", kNotLoaded, "first"},  // a proper jump, for contrast
        {"1", "first", "second"},   {"0", "first", "second"},           {"-1", "first", "second"},
        {"", "first", "second"},    {"junk", "first", "second"},        {"2x", "first", "second"},
        {" 2", "first", "second"},  {"99999999999", "first", "second"}, {"2147483647", kNotLoaded, kNotLoaded},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        const std::string row = std::string("<$Row><$Cell @Index=\"") + c.index + "\"><$Data>first</$Data></$Cell>" +
                                TextCell("second") + "</$Row>";
        const std::string xml = Workbook({row}, kFlavours[1]);
        JC_STRING_TABLE table;
        ASSERT_TRUE(table.LoadFromMemory(xml.data(), xml.size()));
        ASSERT_EQ(table.Count(), 1);
        EXPECT_EQ(table.Entries()[0].key, c.key);
        EXPECT_EQ(table.Entries()[0].value, c.value);
    }

    // A later cell's index that points back is no column further on either.
    const std::string back = "<$Row>" + TextCell("key") + "<$Cell @Index=\"1\"><$Data>value</$Data></$Cell></$Row>";
    const std::string xml = Workbook({back}, kFlavours[0]);
    JC_STRING_TABLE table;
    ASSERT_TRUE(table.LoadFromMemory(xml.data(), xml.size()));
    EXPECT_EQ(table.Find("key"), "value");
}
