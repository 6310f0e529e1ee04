#include "game/screens/shop_services.h"

#include "engine/core/conversions.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/app/global.h"
#include "game/data/game_player.h"
#include "game/data/purchase_switch.h"

namespace ShopServices {

gcContext* Context() { return gcGlobal::Instance().GetContext(); }

gcGame* Root() {
    gcContext* context = Context();
    return context != nullptr ? context->game.get() : nullptr;
}

gcPlayer* CurrentPlayer() {
    gcContext* context = Context();
    return context != nullptr ? dynamic_cast<gcPlayer*>(context->playerManager.GetCurrentPlayer()) : nullptr;
}

bool LevelRunning() {
    gcGame* root = Root();
    return root != nullptr && root->Gameplay().IsRunning();
}

bool InappEnabled() { return PurchasesEnabled(gcGlobal::Instance().EditionConfig()); }

int32_t Money(const gcPlayer& player) {
    const JSProperty* money = player.GetStatistic("money");
    return money != nullptr ? money->intValue : 0;
}

std::wstring Localised(const std::string& key) {
    gcContext* context = Context();
    return context != nullptr ? context->stringTable.GetWide(key) : QRV::Utf8ToWide(key);
}

}  // namespace ShopServices
