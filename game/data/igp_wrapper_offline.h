#pragma once
// The in-app store of the desktop: nothing is sold for real and nothing is contacted. Every product
// is available at price 0 with the texts "0" and "TEST", and a purchase succeeds two seconds of
// frame time after it started (counted by Update). While a purchase is pending a further Purchase
// is ignored.

#include <cstdint>
#include <string>

#include "engine/bots/bot_list.h"
#include "engine/core/callback.h"
#include "game/data/igp_wrapper.h"

namespace QRV {

class JC_IGP_WRAPPER_TEST : public JC_IGP_WRAPPER_I {
public:
    // Seconds from the start of a purchase to its success.
    static constexpr float kPurchaseSeconds = 2.0f;

    JC_IGP_WRAPPER_TEST();
    // A pending purchase is dropped without a word.
    ~JC_IGP_WRAPPER_TEST() override = default;
    JC_IGP_WRAPPER_TEST(const JC_IGP_WRAPPER_TEST&) = delete;
    JC_IGP_WRAPPER_TEST& operator=(const JC_IGP_WRAPPER_TEST&) = delete;

    // Every item available, price 0.0, price text "0", second text "TEST"; then OnProductsReceived
    // when the manager has a delegate.
    void RequestProducts() override;
    void ExtraAction() override {}
    // Unless a purchase is pending: the item of the product id; without one, or without a
    // delegate, nothing. Otherwise OnPurchaseStarted now and the completion after
    // kPurchaseSeconds: OnPurchaseSucceeded (item), then OnPurchaseFinished (null, true).
    void Purchase(const std::string& productId) override;
    void Reserved5() override {}
    // Advances the pending purchase by the frame time.
    void Update() override;

    // The item being bought, or null.
    JSIgpItem* GetCurrentItem() const { return current; }

private:
    static int OnPurchaseDone(uintptr_t self);
    void CompletePurchase();

    JSIgpItem* current = nullptr;
    JC_BOT_LIST bots;
    JS_CALLBACK completion;
};

}  // namespace QRV
