#include "engine/app/engine.h"

#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/app/app_context.h"
#include "engine/core/callback.h"
#include "engine/core/command_line.h"
#include "engine/core/property_map.h"
#include "engine/core/result_codes.h"
#include "engine/graphics/render.h"
#include "engine/platform/clock.h"
#include "engine/platform/gl_device.h"
#include "engine/platform/input.h"
#include "engine/platform/main_thread.h"
#include "engine/platform/message_box.h"
#include "engine/platform/thread.h"
#include "engine/platform/time_source.h"
#include "engine/platform/window.h"
#include "engine/resources/repository_manager.h"
#include "engine/resources/resource_loaders.h"
#include "engine/sound/sound_manager.h"
#include "engine/sound/sound_thread.h"

namespace QRV::Engine {
namespace {

DeviceFactory g_deviceFactory = nullptr;

int FrameHook(uintptr_t) { return Frame(); }

// QUORVEL_FRAME_STATS set: a line a second on stderr with the steps of that second, the frames
// presented and skipped as unchanged, and the steps that started over half a period late.
bool g_frameStats = false;
uint32_t g_lateSteps = 0;
uint64_t g_reportedPresented = 0;
uint64_t g_reportedSkipped = 0;

void ReportFrameStats(int32_t steps) {
    const Platform::UnchangedFrameFilter* filter = g_render != nullptr ? g_render->FrameFilter() : nullptr;
    const uint64_t presented = filter != nullptr ? filter->PresentedFrames() : 0;
    const uint64_t skipped = filter != nullptr ? filter->SkippedFrames() : 0;
    std::fprintf(stderr, "quorvel-frames: steps %d presented %llu skipped %llu late %u\n", steps,
                 static_cast<unsigned long long>(presented - g_reportedPresented),
                 static_cast<unsigned long long>(skipped - g_reportedSkipped), g_lateSteps);
    g_reportedPresented = presented;
    g_reportedSkipped = skipped;
    g_lateSteps = 0;
}

int FailGraphics() {
    Platform::ShowMessageBox("The game could not initialise graphics.", "Error", Platform::MessageBoxKind::Error);
    return RESULT::Failed;
}

}  // namespace

void SetDeviceFactory(DeviceFactory factory) { g_deviceFactory = factory; }

int Init(const std::string& title) {
    Platform::SetMainThread();
    g_app->title = title;
    g_frameStats = std::getenv("QUORVEL_FRAME_STATS") != nullptr;

    new JC_INPUT();  // sets g_input and g_mousePos

    std::unique_ptr<Platform::IRenderDevice> device;
    if (g_deviceFactory != nullptr) {
        // A device of the caller's (headless runs and tests): no window is opened.
        device = g_deviceFactory();
    } else {
        g_window = new JC_PLATFORM_WINDOW(g_app->width, g_app->height);
        if (g_window->Create(title) != RESULT::Ok) return FailGraphics();
        g_app->desktopWidth = g_desktopWidth;
        g_app->desktopHeight = g_desktopHeight;
        device = std::make_unique<Platform::GlRenderDevice>(g_window->sdlWindow);
    }

    g_render = new JC_RENDER(std::move(device));
    // A picture at rest is presented once, not sixty times a second.
    g_render->SetSkipUnchangedFrames(true);
    if (g_render->CreateDevice(g_window, 0.1f, 0.0f) != RESULT::Ok) return FailGraphics();
    g_render->SetDisplayMode(static_cast<uint32_t>(g_app->width), static_cast<uint32_t>(g_app->height),
                             g_app->fullscreen, g_app->stretch);

    g_clock = new JC_CLOCK();

    g_soundManager = new JC_SOUND_MANAGER();
    if (g_soundManager->OpenDevice() != RESULT::Ok)
        Platform::ShowMessageBox("No sound device has been detected. The game will continue without audio.", "Warning");

    g_repositoryManager = new JC_REPOSITORY_MANAGER();

    InstallHook(cbReleaseResource, ReleaseResourceHandle);
    InstallHook(cbFrame, FrameHook);
    return CallHook(cbInit);
}

bool FrameTiming() {
    JS_APP_CONTEXT& app = *g_app;
    app.Advance(Platform::NowMs());
    app.updateAccumulator += app.dt;
    if (app.updateCap != 0) {
        // Each step has a deadline one period after the last one's: the loop sleeps to it in one
        // go, and a step that is late by more than a period starts the count again from now.
        const double period = 1e6 / static_cast<double>(app.updateCap);
        const auto now = static_cast<double>(Platform::NowUs());
        if (app.nextUpdateUs == 0.0 || now - app.nextUpdateUs >= period) app.nextUpdateUs = now;
        if (now - app.nextUpdateUs > period * 0.5) ++g_lateSteps;
        if (now < app.nextUpdateUs) {
            Platform::SleepUntilUs(static_cast<uint64_t>(std::ceil(app.nextUpdateUs)));
            return false;
        }
        app.nextUpdateUs += period;
    }
    return true;
}

bool UpdateStep() {
    if (!FrameTiming()) return false;
    JS_APP_CONTEXT& app = *g_app;
    app.updateCount += 1;
    if (app.updateAccumulator >= 1.0f) {
        if (g_frameStats) ReportFrameStats(app.updateCount);
        app.updateFps = app.updateCount;
        app.updateAccumulator = 0.0f;
        app.updateCount = 0;
    }
    // Window, title and cursor requests made off the main thread take effect here.
    Platform::DrainMainThreadQueue();
    if (g_clock != nullptr) g_clock->Update();
    CallHook(cbUpdate);
    if (g_input != nullptr) g_input->AgeKeys();
    if (g_window != nullptr) PumpMessages();
    return true;
}

void RenderStep() {
    JS_APP_CONTEXT& app = *g_app;
    app.renderAccumulator += g_frameTime.load();
    // Half a frame of slack: the clock counts whole milliseconds, so a frame drawn on time may
    // find a hair less than its share of the second behind it.
    if (app.renderCap != 0 && (static_cast<float>(app.renderCount) + 0.5f) * (1.0f / static_cast<float>(app.renderCap)) >
                                  app.renderAccumulator)
        return;
    if (g_render == nullptr || g_render->BeginFrame() != RESULT::Ok) return;
    app.renderCount += 1;
    if (app.renderAccumulator >= 1.0f) {
        app.renderFps = app.renderCount;
        app.renderAccumulator = 0.0f;
        app.renderCount = 0;
    }
    CallHook(cbRender);
    g_render->EndFrame();
}

void Run() {
    if (g_input == nullptr || g_render == nullptr) return;
    JS_APP_CONTEXT& app = *g_app;
    app.soundThread = StartThread(SoundStreamThread, 0);
    app.running = 1;
    CallHook(cbBeforeLoop);
    while (app.running != 0) {
        // The frame is drawn only after a step that advanced the clock, so game time runs at the
        // speed of real time whatever the display's refresh rate.
        if (!UpdateStep()) continue;
        if (app.running == 0) break;
        RenderStep();
    }
    CallHook(cbExit);
}

int Frame() {
    if (g_app->running == 0) return RESULT::NotRunning;
    // As in Run: a step that was too early (it slept instead) draws nothing.
    if (!UpdateStep()) return RESULT::Ok;
    if (g_app->running == 0) return RESULT::NotRunning;
    RenderStep();
    return RESULT::Ok;
}

void SetDisplayMode(int32_t width, int32_t height, uint8_t fullscreen, uint8_t stretch) {
    (void)width;
    (void)height;
    // Requests from the loader thread are applied by the main thread at its next update step.
    Platform::RunOnMainThread([fullscreen, stretch]() {
        JS_APP_CONTEXT& app = *g_app;
        (void)stretch;  // the game always stretches its logical screen
        if (app.width == 1024 && app.height == 768 && app.fullscreen == fullscreen && app.stretch == 1) return;
        app.width = 1024;
        app.height = 768;
        app.fullscreen = fullscreen;
        app.stretch = 1;
        if (g_window != nullptr) g_window->SetMode(app.width, app.height, app.fullscreen, app.stretch);
        if (g_render != nullptr)
            g_render->SetDisplayMode(static_cast<uint32_t>(app.width), static_cast<uint32_t>(app.height),
                                     app.fullscreen, app.stretch);
    });
}

int Shutdown() {
    JS_APP_CONTEXT& app = *g_app;
    if (app.soundThread != nullptr) {
        StopAndJoinThread(app.soundThread);
        RemoveThread(app.soundThread);
        app.soundThread = nullptr;
    }
    delete g_input;  // nulls g_input and g_mousePos
    g_input = nullptr;
    if (g_render != nullptr) {
        g_render->Release();
        delete g_render;
        g_render = nullptr;
    }
    const bool hadWindow = g_window != nullptr;
    delete g_window;
    g_window = nullptr;
    delete g_clock;
    g_clock = nullptr;
    if (g_soundManager != nullptr) {
        g_soundManager->CloseDevice();
        delete g_soundManager;
        g_soundManager = nullptr;
    }
    if (g_repositoryManager != nullptr) {
        g_repositoryManager->Destroy();
        delete g_repositoryManager;
        g_repositoryManager = nullptr;
    }
    delete g_commandLine;
    g_commandLine = nullptr;
    ReleaseHook(cbReleaseResource);
    ReleaseHook(cbFrame);
    ClearAllHooks();
    // The window released its own SDL subsystems; this frees the rest of what SDL set up.
    if (hadWindow) SDL_Quit();
    return RESULT::Ok;
}

}  // namespace QRV::Engine
