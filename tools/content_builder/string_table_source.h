// The English string table: a "key<TAB>text" text file under content/ converted into the
// spreadsheet XML the engine's string table reads.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tools/content_builder/output_tree.h"

namespace ContentBuilder {

struct StringEntry {
    std::string key;
    std::string text;
};

// Raised for a malformed source line; the message names the line.
class StringsSourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Source format (UTF-8, an optional BOM, LF or CRLF line ends):
//   key<TAB>text      one entry; the key has no blanks, the text may be empty
//   # comment         ignored, as are blank lines
// In the text, "\n" is a line break, "\t" a tab and "\\" a backslash; a raw second tab, another
// escape, invalid UTF-8, a control character or a repeated key is an error.
std::vector<StringEntry> ParseStringsSource(std::string_view source);

// SpreadsheetML: Workbook / Worksheet / Table / Row / Cell / Data with unprefixed element names,
// two explicit cells per row (key, text), the text directly in Data, no header row.
std::string StringTableXml(const std::vector<StringEntry>& entries, std::string_view sheetName);

// The text of one key of content/<strings source>, for art that shows words; throws when the key
// is not there.
std::string StringOfSource(const std::string& contentDir, std::string_view key);

// Reads content/<strings source> and writes the table to its language folder and, as the
// fallback the engine looks up, to the top of Resources.
void BuildStringTable(const std::string& contentDir, OutputTree& out);

}  // namespace ContentBuilder
