#pragma once
// The application context: defaults, the running flag, frame-rate caps and the loop's timing.

#include <atomic>
#include <cstdint>
#include <string>

#include "engine/platform/clock.h"

namespace QRV {

struct JS_THREAD;

// The loop's own timing (JS_FRAME_TIMING) runs beside the game's clock: it paces the update steps.
struct JS_APP_CONTEXT : JS_FRAME_TIMING {
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
    int32_t renderCount = 0;
    int32_t updateCount = 0;
    // When the next update step is due (NowUs), 0 before the first; steps keep to the cap's
    // period from there.
    double nextUpdateUs = 0.0;
    JS_THREAD* soundThread = nullptr;

    // Defaults, zeroed timing, times = now, every engine singleton pointer null.
    JS_APP_CONTEXT& Reset();
    void SetDefaults();
};

extern JS_APP_CONTEXT* g_app;

}  // namespace QRV
