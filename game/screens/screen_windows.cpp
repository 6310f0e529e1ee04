#include "game/screens/screen_windows.h"

#include "engine/windows/window_registry.h"
#include "game/ui/window_factory.h"
// -- in-game windows
#include "game/screens/window_game_finish.h"
#include "game/screens/window_game_menu.h"
#include "game/screens/window_game_start.h"

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
    RegisterWindowType("TWindow_GameFinish", &Make<gcWindow_GameFinish>);
    RegisterWindowType("TWindow_GameMenu", &Make<gcWindow_GameMenu>);
    RegisterWindowType("TWindow_GameStart", &Make<gcWindow_GameStart>);
    // -- tutorial steps

    // The default factory.
    // -- lists
    // -- shop
    // -- options and help
    // -- trophies and bars
}
