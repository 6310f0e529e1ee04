#include "game/screens/screen_windows.h"

#include "engine/windows/window_registry.h"
#include "game/screens/window_bar_health.h"
#include "game/screens/window_bar_money.h"
#include "game/screens/window_trophy.h"
#include "game/screens/window_trophy_get.h"
#include "game/ui/window_factory.h"

namespace {

template <class Window>
JCWindow* Make() {
    return new Window();
}

}  // namespace

void RegisterScreenWindows() {
    // The window-type registry.
    // -- title and profiles
    // -- lists
    // -- options and help
    // -- in-game windows
    // -- tutorial steps

    // The default factory.
    // -- lists
    // -- shop
    // -- options and help
    // -- trophies and bars
    RegisterFactoryWindowType("GG_WINDOW_TROPHY", &Make<gcWindow_Trophy>);
    RegisterFactoryWindowType("GG_WINDOW_TROPHY_GET", &Make<gcWindow_TrophyGet>);
    RegisterFactoryWindowType("GG_WINDOW_HEALTH", &Make<gcWindow_BarHealth>);
    RegisterFactoryWindowType("GG_WINDOW_SUNIME", &Make<gcWindow_BarMoney>);
}
