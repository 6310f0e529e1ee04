#pragma once
// Where the game keeps its saves ("game.xml" with the user settings, "players.xml" with the
// profiles): "$XDG_DATA_HOME/quorvel/" when XDG_DATA_HOME holds an absolute path, otherwise
// "$HOME/.local/share/quorvel/". Without any absolute base the game runs without saving.

#include <string>

namespace Game {

// The save folder for the given values of XDG_DATA_HOME and of the home folder (either may be
// null), with its trailing "/". A value counts only when it is an absolute path; empty when
// neither is one.
std::string SaveFolderFor(const char* xdgDataHome, const char* home);

// The save folder of this process, from the environment; the home folder comes from the password
// database when HOME is unset, empty or not absolute. Empty when there is none, and then the
// first such call of the run says on stderr that nothing will be saved.
std::string FindSaveFolder();

// Creates every missing folder of path, each with mode 0700; folders that exist keep their mode.
// True when path is a folder afterwards.
bool MakeSaveFolders(const std::string& path);

}  // namespace Game
