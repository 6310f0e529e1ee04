#pragma once
// Test aid: with QUORVEL_TRACE=1 in the environment, the game writes one line to stderr for each
// window opened or closed, each level started, won or lost (and the bonus cells of each level
// loaded), each save written and the first running frame. Off unless set; end-to-end drivers wait on these lines.
//
// With the trace on, the engine's reports (engine/core/trace_hook.h) become lines too, each line
// once per run: "unknown window type <type> in <file>", "unknown window <name>", "raw key <text>"
// for a drawn text that is a string key never replaced, "missing glyph U+XXXX in <font>",
// "unreadable file <path>" for a file content names that cannot be read.

#include <cstdint>
#include <functional>
#include <string>

#include "engine/core/trace_hook.h"

namespace Game {

// Whether tracing is on (read from the environment once; tests may force it).
bool TraceEnabled();
// Forces tracing on or off for this process (tests).
void SetTraceEnabled(bool enabled);
// Writes "quorvel-trace: " + line and a newline to stderr when tracing is on. The line is written
// as it stands, never used as a format.
void Trace(const std::string& line);
// Trace, but a line already written once in this run is not written again.
void TraceOnce(const std::string& line);

// Whether a drawn text is a string key that was never replaced: a key of the table (isKey says),
// or a text holding "_" and no blank.
bool LooksLikeRawKey(const std::string& text, const std::function<bool(const std::string&)>& isKey);
// The trace line of an engine report; "" when it makes none (a drawn text that is no raw key).
std::string EngineTraceLine(QRV::TraceReport report, const std::string& subject, const std::string& where,
                            const std::function<bool(const std::string&)>& isKey);

// The line of a finished level: "level won errors 0 time 12.34" (seconds with two decimals, a
// point whatever the locale).
std::string LevelEndTraceLine(bool won, int32_t errors, float seconds);

}  // namespace Game
