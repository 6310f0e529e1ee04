#include "game/app/context.h"

gcContext::gcContext() : eventDispatcher(&dispatcher) {}
