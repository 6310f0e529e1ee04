#include "engine/resources/string_table.h"

#include <pugixml.hpp>

#include "engine/core/conversions.h"

namespace QRV {
namespace {

// The first text or CDATA child of the cell's first child element; "" when there is none.
std::string CellText(const pugi::xml_node& cell) {
    pugi::xml_node data = cell.find_child([](const pugi::xml_node& n) { return n.type() == pugi::node_element; });
    for (pugi::xml_node child = data.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) return child.value();
    }
    return std::string();
}

}  // namespace

void JC_STRING_TABLE::Load(const pugi::xml_node& document) {
    Clear();
    keyColumn = 1;
    valueColumn = 2;
    pugi::xml_node row = document.child("Workbook").child("Worksheet").child("Table").child("Row");
    int32_t rowNumber = 0;
    for (; row; row = row.next_sibling()) {
        if (row.type() != pugi::node_element) continue;
        Entry entry;
        entry.index = ++rowNumber;
        int32_t column = 0;
        for (pugi::xml_node cell = row.first_child(); cell; cell = cell.next_sibling()) {
            if (cell.type() != pugi::node_element) continue;
            ++column;
            if (column == keyColumn) entry.key = CellText(cell);
            if (column == valueColumn) entry.value = CellText(cell);
            if (column >= keyColumn && column >= valueColumn) break;
        }
        entries.push_back(std::move(entry));
    }
    count = static_cast<int32_t>(entries.size());
}

bool JC_STRING_TABLE::LoadFromMemory(const void* data, size_t size) {
    pugi::xml_document document;
    if (data == nullptr || !document.load_buffer(data, size)) {
        Clear();
        return false;
    }
    Load(document);
    return true;
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

std::wstring JC_STRING_TABLE::GetWide(const std::string& key) const {
    return Utf8ToWide(Find(key));
}

void JC_STRING_TABLE::Clear() {
    entries.clear();
    count = 0;
}

}  // namespace QRV
