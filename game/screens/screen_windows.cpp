#include "game/screens/screen_windows.h"

#include "engine/windows/window_registry.h"
#include "game/screens/window_offerwall.h"
#include "game/screens/window_shop.h"
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
    RegisterFactoryWindowType("GG_WINDOW_SHOP", &Make<gcWindow_Shop>);
    RegisterFactoryWindowType("GG_WINDOW_OFFERWALL", &Make<gcWindow_Offerwall>);
    // -- options and help
    // -- trophies and bars
}
