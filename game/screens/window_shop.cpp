#include "game/screens/window_shop.h"

#include <pugixml.hpp>

#include "engine/core/conversions.h"
#include "engine/gui/gui_label.h"
#include "engine/gui/gui_root.h"
#include "engine/windows/window_manager.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/data/game_player.h"
#include "game/data/igp_item.h"
#include "game/data/igp_manager.h"
#include "game/data/store_item.h"
#include "game/screens/pausing_windows.h"
#include "game/screens/shop_item.h"
#include "game/screens/shop_services.h"

namespace {

constexpr const char* kRefillHint = "refill_hint";
constexpr const char* kLifeRefill = "life_refill";
constexpr const char* kLivesTrophy = "achievements_txt_lives01_buy_name";

bool BeginsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// What a bought item gives beyond the player's item count, as the in-app path gives it: every
// heart back for a refill and for a rung of the "life" ladder, whose trophy is tested as well.
void ApplyBoughtItem(gcGame& root, const std::string& name) {
    if (name == kLifeRefill) {
        root.RefillAllHearts();
    } else if (BeginsWith(name, "life")) {
        root.RefillAllHearts();
        if (root.CheckTrophy(kLivesTrophy)) root.CheckAllTrophies(kLivesTrophy);
    }
}

}  // namespace

gcWindow_Shop::gcWindow_Shop() {
    if (gcContext* context = ShopServices::Context()) dispatcher = context->eventDispatcher;
    Subscribe<&gcWindow_Shop::OnPlayerValue>(kEventPlayerValue, this);
    if (dispatcher != nullptr) dispatcher->AddListener(this);
}

gcWindow_Shop::~gcWindow_Shop() {
    if (dispatcher != nullptr) dispatcher->RemoveListener(this);
}

void gcWindow_Shop::LoadAttributes(const pugi::xml_node& root) {
    const pugi::xml_attribute file = root.child("gPages").attribute("file");
    if (!file) return;
    pages = new JCPages();
    pages->delegate = this;
    windowBots.Add(pages);
    pages->LoadFromFile(file.as_string());
}

void gcWindow_Shop::OnShowBegin() {
    SendCommand("gameplay::pause");
    RefreshOffers();
    if (dispatcher != nullptr) dispatcher->Send<>(kEventShopOpening);
}

void gcWindow_Shop::OnShown() {
    if (dispatcher != nullptr) dispatcher->Post(kEventShopShown);
}

void gcWindow_Shop::OnHidden() {
    if (!ShopServices::LevelRunning()) return;
    if (manager != nullptr && manager->FindShownWindow("GP_Menu") == nullptr) {
        if (!OtherPausingWindowShown(*manager, this)) SendCommand("gameplay::resume");
        if (dispatcher != nullptr) dispatcher->Post(kEventShopClosed);
    }
    gcPlayer* player = ShopServices::CurrentPlayer();
    if (player != nullptr && player->GetItemCount(kRefillHint) >= 1) player->SetItemCount(kRefillHint, 0);
}

void gcWindow_Shop::OnButton(int32_t id) {
    switch (id) {
        case kCloseButton: Hide(false); break;
        case kExtraActionButton:
            if (ShopServices::InappEnabled()) {
                if (QRV::JC_IGP_WRAPPER_I* store = JCIgpManager::Instance().GetWrapper()) store->ExtraAction();
            }
            break;
        case kOfferwallButton:
            if (manager != nullptr) manager->ShowWindow("Offerwall", false);
            break;
        default: break;
    }
}

JCPagesItem* gcWindow_Shop::CreateItem(const pugi::xml_node& element, int32_t index) {
    return new gcPagesItem_Shop(element, index);
}

void gcWindow_Shop::OnItemClick(JCPagesItem* item) {
    const auto* offer = dynamic_cast<const gcPagesItem_Shop*>(item);
    gcGame* root = ShopServices::Root();
    if (offer == nullptr || root == nullptr) return;
    if (const JCStoreItem* stored = root->FindStoreItem(offer->Type())) BuyItem(*stored);
}

void gcWindow_Shop::RefreshOffers() {
    const gcPlayer* player = ShopServices::CurrentPlayer();
    if (player == nullptr) return;
    const int32_t money = ShopServices::Money(*player);
    if (gui != nullptr) {
        if (auto* label = dynamic_cast<QRV::JC_GUI_WLABEL*>(gui->rootObject->FindChildById(kMoneyLabel)))
            label->SetText(QRV::IntToWString(money));
    }
    if (pages == nullptr) return;
    pages->RefreshItems();
    if (ShopServices::InappEnabled()) return;
    for (JCPagesItem* item : pages->items) {
        if (auto* offer = dynamic_cast<gcPagesItem_Shop*>(item)) offer->UpdateBuyButton(offer->Price() <= money);
    }
}

void gcWindow_Shop::BuyItem(const JCStoreItem& item) {
    if (ShopServices::InappEnabled()) {
        JCIgpManager& store = JCIgpManager::Instance();
        const JSIgpItem* product = store.FindByName(item.Text("inapp"));
        if (product != nullptr && product->available && store.GetWrapper() != nullptr)
            store.GetWrapper()->Purchase(product->productId);
        return;
    }
    gcGame* root = ShopServices::Root();
    gcPlayer* player = ShopServices::CurrentPlayer();
    if (root == nullptr || player == nullptr) return;
    const JSProperty* priceProperty = item.Find("price");
    const int32_t price = priceProperty != nullptr ? priceProperty->intValue : 0;
    if (ShopServices::Money(*player) < price) return;
    const std::string name = item.Text("name");
    if (const int32_t value = item.GetValue(); value >= 0) player->SetItemCount(name, value);
    root->ExecuteCommand("gameplay::buy::" + name);
    // The payment refreshes the offers at once, before the item took effect: once more after it,
    // so that an offer the purchase used up (hearts now full) is no longer for sale.
    player->DecrementStatistic("money", price);
    ApplyBoughtItem(*root, name);
    RefreshOffers();
    root->Save();
}

void gcWindow_Shop::OnPlayerValue(std::string name) {
    if (name == "money") RefreshOffers();
}

void gcWindow_Shop::SendCommand(const std::string& command) {
    if (gcGame* root = ShopServices::Root()) root->ExecuteCommand(command);
}
