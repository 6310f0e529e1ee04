#pragma once
// The frame clock: publishes the last frame's duration in seconds to every timed object.

#include <atomic>
#include <cstdint>

namespace QRV {

// The last frame's duration in seconds. Written by the main thread, read by the sound thread too.
extern std::atomic<float> g_frameTime;

// One frame clock's fields. Advance(now): dtMs = now - lastMs, dt in seconds (clamped to maxDt when
// that is not 0), *frameTimeOut = dt, totalTime += dt.
struct JS_FRAME_TIMING {
    void Advance(uint32_t now);

    std::atomic<float>* frameTimeOut = nullptr;
    uint32_t startMs = 0;
    uint32_t nowMs = 0;
    uint32_t lastMs = 0;
    float totalTime = 0.0f;
    float dt = 0.0f;
    float maxDt = 0.0f;
    uint32_t dtMs = 0;
};

// The game's clock: advanced once per update step with the time source's milliseconds.
class JC_CLOCK : public JS_FRAME_TIMING {
public:
    JC_CLOCK();

    void Update();
};

extern JC_CLOCK* g_clock;

}  // namespace QRV
