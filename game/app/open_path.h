#pragma once
// Opening a file or address with the desktop's opener at exit: `xdg-open` spawned with the path
// as its only argument, never through a shell, and not waited for. Tests replace the opener.

#include <string>

namespace Game {

using PathOpener = void (*)(const std::string& path);

// Hands the path to the current opener (xdg-open unless replaced).
void OpenPath(const std::string& path);
// Replaces the opener; null restores xdg-open.
void SetPathOpener(PathOpener opener);

}  // namespace Game
