#pragma once
// The trophy list ("Trophy", type "GG_WINDOW_TROPHY"): a paged grid with one item per trophy
// (trophy_item.h) that shows its open or closed medal, name, description and bonus.
//
// Window XML: a child "pages" with "file" (the grid layout; each item element carries the property
// "trophy") and "gui" (the id of the page-number widget). An item that names no trophy of the
// game's list is not made.

#include <cstdint>

#include "engine/windows/pages.h"
#include "engine/windows/window.h"

class gcWindow_Trophy : public JCWindow, public JIPagesDelegate {
public:
    gcWindow_Trophy() = default;

    void LoadAttributes(const pugi::xml_node& root) override;
    void OnGuiLoaded(QRV::JC_GUI_OBJECT* rootObject) override;
    void OnShowBegin() override;
    void OnShown() override;
    void OnHideBegin() override;
    void OnHidden() override;
    void Refresh() override;
    void OnButton(int32_t id) override;

    JCPagesItem* CreateItem(const pugi::xml_node& element, int32_t index) override;

    // The grid (owned by the window bots), null without a "pages" child.
    JCPages* Pages() const { return pages; }

private:
    // The grid's root takes only the current page's trees (the flag set) or every tree.
    void SetCurrentPageOnly(bool only);

    JCPages* pages = nullptr;
    int32_t pageNumberId = -1;
};
