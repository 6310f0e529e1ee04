#pragma once
// Save files that exist but cannot be read. Such a file is moved aside, never overwritten: the
// game goes on with its defaults, and the player's data stays on disk for a later rescue.

#include <string>

namespace Game {

// Renames the file at path to "<path>.bad", or to "<path>.bad.1", "<path>.bad.2", ... when
// earlier ones exist (those are never replaced), and names both paths in one line on stderr.
// Returns the new path. When the file cannot be renamed it stays where it is, writes to path are
// refused for the rest of the run (IsWriteRefused), and the result is empty.
std::string SetAsideUnreadable(const std::string& path);

// True when path is an unreadable file that could not be moved aside during this run.
bool IsWriteRefused(const std::string& path);

// Forgets every refusal (tests only: a run never takes one back).
void ForgetRefusedWrites();

}  // namespace Game
