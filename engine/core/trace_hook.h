#pragma once
// Reports from the engine's own checks that only a test run wants to hear of: a window file of a
// type nobody knows, a window name the window manager does not hold, the text a label draws, a
// character a font lacks, a file content names that cannot be read. The program installs one hook; without it (the
// default) nothing is reported and each check costs one atomic load. The hook may be called from the loader thread
// (windows load there) as well as the main thread.

#include <cstdint>
#include <string>

namespace QRV {

enum class TraceReport {
    UnknownWindowType,  // subject: the "_type"; where: the window file's key
    UnknownWindow,      // subject: the name asked for
    DrawnText,          // subject: the text a label draws (UTF-8), once per label and text
    MissingGlyph,       // subject: the code point ("U+00E9"); where: the font
    UnreadableFile,     // subject: the path of a file content names that cannot be read
};

using TraceHook = void (*)(TraceReport report, const std::string& subject, const std::string& where);

// Null removes the hook.
void SetTraceHook(TraceHook hook);
TraceHook GetTraceHook();
// Hands the report to the hook when one is installed.
void ReportTrace(TraceReport report, const std::string& subject, const std::string& where = std::string());
// "U+" and the code point in upper-case hex, at least four digits ("U+00E9", "U+1F600").
std::string CodePointName(uint32_t code);

}  // namespace QRV
