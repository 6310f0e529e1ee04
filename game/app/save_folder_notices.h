#pragma once
// What the player is told about the save folder at start: that another copy of the game already
// runs over it, and which saves could not be read and were set aside.

#include <string>
#include <vector>

#include "game/config/unreadable_file.h"

// Takes this run's save folder (Game::LockSaveFolder). False when another running copy holds it:
// the player has then been told in a message box, and the run must end without writing anything.
// True otherwise, also when there is no save folder or it cannot be locked (then nothing keeps a
// second copy out, as before).
bool ClaimSaveFolder();

// The message for the files set aside: each file, where its copy is kept (or that it stays in
// place and is not written), and that the game goes on with its defaults. Empty for none.
std::string SetAsideMessage(const std::vector<Game::SetAsideFile>& files);

// Shows SetAsideMessage once for the files set aside since the last call, when there are any.
void TellSetAsideSaves();
