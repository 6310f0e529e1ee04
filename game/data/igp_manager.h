#pragma once
// The in-app products and the store that sells them. The purchase file (named by the edition's
// "inapp") has "item" children ("name", "product_id", "type") under its first element, which may
// carry "app_key"; the store is the desktop's offline one unless replaced.

#include <deque>
#include <memory>
#include <string>

#include "game/data/igp_item.h"
#include "game/data/igp_wrapper.h"

namespace pugi {
class xml_node;
}

// The application key the game hands the store when the purchase file names none.
inline constexpr const char* kIgpDefaultAppKey = "3c1e9a7d5b20f64e8a1c3d7b9e0f2a4c6d8b1e35";

class JCIgpManager {
public:
    // The one instance, made on first use and destroyed at exit with its store.
    static JCIgpManager& Instance();

    // No items, no delegate, the offline store (QRV::JC_IGP_WRAPPER_TEST). Tests make their own.
    JCIgpManager();
    ~JCIgpManager();
    JCIgpManager(const JCIgpManager&) = delete;
    JCIgpManager& operator=(const JCIgpManager&) = delete;

    // Appends one item per child named "item" (not yet available, empty price texts, price 0);
    // then, with a store, initialises it with the node's "app_key" or else the default key, the
    // window handle and this manager, and when that succeeds requests the products. False for a
    // null node; otherwise the store's answer to its initialisation (true without a store).
    bool Load(const pugi::xml_node& node, const std::string& defaultKey, void* window);

    // The first item whose "product_id", respectively "name", equals the text exactly; null when
    // none does.
    JSIgpItem* FindByProductId(const std::string& productId);
    JSIgpItem* FindByName(const std::string& name);

    // Items keep their places while the manager lives: pointers to them stay valid.
    std::deque<JSIgpItem>& Items() { return items; }

    void SetDelegate(QRV::JC_IGP_DELEGATE* listener) { delegate = listener; }
    QRV::JC_IGP_DELEGATE* GetDelegate() const { return delegate; }

    // The store: Update every frame, Reserved5 while a purchase is pending, Purchase, ExtraAction.
    QRV::JC_IGP_WRAPPER_I* GetWrapper() const { return wrapper.get(); }
    // Replaces the store (null: none).
    void SetWrapper(std::unique_ptr<QRV::JC_IGP_WRAPPER_I> store) { wrapper = std::move(store); }

private:
    std::deque<JSIgpItem> items;
    QRV::JC_IGP_DELEGATE* delegate = nullptr;
    std::unique_ptr<QRV::JC_IGP_WRAPPER_I> wrapper;
};
