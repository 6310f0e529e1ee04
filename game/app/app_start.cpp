#include "game/app/app_start.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>

#include "engine/app/app_context.h"
#include "engine/app/engine.h"
#include "engine/app/entry.h"
#include "engine/core/callback.h"
#include "engine/core/result_codes.h"
#include "engine/graphics/render.h"
#include "engine/platform/clock.h"
#include "engine/platform/window.h"
#include "engine/windows/window.h"
#include "game/app/context.h"
#include "game/app/global.h"
#include "game/app/start_steps.h"
#include "game/ui/loader_screen.h"

namespace Game {
namespace {

// Test runs only: while the file this names exists, the loader job waits before its first step
// (asked to stop, it stops waiting), so the loading screen can be looked at.
constexpr const char* kHoldLoaderVariable = "QUORVEL_TEST_HOLD_LOADER";

// Frame state: loading until the loading screen has handed over, then running.
enum class FrameState { Loading, Running };
FrameState g_state = FrameState::Loading;
// Set when the loader job failed: the run then ends with a failing exit status.
bool g_startFailed = false;
gcLoaderScreen* g_loader = nullptr;

void HoldWhileAsked(const QRV::JC_LOADER* loader) {
    const char* hold = std::getenv(kHoldLoaderVariable);
    if (hold == nullptr || *hold == '\0') return;
    std::error_code error;
    while (std::filesystem::exists(hold, error) && !loader->IsCancelRequested()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// The loader job: 10 when the start begins, 40 after it, 100 last; 1, or -112 when a step
// failed or the job was asked to stop.
int LoaderJob(QRV::JC_LOADER* loader) {
    loader->SetProgress(10);
    HoldWhileAsked(loader);
    gcGlobal& global = gcGlobal::Instance();
    bool started = false;
    if (!loader->IsCancelRequested()) {
        started =
            RunStartSteps(*global.GetContext(), global.EditionConfig(), global.GetSaveFolder(), loader, QRV::g_window);
    }
    if (started) loader->SetProgress(40);
    loader->SetProgress(100);
    return started ? 1 : QRV::RESULT::StartFailed;
}

void DeleteLoader() {
    if (g_loader == nullptr) return;
    g_loader->ReleaseSpriteResources();
    // Stops the job and waits for it.
    delete g_loader;
    g_loader = nullptr;
    QRV::g_currentLoader = nullptr;
}

// Start-up is complete: the volumes of the current player, fresh window texts, and from now on the
// screen cleared to the loading screen's paper colour (its "back_color") under the windows.
void CompleteStartup() {
    gcGlobal& global = gcGlobal::Instance();
    global.ApplyVolumes();
    if (gcContext* context = global.GetContext()) {
        for (JCWindow* window : context->windowManager.Windows()) window->Refresh();
    }
    if (g_loader->HasBackColor() && QRV::g_render != nullptr) QRV::g_render->clearColor = g_loader->BackColor();
}

int OnInit(uintptr_t) {
    QRV::g_app->renderCap = 60;
    QRV::g_app->updateCap = 60;
    if (QRV::g_clock != nullptr) QRV::g_clock->maxDt = 1.0f / 30.0f;
    gcGlobal& global = gcGlobal::Instance();
    if (!global.Startup()) return QRV::RESULT::StartFailed;
    g_state = FrameState::Loading;
    g_loader = new gcLoaderScreen(&LoaderJob, &global.GetContext()->windowManager);
    QRV::g_currentLoader = g_loader;
    g_loader->LoadSpriteResources();
    g_loader->Start();
    return 1;
}

int OnFrame(uintptr_t) {
    gcGlobal& global = gcGlobal::Instance();
    if (g_state == FrameState::Loading && g_loader != nullptr) {
        g_loader->Update();
        g_loader->Draw();
        if (g_loader->IsDone()) {
            // The job has returned: its result is final.
            if (static_cast<int32_t>(g_loader->GetExitCode()) < 0) {
                // A failed start ends the game, and the process says so in its exit status.
                g_startFailed = true;
                QRV::g_app->running = 0;
            }
            CompleteStartup();
            g_state = FrameState::Running;
            DeleteLoader();
        }
    } else if (gcContext* context = global.GetContext()) {
        context->windowManager.Update();
        context->windowManager.Draw();
    }
    global.DrawBorders();
    return 1;
}

int OnKeyDown(uintptr_t) {
    if (g_state == FrameState::Loading && g_loader != nullptr) g_loader->Skip();
    return 1;
}

int OnClose(uintptr_t) {
    QRV::g_app->running = 0;
    return 0;
}

int OnExit(uintptr_t) {
    // A job still running stops first: nothing below races with it.
    DeleteLoader();
    gcGlobal& global = gcGlobal::Instance();
    const std::string saveFolder = global.GetSaveFolder();
    if (gcContext* context = global.GetContext()) {
        // Nothing is written over the player list unless it was read (JCPlayerManager::Save).
        context->packs.StorePlayerProgress(context->playerManager.GetCurrentPlayer());
        if (!saveFolder.empty()) context->playerManager.Save(saveFolder);
    }
    global.SaveSettings();
    global.Shutdown();
    QRV::ReleaseHook(QRV::cbInit);
    QRV::ReleaseHook(QRV::cbRender);
    QRV::ReleaseHook(QRV::cbKeyDown);
    QRV::ReleaseHook(QRV::cbClose);
    QRV::ReleaseHook(QRV::cbExit);
    QRV::Engine::Shutdown();
    return 0;
}

}  // namespace

void RegisterMainHooks() {
    QRV::InstallHook(QRV::cbAppStart, AppStart);
    QRV::InstallHook(QRV::cbClose, QRV::DefaultCloseHandler);
}

int AppStart(uintptr_t) {
    QRV::g_app->Reset();
    QRV::g_app->renderCap = 60;
    QRV::g_app->updateCap = 60;
    QRV::InstallHook(QRV::cbInit, OnInit);
    QRV::InstallHook(QRV::cbRender, OnFrame);
    QRV::InstallHook(QRV::cbKeyDown, OnKeyDown);
    QRV::InstallHook(QRV::cbClose, OnClose);
    QRV::InstallHook(QRV::cbExit, OnExit);
    if (QRV::Engine::Init("Quorvel") < 0) {
        OnExit(0);
        return QRV::RESULT::DefaultClose;
    }
    g_startFailed = false;
    QRV::Engine::Run();
    return g_startFailed ? QRV::RESULT::StartFailed : QRV::RESULT::NormalEnd;
}

}  // namespace Game
