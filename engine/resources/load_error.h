#pragma once
// The stop for a required data file that cannot be loaded: a message box naming the file (its
// caption is the file name), then the process ends with a failure status. Any thread may call it.

#include <string>

// The process exit status after a load error (the classic -1 as the shell sees it).
inline constexpr int kLoadErrorExitCode = 255;

// The message text for a file name (UTF-8).
std::string LoadErrorText(const std::string& fileName);

[[noreturn]] void ShowLoadErrorAndExit(const std::string& fileName);
