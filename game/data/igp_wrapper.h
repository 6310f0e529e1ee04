#pragma once
// The in-app store behind the purchase manager, and the delegate that hears its answers.
//
// What the game relies on from any store: after Init and RequestProducts the items' availability,
// prices and texts are filled and OnProductsReceived is called; every accepted purchase calls
// OnPurchaseStarted, then for a success OnPurchaseSucceeded with the item, and always ends with
// OnPurchaseFinished (a failure reports the item and false). Everything is called on the main
// thread, from Update at the latest.

#include <string>

struct JSIgpItem;
class JCIgpManager;

namespace QRV {

class JC_IGP_DELEGATE {
public:
    virtual ~JC_IGP_DELEGATE() = default;

    virtual void OnProductsReceived() = 0;
    virtual void OnPurchaseStarted() = 0;
    // The item, or null; success is false when the purchase failed.
    virtual void OnPurchaseFinished(JSIgpItem* item, bool success) = 0;
    virtual void OnPurchaseSucceeded(JSIgpItem* item) = 0;
};

class JC_IGP_WRAPPER_I {
public:
    virtual ~JC_IGP_WRAPPER_I() = default;

    // Keeps the manager and the application key; the window handle is the game window's, opaque
    // here. True.
    virtual bool Init(const std::string& appKey, void* window, JCIgpManager* owner);
    // Fills the manager's items from the store and calls OnProductsReceived.
    virtual void RequestProducts() = 0;
    // The shop's extra button.
    virtual void ExtraAction() = 0;
    // Starts buying the product of this id.
    virtual void Purchase(const std::string& productId) = 0;
    // Every frame while a purchase is pending, after the purchase overlay is drawn.
    virtual void Reserved5() = 0;
    // Every frame.
    virtual void Update() = 0;

    JCIgpManager* GetManager() const { return manager; }
    const std::string& GetKey() const { return key; }

protected:
    JCIgpManager* manager = nullptr;
    std::string key;
};

}  // namespace QRV
