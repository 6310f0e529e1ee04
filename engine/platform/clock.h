#pragma once
// The frame clock: publishes the last frame's duration in seconds to every timed object.

#include <atomic>
#include <cstdint>

namespace QRV {

// The last frame's duration in seconds. Written by the main thread, read by the sound thread too.
extern std::atomic<float> g_frameTime;

class JC_CLOCK {
public:
    JC_CLOCK();

    // nowMs, dtMs, dt (clamped to maxDt when it is not 0), *frameTimeOut = dt, totalTime += dt.
    void Update();

    std::atomic<float>* frameTimeOut = nullptr;
    uint32_t startMs = 0;
    uint32_t nowMs = 0;
    uint32_t lastMs = 0;
    float totalTime = 0.0f;
    float dt = 0.0f;
    float maxDt = 0.0f;
    uint32_t dtMs = 0;
};

extern JC_CLOCK* g_clock;

}  // namespace QRV
