#pragma once
// The result codes of the engine's operations, hooks and messages, and the process results of the
// start function. Several meanings share one number; each has its own name here.

#include <cstdint>

namespace QRV::RESULT {

constexpr int32_t Ok = 1;
constexpr int32_t Failed = -1;  // a general failure (no window, no device, no such folder)

// No hook record, no such object, resource or member, or the file cannot be opened.
constexpr int32_t Missing = -108;
// Short or corrupt data, or a declared size beyond the limits.
constexpr int32_t ShortRead = -109;
// The main loop does not run (a frame asked for after it ended).
constexpr int32_t NotRunning = -109;
// A message result: no later object of the list gets this message in this pass.
constexpr int32_t Stop = -109;
// The graphics device was lost and has been reset: nothing is drawn this frame.
constexpr int32_t DeviceReset = -110;
// A start-up step (the loader's job) or a sound stream failed.
constexpr int32_t StartFailed = -112;
// A message result: the object has finished and its owning list deletes it.
constexpr int32_t Finished = -113;

// A thread's result while its function still runs.
constexpr int32_t StillActive = 259;

// The start function's result after a normal run, and the default close action's result.
constexpr int32_t NormalEnd = 100500;
constexpr int32_t DefaultClose = -100500;

}  // namespace QRV::RESULT
