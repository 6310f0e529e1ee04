#include "engine/platform/clock.h"

#include "engine/platform/time_source.h"

namespace QRV {

std::atomic<float> g_frameTime{0.0f};
JC_CLOCK* g_clock = nullptr;

JC_CLOCK::JC_CLOCK() {
    frameTimeOut = &g_frameTime;
    startMs = nowMs = lastMs = Platform::NowMs();
}

void JS_FRAME_TIMING::Advance(uint32_t now) {
    nowMs = now;
    dtMs = nowMs - lastMs;
    lastMs = nowMs;
    dt = static_cast<float>(dtMs) / 1000.0f;
    if (maxDt != 0.0f && dt > maxDt) dt = maxDt;
    if (frameTimeOut != nullptr) frameTimeOut->store(dt);
    totalTime += dt;
}

void JC_CLOCK::Update() { Advance(Platform::NowMs()); }

}  // namespace QRV
