#include "game/screens/pausing_windows.h"

#include "engine/windows/window_manager.h"

namespace {

// The start, pause and finish windows, the shop, the trophy announcement, the tutorial question
// and the dialogs of a lost level.
constexpr const char* kPausingWindows[] = {
    "GP_Start",
    "GP_Menu",
    "GP_Finish",
    "Tutorial_Finish",
    "Shop",
    "Trophy_Get",
    "GP_Tutorial_Question",
    "Confirm_SecondChance",
    "Confirm_SecondChanceBuy",
    "Confirm_Restart_Finish",
    "confirm_restart_health_is_empty",
};

}  // namespace

bool OtherPausingWindowShown(const JCWindowManager& windows, const JCWindow* self) {
    for (const char* name : kPausingWindows) {
        const JCWindow* shown = windows.FindShownWindow(name);
        if (shown != nullptr && shown != self) return true;
    }
    return false;
}
