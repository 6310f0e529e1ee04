#include "game/app/context.h"

#include "game/app/game.h"
#include "game/ui/window_factory.h"

gcContext::gcContext() : windowManager(&stringTable), eventDispatcher(&dispatcher) {
    // Window files whose type no registered class claims are made by the game's factory.
    windowManager.defaultFactory = &CreateWindowByType;
}

gcContext::~gcContext() = default;
