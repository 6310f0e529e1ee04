#pragma once
// The pause menu ("GP_Menu"): pauses the level while shown; resume (1), restart (2), back to the
// level list (3), options (4) and the shop (5). Restart and leaving ask first; each costs a heart
// on yes (outside tutorial packs and with hearts on).
//
// Restart is shown disabled while the player has no heart left, except in a tutorial pack or
// when the edition keeps no hearts. The shop is shown disabled while the tutorial's current step
// waits for the shop to open or close: that lesson is taken on the board's own store button, and
// a shop left for this menu would never tell the step it closed. Both follow every frame while
// the menu is up (hearts bought in the shop over it, a heart refilled by the clock).

#include <cstdint>

#include "engine/windows/window.h"

class gcWindow_GameMenu : public JCWindow {
public:
    void OnShowBegin() override;
    void OnShowStarted() override;
    void OnUpdate() override;
    void OnButton(int32_t id) override;

    // Whether restart may be pressed now.
    static bool CanRestart();
    // Whether the shop may be opened from here now.
    static bool CanOpenShop();

private:
    // Restart and the shop enabled as they may be pressed; `always` sets them even when unchanged
    // (which also clears a hover left from the last show).
    void UpdateButtons(bool always);
    void OnRestartAnswer(int32_t answer);
    void OnCloseAnswer(int32_t answer);
    // While the screen is dark: back to the level list.
    void LeaveToLevels();
};
