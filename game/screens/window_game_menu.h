#pragma once
// The pause menu ("GP_Menu"): pauses the level while shown; resume (1), restart (2), back to the
// level list (3), options (4) and the shop (5). Restart and leaving ask first; each costs a heart
// on yes (outside tutorial packs and with hearts on).
//
// Restart is shown disabled while the player has no heart left, except in a tutorial pack or
// when the edition keeps no hearts.

#include <cstdint>

#include "engine/windows/window.h"

class gcWindow_GameMenu : public JCWindow {
public:
    void OnShowBegin() override;
    void OnShowStarted() override;
    void OnButton(int32_t id) override;

    // Whether restart may be pressed now.
    static bool CanRestart();

private:
    void OnRestartAnswer(int32_t answer);
    void OnCloseAnswer(int32_t answer);
    // While the screen is dark: back to the level list.
    void LeaveToLevels();
};
