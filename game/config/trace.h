#pragma once
// Test aid: with QUORVEL_TRACE=1 in the environment, the game writes one line to stderr for each
// window opened or closed, each level started, won or lost, each save written and the first
// running frame. Off unless set; end-to-end drivers wait on these lines.

#include <cstdint>
#include <string>

namespace Game {

// Whether tracing is on (read from the environment once; tests may force it).
bool TraceEnabled();
// Forces tracing on or off for this process (tests).
void SetTraceEnabled(bool enabled);
// Writes "quorvel-trace: " + line and a newline to stderr when tracing is on. The line is written
// as it stands, never used as a format.
void Trace(const std::string& line);
// The line of a finished level: "level won errors 0 time 12.34" (seconds with two decimals, a
// point whatever the locale).
std::string LevelEndTraceLine(bool won, int32_t errors, float seconds);

}  // namespace Game
