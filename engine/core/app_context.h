#pragma once
// The application context: defaults, the running flag, frame-rate caps and the loop's timing.

#include <atomic>
#include <cstdint>
#include <string>

namespace QRV {

struct JS_THREAD;

struct JS_APP_CONTEXT {
    uint8_t fullscreen = 0;
    uint8_t stretch = 0;
    uint8_t running = 0;
    std::string title = "Quorvel Game";
    std::string name = "Quorvel";
    int32_t desktopWidth = 0;
    int32_t desktopHeight = 0;
    int32_t width = 1024;
    int32_t height = 768;
    int32_t renderFps = 0;
    int32_t renderCap = 60;
    int32_t updateFps = 0;
    int32_t updateCap = 0;
    float renderAccumulator = 0.0f;
    float updateAccumulator = 0.0f;
    std::atomic<float>* frameTimeOut = nullptr;
    uint32_t startMs = 0;
    uint32_t nowMs = 0;
    uint32_t lastMs = 0;
    float totalTime = 0.0f;
    float dt = 0.0f;
    float maxDt = 0.0f;
    uint32_t dtMs = 0;
    int32_t renderCount = 0;
    int32_t updateCount = 0;
    JS_THREAD* soundThread = nullptr;

    // Defaults, zeroed timing, times = now, every engine singleton pointer null.
    JS_APP_CONTEXT& Reset();
    void SetDefaults();
};

extern JS_APP_CONTEXT* g_app;

}  // namespace QRV
