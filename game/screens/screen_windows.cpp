#include "game/screens/screen_windows.h"

#include "engine/windows/window_registry.h"
#include "game/screens/window_help.h"
#include "game/screens/window_help_ex.h"
#include "game/screens/window_options.h"
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
    RegisterWindowType("TWindow_HelpEx", &Make<gcWindow_HelpEx>);
    // -- in-game windows
    // -- tutorial steps

    // The default factory.
    // -- lists
    // -- shop
    // -- options and help
    RegisterFactoryWindowType("GG_WINDOW_OPTIONS", &Make<gcWindow_Options>);
    RegisterFactoryWindowType("GG_WINDOW_HELP", &Make<gcWindow_Help>);
    // -- trophies and bars
}
