#include "game/data/igp_item.h"

int32_t IgpItemTypeFromText(const std::string& text) {
    if (text.empty()) return kIgpOtherType;
    if (text[0] == 'C' || text[0] == 'c') return kIgpConsumable;
    if (text[0] == 'N' || text[0] == 'n') return kIgpNonConsumable;
    return kIgpOtherType;
}
