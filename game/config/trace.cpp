#include "game/config/trace.h"

#include <array>
#include <atomic>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>

namespace Game {
namespace {

// -1 not read yet, 0 off, 1 on.
std::atomic<int> g_traceState{-1};
// The lines TraceOnce wrote (the loader thread reports too).
std::mutex g_onceLock;
std::set<std::string> g_onceLines;

}  // namespace

bool TraceEnabled() {
    int state = g_traceState.load();
    if (state < 0) {
        const char* value = std::getenv("QUORVEL_TRACE");
        state = value != nullptr && std::strcmp(value, "1") == 0 ? 1 : 0;
        g_traceState.store(state);
    }
    return state == 1;
}

void SetTraceEnabled(bool enabled) { g_traceState.store(enabled ? 1 : 0); }

void Trace(const std::string& line) {
    if (!TraceEnabled()) return;
    const std::string text = "quorvel-trace: " + line + "\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

void TraceOnce(const std::string& line) {
    if (!TraceEnabled()) return;
    {
        const std::lock_guard<std::mutex> lock(g_onceLock);
        if (!g_onceLines.insert(line).second) return;
    }
    Trace(line);
}

bool LooksLikeRawKey(const std::string& text, const std::function<bool(const std::string&)>& isKey) {
    if (text.empty()) return false;
    if (text.find('_') != std::string::npos && text.find_first_of(" \t\n") == std::string::npos) return true;
    return isKey && isKey(text);
}

std::string EngineTraceLine(QRV::TraceReport report, const std::string& subject, const std::string& where,
                            const std::function<bool(const std::string&)>& isKey) {
    switch (report) {
        case QRV::TraceReport::UnknownWindowType: return "unknown window type " + subject + " in " + where;
        case QRV::TraceReport::UnknownWindow: return "unknown window " + subject;
        case QRV::TraceReport::DrawnText: return LooksLikeRawKey(subject, isKey) ? "raw key " + subject : "";
        case QRV::TraceReport::MissingGlyph: return "missing glyph " + subject + " in " + where;
        case QRV::TraceReport::UnreadableFile: return "unreadable file " + subject;
    }
    return "";
}

std::string LevelEndTraceLine(bool won, int32_t errors, float seconds) {
    std::array<char, 32> time{};
    const auto written = std::to_chars(time.data(), time.data() + time.size(), static_cast<double>(seconds),
                                       std::chars_format::fixed, 2);
    return std::string(won ? "level won" : "level lost") + " errors " + std::to_string(errors) + " time " +
           std::string(time.data(), written.ptr);
}

}  // namespace Game
