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

}  // namespace

uint32_t NowMs() { return g_now(); }
void SleepMs(uint32_t ms) { g_sleep(ms); }

void SetTimeSource(NowFn now, SleepFn sleep) {
    g_now = now != nullptr ? now : RealNow;
    g_sleep = sleep != nullptr ? sleep : RealSleep;
}

}  // namespace QRV::Platform
