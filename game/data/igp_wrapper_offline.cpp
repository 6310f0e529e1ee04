#include "game/data/igp_wrapper_offline.h"

#include "engine/bots/tween_sleep.h"
#include "engine/core/conversions.h"
#include "game/data/igp_manager.h"

namespace QRV {

JC_IGP_WRAPPER_TEST::JC_IGP_WRAPPER_TEST() {
    completion.argument = reinterpret_cast<uintptr_t>(this);
    completion.name = "igp_purchase_done";
    completion.fn = &OnPurchaseDone;
}

void JC_IGP_WRAPPER_TEST::RequestProducts() {
    if (manager == nullptr) return;
    for (JSIgpItem& item : manager->Items()) {
        item.available = true;
        item.price = 0.0;
        item.priceText = FloatToString(0.0f);
        item.secondText = "TEST";
    }
    if (JC_IGP_DELEGATE* delegate = manager->GetDelegate()) delegate->OnProductsReceived();
}

void JC_IGP_WRAPPER_TEST::Purchase(const std::string& productId) {
    // A second purchase would take the place of the first, whose completion would then report it
    // and leave the second to report a null item.
    if (current != nullptr || manager == nullptr) return;
    JSIgpItem* item = manager->FindByProductId(productId);
    JC_IGP_DELEGATE* delegate = manager->GetDelegate();
    if (item == nullptr || delegate == nullptr) return;
    current = item;
    delegate->OnPurchaseStarted();
    bots.Add(new JC_BOT_SLEEP(&completion, kPurchaseSeconds));
}

void JC_IGP_WRAPPER_TEST::Update() { bots.Update(); }

int JC_IGP_WRAPPER_TEST::OnPurchaseDone(uintptr_t self) {
    reinterpret_cast<JC_IGP_WRAPPER_TEST*>(self)->CompletePurchase();
    return 0;
}

void JC_IGP_WRAPPER_TEST::CompletePurchase() {
    JSIgpItem* item = current;
    // The purchase stays pending until it has finished: a Purchase from the success handler is
    // ignored, one from the finish handler starts the next purchase.
    if (JC_IGP_DELEGATE* delegate = manager->GetDelegate()) delegate->OnPurchaseSucceeded(item);
    current = nullptr;
    if (JC_IGP_DELEGATE* delegate = manager->GetDelegate()) delegate->OnPurchaseFinished(nullptr, true);
}

}  // namespace QRV
