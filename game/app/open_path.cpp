#include "game/app/open_path.h"

#include <spawn.h>

#include <cstdio>

extern char** environ;

namespace Game {
namespace {

void SpawnXdgOpen(const std::string& path) {
    std::string program = "xdg-open";
    std::string argument = path;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, "xdg-open", nullptr, nullptr, argv, environ) != 0)
        std::fprintf(stderr, "quorvel: xdg-open could not be started\n");
}

PathOpener g_opener = &SpawnXdgOpen;

}  // namespace

void OpenPath(const std::string& path) { g_opener(path); }

void SetPathOpener(PathOpener opener) { g_opener = opener != nullptr ? opener : &SpawnXdgOpen; }

}  // namespace Game
