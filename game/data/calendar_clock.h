#pragma once
// The calendar time that hearts are counted in: whole seconds since 1970 as a 64-bit value, read
// from one clock that tests replace.

#include <cstdint>

namespace Game {

using CalendarClockFn = int64_t (*)();

// The current calendar time in seconds (the runtime's time() unless a test clock is set).
int64_t CalendarNow();

// Replaces the clock; null restores the runtime's.
void SetCalendarClock(CalendarClockFn clock);

}  // namespace Game
