#pragma once
// What the list and side-bar windows reach of the running game: the context of the application
// singleton, its game root and its current player and pack. Each is null while it does not
// exist (before start-up, after teardown, without a profile or a pack).

#include <string>

class gcContext;
class gcGame;
class gcGlobal;
class gcPlayer;
class JCPack;
class JCWindow;
class JCWindowManager;

namespace ListScreens {

gcGlobal& Global();
gcContext* Context();
gcGame* Game();
JCWindowManager* Windows();
gcPlayer* CurrentPlayer();
JCPack* CurrentPack();
// The window of that name among all windows, or among the shown ones.
JCWindow* FindWindow(const std::string& name);
bool IsShown(const std::string& name);
// Shows the window (nothing when there is no manager or no such window).
JCWindow* ShowNamed(const std::string& name, bool instant);
// Hides it when it is shown.
void HideShown(const std::string& name, bool instant);
// The edition's switches: a key the edition does not hold reads as 0 or "".
bool EditionFlag(const std::string& key);
// Platforms 2 and 3 (the touch editions).
bool TouchPlatform();

}  // namespace ListScreens
