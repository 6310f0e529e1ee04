#pragma once
// A help window ("GG_WINDOW_HELP"): paged help content, its pages turned through the page
// indicator (and by drags on touch platforms). Control 2 closes it.
//
// Window file: child "pages" with "file" (the pages layout, each item a plain page with its own
// widgets, its labels localised) and "gui" (the id of the page-number widget). A window without
// "pages" (or without its "file") has no grid.

#include <cstdint>

#include "engine/windows/pages.h"
#include "engine/windows/window.h"

class gcWindow_Help : public JCWindow, public JIPagesDelegate {
public:
    static constexpr int32_t kClose = 2;

    gcWindow_Help();
    ~gcWindow_Help() override;

    void LoadAttributes(const pugi::xml_node& root) override;
    void OnGuiLoaded(QRV::JC_GUI_OBJECT* rootObject) override;
    void OnButton(int32_t id) override;

    JCPagesItem* CreateItem(const pugi::xml_node& element, int32_t index) override;

    // Null when the window has no "pages".
    JCPages* Pages() const { return pages; }

protected:
    // Owned by the window bots; null without "pages".
    JCPages* pages = nullptr;
    // "gui" of "pages": the page-number widget's id (0: none).
    int32_t pageNumberId = 0;
};
