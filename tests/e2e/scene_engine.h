#pragma once
// Shared by the end-to-end scene programs: start the engine with a scene's hooks, as the game's start
// function does (both caps at 60), and take it down again.

#include <cstdio>

#include "engine/app/app_context.h"
#include "engine/app/engine.h"
#include "engine/core/callback.h"

namespace SceneEngine {

struct Hooks {
    QRV::JS_CALLBACK::Function init = nullptr;
    QRV::JS_CALLBACK::Function update = nullptr;
    QRV::JS_CALLBACK::Function render = nullptr;
    QRV::JS_CALLBACK::Function close = nullptr;
};

// Installs the hooks and starts the engine with the window title; false (with a message) when the
// engine could not start. Call Stop afterwards either way.
inline bool Start(const char* title, const Hooks& hooks) {
    QRV::g_app->Reset();
    QRV::g_app->renderCap = 60;
    QRV::g_app->updateCap = 60;
    QRV::InstallHook(QRV::cbInit, hooks.init);
    QRV::InstallHook(QRV::cbUpdate, hooks.update);
    QRV::InstallHook(QRV::cbRender, hooks.render);
    QRV::InstallHook(QRV::cbClose, hooks.close);
    if (QRV::Engine::Init(title) < 0) {
        std::fprintf(stderr, "engine start failed\n");
        return false;
    }
    return true;
}

// Releases the hooks and shuts the engine down.
inline void Stop() {
    QRV::ReleaseHook(QRV::cbInit);
    QRV::ReleaseHook(QRV::cbUpdate);
    QRV::ReleaseHook(QRV::cbRender);
    QRV::ReleaseHook(QRV::cbClose);
    QRV::Engine::Shutdown();
}

}  // namespace SceneEngine
