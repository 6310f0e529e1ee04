#include "game/app/app_start.h"

#include <string>

#include "engine/core/result_codes.h"
#include "engine/app/app_context.h"
#include "engine/core/callback.h"
#include "engine/app/engine.h"
#include "engine/app/entry.h"
#include "engine/platform/clock.h"
#include "game/app/context.h"
#include "game/app/global.h"

namespace Game {
namespace {

int OnInit(uintptr_t) {
    QRV::g_app->renderCap = 60;
    QRV::g_app->updateCap = 60;
    if (QRV::g_clock != nullptr) QRV::g_clock->maxDt = 1.0f / 30.0f;
    gcGlobal& global = gcGlobal::Instance();
    if (!global.Startup()) return QRV::RESULT::StartFailed;
    const std::string saveFolder = global.GetSaveFolder();
    if (!saveFolder.empty()) global.GetContext()->playerManager.Load(saveFolder);
    return 1;
}

int OnFrame(uintptr_t) {
    gcGlobal::Instance().DrawBorders();
    return 1;
}

int OnClose(uintptr_t) {
    QRV::g_app->running = 0;
    return 0;
}

int OnExit(uintptr_t) {
    gcGlobal& global = gcGlobal::Instance();
    const std::string saveFolder = global.GetSaveFolder();
    gcContext* context = global.GetContext();
    if (context != nullptr && !saveFolder.empty()) context->playerManager.Save(saveFolder);
    global.SaveSettings();
    global.Shutdown();
    QRV::ReleaseHook(QRV::cbInit);
    QRV::ReleaseHook(QRV::cbRender);
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
    QRV::InstallHook(QRV::cbClose, OnClose);
    QRV::InstallHook(QRV::cbExit, OnExit);
    if (QRV::Engine::Init("Quorvel") < 0) {
        OnExit(0);
        return QRV::RESULT::DefaultClose;
    }
    QRV::Engine::Run();
    return QRV::RESULT::NormalEnd;
}

}  // namespace Game
