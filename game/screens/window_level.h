#pragma once
// The level list (window "Levels", type "GG_WINDOW_LEVEL"): the current pack's level grid, lent
// by the pack for as long as the list is shown. A click on an open level fades out, hides the
// menus and starts the level.
//
// Settings ("param" entries): "gui_pagination", the id of the page indicator.

#include <cstdint>
#include <string>

#include "engine/core/property_map.h"
#include "engine/windows/pages.h"
#include "engine/windows/window.h"

class gcWindow_Level : public JCWindow, public JIPagesDelegate {
public:
    gcWindow_Level();
    // Lets go of a grid still lent (the packs outlive the windows at exit).
    ~gcWindow_Level() override;

    void LoadSettings(const pugi::xml_node& settings) override;
    // Without a current pack the list stays empty.
    void OnShowBegin() override;
    void OnShown() override;
    void OnHideBegin() override;
    // Gives the grid back and releases its items' resources.
    void OnHidden() override;
    void Refresh() override;
    void OnButton(int32_t /*id*/) override {}

    JCPagesItem* CreateItem(const pugi::xml_node& element, int32_t index) override;
    void OnItemClick(JCPagesItem* item) override;

    // Open, closed and active looks, numbers and stars of the lent levels.
    void UpdateItems();

    // The grid shown now (null while hidden).
    JCPages* Pages() const { return pages; }
    const std::string& ClickedLevel() const { return clickedLevel; }
    const JCPropertyMap& Settings() const { return settings; }

    static JCWindow* Create();

private:
    void OnHealthAnswer(int32_t answer);
    // The fade has covered the screen: hide the menus, then start.
    void OnFadeShown();
    // The menus are hidden: start the level, or come back to the list when it does not start.
    void OnScreensHidden();
    // Takes the lent grid back out of the window.
    void ReleasePages();

    JCPropertyMap settings;
    std::string clickedLevel;
    // Lent by the current pack while shown; not owned.
    JCPages* pages = nullptr;
    // The window that holds the start as its after-hide callback, until the start runs.
    JCWindow* startReceiver = nullptr;
    bool starting = false;
};
