#include "engine/windows/window.h"
#include "engine/windows/window_confirm.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/app/global.h"
#include "game/data/igp_item.h"
#include "game/data/level.h"
#include "game/data/pack.h"
#include "game/data/store_item.h"

namespace {

constexpr const char* kSuccessWindow = "purchase_success";
constexpr const char* kLivesTrophy = "achievements_txt_lives01_buy_name";

bool BeginsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

void RefreshWindow(JCWindowManager& windows, const char* name) {
    if (JCWindow* window = windows.FindWindow(name)) window->Refresh();
}

}  // namespace

void gcGame::OnProductsReceived() { RefreshWindow(context.windowManager, "Shop"); }

void gcGame::OnPurchaseStarted() {
    purchasePending = true;
    purchaseSucceeded = false;
    overlayAnimation.playing = 1;
    if (overlayAnimation.direction == 0) overlayAnimation.SetFrame(overlayAnimation.LastFrame());
}

void gcGame::OnPurchaseSucceeded(JSIgpItem* item) {
    if (item == nullptr) return;
    boughtItem = item;
    purchaseSucceeded = true;
    if (auto* notice = dynamic_cast<JCWindow_Confirm*>(FindWindow(kSuccessWindow))) {
        // Any answer applies the item; the second callback is not this asker's.
        notice->cbSecondAnswer = {};
        notice->cbAnswer = MakeClosure<&gcGame::OnItemBought>(this);
        context.windowManager.ShowWindow(kSuccessWindow, false);
    } else {
        OnItemBought(1);
    }
    for (JCWindow* window : context.windowManager.Windows()) window->Refresh();
    gcPlayer* player = CurrentPlayer();
    if (player != nullptr && !player->IsInappBought()) {
        player->SetInappBought(true);
        HideBanners();
    }
    Save();
}

void gcGame::OnPurchaseFinished(JSIgpItem* item, bool success) {
    purchasePending = false;
    overlayAnimation.playing = 0;
    if (item != nullptr && !success && item->name == "second_chance") gameplay.OfferSecondChance();
    if (!purchaseSucceeded) context.windowManager.ShowWindow("purchase_fail", false);
}

void gcGame::OnItemBought(int32_t) {
    JSIgpItem* item = boughtItem;
    boughtItem = nullptr;
    if (item == nullptr) return;
    const std::string& name = item->name;
    gcPlayer* player = CurrentPlayer();
    if (BeginsWith(name, "pack")) {
        const bool openNow = global.EditionInt("unlock_pack_immediately") != 0;
        for (JCPack* pack : context.packs.GetKindList(kPackOrdinary)) {
            const JSProperty* inapp = pack->GetProperty("inapp");
            if (inapp == nullptr || inapp->text != name) continue;
            pack->GetProperty("is_lock")->SetBool(0);
            if (!openNow) continue;
            pack->GetProperty("is_open")->SetBool(1);
            JCLevel* first = pack->GetFirstLevel();
            if (!JCLevel::IsDefault(first)) first->GetProperty("is_open")->SetBool(1);
        }
        RefreshWindow(context.windowManager, "Packs");
    } else if (name == "life_refill") {
        RefillAllHearts();
    } else if (BeginsWith(name, "life")) {
        if (const JCStoreItem* stored = FindStoreItem("life"); stored != nullptr && player != nullptr) {
            if (stored->GetValue() >= 0) player->SetItemCount("life", stored->GetValue());
            RefillAllHearts();
        }
        if (CheckTrophy(kLivesTrophy)) CheckAllTrophies(kLivesTrophy);
    } else if (BeginsWith(name, "error")) {
        if (const JCStoreItem* stored = FindStoreItem("error"); stored != nullptr && player != nullptr) {
            if (stored->GetValue() >= 0) player->SetItemCount("error", stored->GetValue());
            ExecuteCommand("gameplay::buy::error");
        }
    } else if (name == "second_chance") {
        ExecuteCommand("gameplay::buy::secondchance");
        if (player != nullptr) player->GetHealth().AddHeart();
    }
    RefreshWindow(context.windowManager, "Shop");
    Save();
}
