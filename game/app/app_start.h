#pragma once
// The game's start function and the hooks it installs.

#include <cstdint>

namespace Game {

// Installs the start hook and the default close action (run before main by static initialisation).
void RegisterMainHooks();

// The start function: defaults, hooks, engine Init and Run. 100500 after a run, -100500 when the
// engine could not start.
int AppStart(uintptr_t);

}  // namespace Game
