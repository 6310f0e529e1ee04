#include "engine/resources/string_table.h"

#include <charconv>
#include <cstring>
#include <pugixml.hpp>
#include <string_view>

#include "engine/core/conversions.h"

namespace QRV {
namespace {

// The element's name without its namespace prefix: "ss:Row" and "Row" are both "Row".
std::string_view LocalName(const char* name) {
    const char* colon = std::strchr(name, ':');
    return colon != nullptr ? std::string_view(colon + 1) : std::string_view(name);
}

bool IsElement(const pugi::xml_node& node, std::string_view localName) {
    return node.type() == pugi::node_element && LocalName(node.name()) == localName;
}

pugi::xml_node ChildElement(const pugi::xml_node& parent, std::string_view localName) {
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        if (IsElement(child, localName)) return child;
    }
    return pugi::xml_node();
}

// The column a cell's "Index" attribute moves it to, when that is a whole number past the
// previous column; otherwise the next column.
int32_t CellColumn(const pugi::xml_node& cell, int32_t previous) {
    for (pugi::xml_attribute attribute = cell.first_attribute(); attribute; attribute = attribute.next_attribute()) {
        if (LocalName(attribute.name()) != "Index") continue;
        const char* text = attribute.value();
        const char* end = text + std::strlen(text);
        int32_t index = 0;
        const auto [stop, error] = std::from_chars(text, end, index);
        if (error == std::errc() && stop == end && index > previous) return index;
        break;
    }
    return previous + 1;
}

// The first text or CDATA child of the cell's "Data" element; "" when there is none.
std::string CellText(const pugi::xml_node& cell) {
    const pugi::xml_node data = ChildElement(cell, "Data");
    for (pugi::xml_node child = data.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) return child.value();
    }
    return std::string();
}

void SetError(std::string* error, const std::string& text) {
    if (error != nullptr) *error = text;
}

}  // namespace

bool JC_STRING_TABLE::Load(const pugi::xml_node& document, std::string* error) {
    Clear();
    keyColumn = 1;
    valueColumn = 2;
    const pugi::xml_node workbook = ChildElement(document, "Workbook");
    const pugi::xml_node worksheet = ChildElement(workbook, "Worksheet");
    const pugi::xml_node table = ChildElement(worksheet, "Table");
    if (!table) {
        SetError(error, !workbook    ? "no Workbook"
                        : !worksheet ? "no Worksheet in the Workbook"
                                     : "no Table in the Worksheet");
        return false;
    }
    const int32_t lastColumn = keyColumn > valueColumn ? keyColumn : valueColumn;
    int32_t rowNumber = 0;
    for (pugi::xml_node row = ChildElement(table, "Row"); row; row = row.next_sibling()) {
        if (row.type() != pugi::node_element) continue;
        Entry entry;
        entry.index = ++rowNumber;
        int32_t column = 0;
        for (pugi::xml_node cell = row.first_child(); cell && column < lastColumn; cell = cell.next_sibling()) {
            if (cell.type() != pugi::node_element) continue;
            column = CellColumn(cell, column);
            if (column == keyColumn) entry.key = CellText(cell);
            if (column == valueColumn) entry.value = CellText(cell);
        }
        entries.push_back(std::move(entry));
    }
    count = static_cast<int32_t>(entries.size());
    return true;
}

bool JC_STRING_TABLE::LoadFromMemory(const void* data, size_t size, std::string* error) {
    pugi::xml_document document;
    if (data == nullptr) {
        Clear();
        SetError(error, "no data");
        return false;
    }
    const pugi::xml_parse_result parsed = document.load_buffer(data, size);
    if (!parsed) {
        Clear();
        SetError(error, std::string("not XML: ") + parsed.description() + " at byte " +
                            std::to_string(static_cast<long long>(parsed.offset)));
        return false;
    }
    return Load(document, error);
}

std::string JC_STRING_TABLE::Find(const std::string& key) const {
    for (const Entry& entry : entries) {
        if (entry.key == key) return entry.value;
    }
    return key;
}

std::string JC_STRING_TABLE::Get(const char* key) const {
    return Find(key != nullptr ? std::string(key) : std::string());
}

std::wstring JC_STRING_TABLE::GetWide(const std::string& key) const { return Utf8ToWide(Find(key)); }

void JC_STRING_TABLE::Clear() {
    entries.clear();
    count = 0;
}

}  // namespace QRV
