#include "game/app/context.h"

gcContext::gcContext() : windowManager(&stringTable), eventDispatcher(&dispatcher) {}
