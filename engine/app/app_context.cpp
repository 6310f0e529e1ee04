#include "engine/app/app_context.h"

#include "engine/graphics/render.h"
#include "engine/platform/clock.h"
#include "engine/platform/input.h"
#include "engine/platform/time_source.h"
#include "engine/platform/window.h"
#include "engine/resources/repository_manager.h"
#include "engine/sound/sound_manager.h"

namespace QRV {
namespace {
JS_APP_CONTEXT g_appInstance;
}

JS_APP_CONTEXT* g_app = &g_appInstance;

void JS_APP_CONTEXT::SetDefaults() {
    fullscreen = 0;
    stretch = 0;
    running = 0;
    title = "Quorvel Game";
    name = "Quorvel";
    desktopWidth = 0;
    desktopHeight = 0;
    width = 1024;
    height = 768;
    renderCap = 60;
    updateCap = 0;
    frameTimeOut = nullptr;
}

JS_APP_CONTEXT& JS_APP_CONTEXT::Reset() {
    SetDefaults();
    renderFps = updateFps = 0;
    renderAccumulator = updateAccumulator = 0.0f;
    totalTime = dt = maxDt = 0.0f;
    dtMs = 0;
    renderCount = updateCount = 0;
    nextUpdateUs = 0.0;
    startMs = nowMs = lastMs = Platform::NowMs();
    g_input = nullptr;
    g_mousePos = nullptr;
    g_window = nullptr;
    g_render = nullptr;
    g_clock = nullptr;
    g_soundManager = nullptr;
    g_repositoryManager = nullptr;
    soundThread = nullptr;
    return *this;
}

}  // namespace QRV
