#pragma once
// The side bar beside the menu lists (window "Sidebar", type "WindowSidebar"): the navigation
// buttons 2 packs, 3 trophies, 4 options, 5 back, 6 shop, 8 tutorials, 9 offer wall.
//
// On the touch platforms Back exists only while the level list is shown: the bar hooks the show
// and hide of "Levels" when it is made (so "Levels" comes first in the window list) and hides its
// own Back when it shows.

#include <cstdint>

#include "engine/windows/window.h"

class gcWindow_Sidebar : public JCWindow {
public:
    // Hooks the show-started and hide-started callbacks of "Levels", found through the game's
    // window manager (the bar has no manager of its own yet).
    gcWindow_Sidebar();
    ~gcWindow_Sidebar() override;

    void OnButton(int32_t id) override;
    void OnShowStarted() override;

    // Hides every shown list and its title.
    static void CloseListScreens(bool instant);

    static JCWindow* Create();

private:
    void OnBack();
    // Back's button enabled and visible, or disabled and hidden, on the touch platforms only.
    void SetBackShown(bool shown);
    void OnLevelsShowStarted();
    void OnLevelsHideStarted();
    // The fade's shown callback on the way back to the title.
    void OnFadeToTitle();
};
