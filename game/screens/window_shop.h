#pragma once
// The shop ("Shop", type "GG_WINDOW_SHOP"): the store's offers in a paged grid (the window child
// "gPages" names its layout file), bought with the game's money or, when the edition's "inapp" is
// set, through the in-app store. It can be opened from the menus and during a level: it pauses
// the board while shown and tells the tutorial scripts of its show and close through game events.
//
// Window controls: 1 close, 2 the player's money, 7 the in-app store's extra action (in-app only),
// 9 the offer wall.
//
// Events: 25 at once when it begins to show, 26 posted when fully shown, 27 posted when it closes
// during a level (unless the pause menu is shown). It listens to 28 (a player value changed): a
// change of "money" refreshes the offers.

#include <cstdint>
#include <string>

#include "engine/core/event_dispatcher.h"
#include "engine/windows/pages.h"
#include "engine/windows/window.h"

class JCStoreItem;

class gcWindow_Shop : public JCWindow, public JIPagesDelegate, private QRV::gListener {
public:
    static constexpr int32_t kEventShopOpening = 25;
    static constexpr int32_t kEventShopShown = 26;
    static constexpr int32_t kEventShopClosed = 27;

    static constexpr int32_t kCloseButton = 1;
    static constexpr int32_t kMoneyLabel = 2;
    static constexpr int32_t kExtraActionButton = 7;
    static constexpr int32_t kOfferwallButton = 9;

    // Joins the context's dispatcher for event 28.
    gcWindow_Shop();
    // Leaves the dispatcher; the grid goes with the window's bots.
    ~gcWindow_Shop() override;

    // "gPages" "file": the grid's layout, whose items become offers; without it the shop has no grid.
    void LoadAttributes(const pugi::xml_node& root) override;
    // Pauses the board, refreshes the offers, then sends 25.
    void OnShowBegin() override;
    void OnShown() override;
    // During a level: resumes the board (unless another pausing window is still shown) and posts
    // 27, both unless the pause menu is shown; then clears the player's "refill_hint" item.
    void OnHidden() override;
    void OnButton(int32_t id) override;
    void Refresh() override { RefreshOffers(); }

    JCPagesItem* CreateItem(const pugi::xml_node& element, int32_t index) override;
    // Buys the store item of the clicked offer's type, when there is one.
    void OnItemClick(JCPagesItem* item) override;

    // The money label, every offer, and (buying with money) every buy button against the money.
    // Nothing without a current player.
    void RefreshOffers();
    // In-app: asks the store to sell the item's product when it is available. With money: when the
    // player has at least the price, the player's item of that name becomes the item's "value"
    // (when not negative), the board hears "gameplay::buy::<name>", the price is paid and the item
    // takes effect (hearts refilled for "life_refill" and the "life" ladder), the offers are
    // refreshed against what the item changed, and the game is saved. Too little money does
    // nothing.
    void BuyItem(const JCStoreItem& item);

    // Null without a "gPages" child.
    JCPages* Pages() const { return pages; }

private:
    void OnPlayerValue(std::string name);
    void SendCommand(const std::string& command);

    // Owned by the window's bots.
    JCPages* pages = nullptr;
    QRV::gEventDispatcher* dispatcher = nullptr;
};
