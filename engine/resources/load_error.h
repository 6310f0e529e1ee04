#pragma once
// The stop for a required data file that cannot be loaded: a message box naming the file (its
// caption is the file name), then the process ends with a failure status. Any thread may call it.

#include <string>

// The process exit status after a load error (the classic -1 as the shell sees it).
inline constexpr int kLoadErrorExitCode = 255;

// The message text for a file name (UTF-8). With the resource key of the file (or when the name
// is a key itself, "folder file") the text also names the file's path below the run folder, as
// "Resources/folder/file".
std::string LoadErrorText(const std::string& fileName, const std::string& key = std::string());

[[noreturn]] void ShowLoadErrorAndExit(const std::string& fileName, const std::string& key = std::string());
