#include "engine/platform/time_source.h"

#include <chrono>
#include <thread>

namespace QRV::Platform {
namespace {

uint32_t RealNow() {
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void RealSleep(uint32_t ms) {
    if (ms == 0) std::this_thread::yield();
    else std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

NowFn g_now = RealNow;
SleepFn g_sleep = RealSleep;

bool RealClock() { return g_now == RealNow && g_sleep == RealSleep; }

}  // namespace

uint32_t NowMs() { return g_now(); }
void SleepMs(uint32_t ms) { g_sleep(ms); }

uint64_t NowUs() {
    using namespace std::chrono;
    if (RealClock()) return static_cast<uint64_t>(duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
    return uint64_t{g_now()} * 1000;
}

void SleepUntilUs(uint64_t deadline) {
    if (RealClock()) {
        // The system's timer wakes within tens of microseconds of the deadline, with no spinning.
        std::this_thread::sleep_until(std::chrono::steady_clock::time_point(std::chrono::microseconds(deadline)));
        return;
    }
    // A replaced clock counts whole milliseconds: the sleep rounds up to the next one.
    const uint64_t now = NowUs();
    if (deadline > now) g_sleep(static_cast<uint32_t>((deadline - now + 999) / 1000));
}

void SetTimeSource(NowFn now, SleepFn sleep) {
    g_now = now != nullptr ? now : RealNow;
    g_sleep = sleep != nullptr ? sleep : RealSleep;
}

}  // namespace QRV::Platform
