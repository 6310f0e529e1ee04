#pragma once
// The one way the game writes a save file. A reader, or a run killed at any moment, finds either
// the old file or the whole new one, never a mix or a part.

#include <string>
#include <string_view>

namespace Game {

// Writes bytes as the file at path (an absolute path): the bytes go to a new temporary file of
// this write alone in the same folder ("<path>.<process>.<count>.<random>.tmp", created only if no
// such file exists; missing folders are made with mode 0700), are flushed and synced to disk, the
// temporary file is renamed over path, and the folder is synced. Writers in several threads or
// processes therefore never mix their bytes: path holds one whole write. When any step fails the
// temporary file is removed, the old file stays as it was, one line on stderr names the file and
// the reason, and the result is false. Temporary files left by an interrupted run are never read
// nor reused. Paths that are refused for this run (IsWriteRefused) are not written.
bool SafeWriteFile(const std::string& path, std::string_view bytes);

// Writes every byte to the open file, going on after interrupted writes; false on any other error.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace Game
