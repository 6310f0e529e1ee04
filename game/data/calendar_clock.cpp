#include "game/data/calendar_clock.h"

#include <atomic>
#include <ctime>

namespace Game {
namespace {

int64_t RuntimeTime() { return static_cast<int64_t>(std::time(nullptr)); }

std::atomic<CalendarClockFn> g_clock{&RuntimeTime};

}  // namespace

int64_t CalendarNow() { return g_clock.load()(); }

void SetCalendarClock(CalendarClockFn clock) { g_clock.store(clock != nullptr ? clock : &RuntimeTime); }

}  // namespace Game
