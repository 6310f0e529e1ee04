// Feeds arbitrary bytes to the string table's loader as if they were a "strings.xml".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "engine/resources/string_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QRV::JC_STRING_TABLE table;
    std::string error;
    if (!table.LoadFromMemory(data, size, &error)) {
        // A failed load is empty and says why.
        if (table.Count() != 0 || !table.Entries().empty() || error.empty()) std::abort();
        return 0;
    }
    if (static_cast<size_t>(table.Count()) != table.Entries().size()) std::abort();

    // The first entry of a key wins; any text, valid UTF-8 or not, converts to wide text.
    std::map<std::string, std::string> first;
    for (const auto& entry : table.Entries()) first.emplace(entry.key, entry.value);
    for (const auto& [key, value] : first) {
        if (table.Find(key) != value) std::abort();
        (void)table.GetWide(key);
    }
    return 0;
}
