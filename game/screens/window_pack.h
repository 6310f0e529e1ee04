#pragma once
// The pack list (window "Packs", type "TWindow_Pack"): the cards of the ordinary packs in a paged
// grid. A click on an open pack opens its level list; a locked pack (open or not) offers to buy
// it, with the game's money or, in the in-app edition, in the store.
//
// The grid is the window's own; the cards in it are the catalogue's packs, lent to the grid, so
// the catalogue alone deletes them (the windows are deleted first at exit).

#include <cstdint>
#include <string>

#include "engine/windows/pages.h"
#include "engine/windows/window.h"

class JCPack;

class gcWindow_Pack : public JCWindow, public JIPagesDelegate {
public:
    gcWindow_Pack();
    // Hands the cards back to the catalogue.
    ~gcWindow_Pack() override;

    // The grid layout of the "pages" child, then the ordinary packs.
    void LoadAttributes(const pugi::xml_node& root) override;
    void OnGuiLoaded(QRV::JC_GUI_OBJECT* rootObject) override;
    void OnShowBegin() override;
    void OnShown() override;
    void OnHideBegin() override;
    void Refresh() override;
    void OnButton(int32_t /*id*/) override {}

    // The grid's items are lent, never made from its layout.
    JCPagesItem* CreateItem(const pugi::xml_node& element, int32_t index) override;
    void OnItemClick(JCPagesItem* item) override;

    // Open, closed and active looks, the score of open packs and every card's requirement.
    void UpdateItems();
    // "confirm_pack_buy" answered in the money edition: 1 buys, 0 starts network 9.
    void OnBuyWithMoneyResult(int32_t answer);
    // The same in the free edition: 1 buys in the store, -1 runs the store's extra action.
    void OnBuyInAppResult(int32_t answer);

    JCPages& Pages() { return pages; }
    const std::string& ClickedPack() const { return clickedPack; }

    static JCWindow* Create();

private:
    // The remembered pack among the ordinary packs, else the tutorial packs; null when gone.
    JCPack* RememberedPack() const;

    JCPages pages;
    std::string clickedPack;
    int32_t pageNumberId = 0;
};
