#include "game/data/purchase_switch.h"

#include "engine/core/property_map.h"

bool PurchasesEnabled(const JCPropertyMap& edition) {
    const JSProperty* inapp = edition.Find("inapp");
    return inapp != nullptr && !inapp->text.empty();
}
