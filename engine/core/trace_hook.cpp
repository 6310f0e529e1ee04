#include "engine/core/trace_hook.h"

#include <atomic>

namespace QRV {
namespace {

std::atomic<TraceHook> g_traceHook{nullptr};

}  // namespace

void SetTraceHook(TraceHook hook) { g_traceHook.store(hook); }

TraceHook GetTraceHook() { return g_traceHook.load(std::memory_order_relaxed); }

void ReportTrace(TraceReport report, const std::string& subject, const std::string& where) {
    if (const TraceHook hook = g_traceHook.load()) hook(report, subject, where);
}

std::string CodePointName(uint32_t code) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string digits;
    for (; code != 0 || digits.size() < 4; code >>= 4) digits.insert(digits.begin(), kDigits[code & 0xF]);
    return "U+" + digits;
}

}  // namespace QRV
