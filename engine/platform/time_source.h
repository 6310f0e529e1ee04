#pragma once
// The engine's millisecond clock and sleep. Tests replace both to drive the loop in simulated time.

#include <cstdint>

namespace QRV::Platform {

using NowFn = uint32_t (*)();
using SleepFn = void (*)(uint32_t ms);

// Monotonic milliseconds, wrapping at 2^32 (differences are taken unsigned).
uint32_t NowMs();
// Sleeps at least ms milliseconds; 0 yields.
void SleepMs(uint32_t ms);

// Monotonic microseconds (from the replaced millisecond clock while one is set).
uint64_t NowUs();
// Sleeps until NowUs() reaches the deadline (at once when it has); with a replaced clock, the
// replaced sleep for the whole milliseconds that cover the wait.
void SleepUntilUs(uint64_t deadline);

// Replaces the clock and the sleep; null restores the real ones.
void SetTimeSource(NowFn now, SleepFn sleep);

}  // namespace QRV::Platform
