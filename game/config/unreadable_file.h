#pragma once
// Save files that exist but cannot be read. Such a file is moved aside, never overwritten: the
// game goes on with its defaults, and the player's data stays on disk for a later rescue. A file
// read only in part (loading had to leave something of it out) keeps a copy beside it before the
// game first writes over it.

#include <string>
#include <string_view>
#include <vector>

namespace Game {

// A save file that was moved aside during this run: where it was and where it is kept now
// (empty when it could not be moved and stays in place, refused for writing).
struct SetAsideFile {
    std::string path;
    std::string keptAs;
};

// Renames the file at path to "<path>.bad", or to "<path>.bad.1", "<path>.bad.2", ... when
// earlier ones exist (those are never replaced), and names both paths in one line on stderr.
// Returns the new path. When the file cannot be renamed it stays where it is, writes to path are
// refused for the rest of the run (IsWriteRefused), and the result is empty. Either way the file
// is listed for TakeSetAsideFiles.
std::string SetAsideUnreadable(const std::string& path);

// Writes bytes (the file's contents as read) as a new file under the first free name of the same
// series ("<path>.bad", "<path>.bad.1", ...), leaving path where it is, and names both paths on
// stderr. Returns the copy's path. When no copy can be made, writes to path are refused for the
// rest of the run and the result is empty.
std::string KeepCopyOfPartlyRead(const std::string& path, std::string_view bytes);

// True when path is an unreadable file that could not be moved aside during this run.
bool IsWriteRefused(const std::string& path);

// The files set aside since the last call, in the order they were met; the list is emptied.
std::vector<SetAsideFile> TakeSetAsideFiles();

// Forgets every refusal and every file set aside (tests only: a run never takes one back).
void ForgetRefusedWrites();

}  // namespace Game
