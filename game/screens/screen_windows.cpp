#include "game/screens/screen_windows.h"

#include "engine/windows/window_registry.h"
#include "game/ui/window_factory.h"
// -- tutorial steps
#include "game/screens/window_tutorial_step.h"

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
    RegisterWindowType("TWindow_TutorialStep", &gcWindow_TutorialStep::Create);

    // The default factory.
    // -- lists
    // -- shop
    // -- options and help
    // -- trophies and bars
}
