#pragma once
// The localised string table: key/value rows of a spreadsheet saved as XML.
//
//   <Workbook><Worksheet><Table>
//     <Row><Cell><Data>key</Data></Cell><Cell><Data>value</Data></Cell></Row> ...
//
// Elements are matched by their local name, so spreadsheet programs' prefixed forms
// ("ss:Workbook", "ss:Row", ...) read the same. Cells count by position from 1 (cell 1 the key,
// cell 2 the value); a cell's "ss:Index" attribute moves it (and the cells after it) to that
// column, as programs write rows with skipped cells. A cell's text is the first text or CDATA
// child of its "Data" element, line breaks included. Every sibling of the first "Row" is a row.
// Texts are UTF-8; GetWide gives the wide form that labels show.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pugi {
class xml_node;
}

namespace QRV {

class JC_STRING_TABLE {
public:
    // What a key or value holds when its cell is missing.
    static constexpr const char* kNotLoaded = "Value not loaded";

    struct Entry {
        int32_t index = 0;  // row number, from 1
        std::string key = kNotLoaded;
        std::string value = kNotLoaded;
    };

    // Replaces the contents with the rows of the document (or of any node whose child is
    // "Workbook"). A missing "Workbook", "Worksheet" or "Table" is a failed load: false, an empty
    // table, and the reason in *error when given.
    bool Load(const pugi::xml_node& document, std::string* error = nullptr);
    // Parses the bytes as XML and loads them; false (and an empty table) when they do not parse or
    // do not hold a table.
    bool LoadFromMemory(const void* data, size_t size, std::string* error = nullptr);
    // Loads the XML resource of the key through the resource cache, then drops the reference;
    // false (and an empty table) when the key is absent, does not parse or holds no table, with one
    // line on stderr naming the key.
    bool LoadFromResource(const std::string& key);

    // The value of the first entry whose key equals key exactly, else key itself.
    std::string Find(const std::string& key) const;
    std::string Get(const char* key) const;
    std::string GetByString(const std::string& key) const { return Find(key); }
    std::wstring GetWide(const std::string& key) const;

    void Clear();

    int32_t Count() const { return count; }
    const std::vector<Entry>& Entries() const { return entries; }

    int32_t keyColumn = 1;
    int32_t valueColumn = 2;

private:
    std::vector<Entry> entries;
    int32_t count = 0;
};

}  // namespace QRV
