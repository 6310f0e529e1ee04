// Feeds arbitrary bytes to the store catalogue as if they were the store file, then asks every
// ladder for every name it holds at amounts around its rungs.
#include <pugixml.hpp>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/data/store_catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pugi::xml_document document;
    if (!document.load_buffer(data, size)) return 0;
    JCStoreCatalogue catalogue;
    if (!catalogue.LoadStoreItems(document.document_element())) return 0;

    std::vector<const JCStoreItem*> all;
    std::vector<const JCStoreItem*> pending(catalogue.Items().begin(), catalogue.Items().end());
    while (!pending.empty()) {
        const JCStoreItem* item = pending.back();
        pending.pop_back();
        all.push_back(item);
        pending.insert(pending.end(), item->children.begin(), item->children.end());
    }
    for (const JCStoreItem* item : all) {
        const std::string name = item->Text("name");
        const int32_t value = item->GetValue();
        for (int32_t amount : {INT32_MIN, value - 1, value, value == INT32_MAX ? value : value + 1, INT32_MAX}) {
            const JCStoreItem* found = catalogue.FindItem(name, amount);
            // Whatever is found has the name asked for and is endless or above the amount.
            if (found == nullptr) continue;
            if (found->Text("name") != name) std::abort();
            if (found->Find("endless")->intValue == 0 && !(amount < found->GetValue())) std::abort();
        }
    }
    return 0;
}
