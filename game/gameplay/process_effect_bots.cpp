// The board effects the process starts. Placeholders until the effect bots land: nothing starts.

#include "game/gameplay/process.h"

bool gcProcess::StartEffect(int32_t, int32_t, const std::vector<gcElement*>&, float, float, float, const std::string&) {
    return false;
}

bool gcProcess::StartFill(bool, Cell, Cell, float, float, int32_t) { return false; }
