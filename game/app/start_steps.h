#pragma once
// The game's start-up loads, run by the loader job while the loading screen shows, in the order
// the game root will run them: packs, trophies, the player list, the purchase and advertising
// services, tutorials, the store and the window list. Steps the game does not have yet are left
// out. Every file the edition names is required: a missing one ends the program with the
// load-error message.

#include <string>

class gcContext;
class JCPropertyMap;

namespace QRV {
class JC_LOADER;
}

namespace Game {

// False when a step fails (packs, trophies, window list) or the loader asks to stop; the steps
// after it are not run. The player list is read from the save folder (none for an empty one) and
// its current player's progress goes into the packs. The loader (may be null) is asked between
// steps whether to stop. The window handle is handed to the purchase service as it is.
bool RunStartSteps(gcContext& context, const JCPropertyMap& edition, const std::string& saveFolder,
                   const QRV::JC_LOADER* loader, void* window);

}  // namespace Game
