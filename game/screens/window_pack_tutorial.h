#pragma once
// The tutorial pack list (window "Tutorial", type "TWindow_PackTutorial"): the cards of the
// tutorial packs in a paged grid; a click opens the pack's level list. The cards are the
// catalogue's packs, lent to the window's grid as in the pack list, and they show their stars as
// the pack list's cards do (on every show and refresh).

#include <cstdint>

#include "engine/windows/pages.h"
#include "engine/windows/window.h"

class gcWindow_PackTutorial : public JCWindow, public JIPagesDelegate {
public:
    gcWindow_PackTutorial();
    // Hands the cards back to the catalogue.
    ~gcWindow_PackTutorial() override;

    void LoadAttributes(const pugi::xml_node& root) override;
    void OnGuiLoaded(QRV::JC_GUI_OBJECT* rootObject) override;
    void OnShowBegin() override;
    void OnShown() override;
    void OnHideBegin() override;
    void Refresh() override;
    void OnButton(int32_t /*id*/) override {}

    JCPagesItem* CreateItem(const pugi::xml_node& element, int32_t index) override;
    void OnItemClick(JCPagesItem* item) override;

    JCPages& Pages() { return pages; }

    static JCWindow* Create();

private:
    JCPages pages;
    int32_t pageNumberId = 0;
};
