#pragma once
// The process entry: the command line, the start hook and the process exit status.

#include <cstdint>

namespace QRV {

// Reads the command line, calls the start hook and returns its result (-108 without one).
int RunStartHook(int argc, const char* const* argv);

// The exit status the shell sees: 0 for a normal run (100500), 1 for anything else (the engine's
// own code is written to stderr).
int ExitStatusFor(int result);

// The default close action: ends the process at once with the code -100500.
int DefaultCloseHandler(uintptr_t);

}  // namespace QRV
