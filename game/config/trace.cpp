#include "game/config/trace.h"

#include <array>
#include <atomic>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace Game {
namespace {

// -1 not read yet, 0 off, 1 on.
std::atomic<int> g_traceState{-1};

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

std::string LevelEndTraceLine(bool won, int32_t errors, float seconds) {
    std::array<char, 32> time{};
    const auto written = std::to_chars(time.data(), time.data() + time.size(), static_cast<double>(seconds),
                                       std::chars_format::fixed, 2);
    return std::string(won ? "level won" : "level lost") + " errors " + std::to_string(errors) + " time " +
           std::string(time.data(), written.ptr);
}

}  // namespace Game
