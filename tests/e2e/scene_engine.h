#pragma once
// Shared by the end-to-end scene programs: start the engine with a scene's hooks, as the game's start
// function does (both caps at 60), and take it down again.

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <system_error>

#include "engine/app/app_context.h"
#include "engine/app/engine.h"
#include "engine/core/callback.h"
#include "engine/graphics/render.h"

namespace SceneEngine {

// The init hook of a scene that sets itself up after the engine started.
inline int Ready(uintptr_t) { return 1; }

// The close hook: the window's close request or SIGTERM ends the loop.
inline int StopRunning(uintptr_t) {
    QRV::g_app->running = 0;
    return 0;
}

// A command-line number in the C locale's form; false unless the whole text is one.
inline bool ParseNumber(const char* text, auto& value) {
    const std::string s = text;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    return error == std::errc() && end == s.data() + s.size();
}

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

// The input hooks of an interactive scene.
struct InputHooks {
    QRV::JS_CALLBACK::Function mouseMove = nullptr;
    QRV::JS_CALLBACK::Function keyDown = nullptr;
    QRV::JS_CALLBACK::Function keyUp = nullptr;
};

// An interactive scene's whole run: starts the engine, installs the input hooks, clears to the
// colour, runs the loop (through `run`, which calls QRV::Engine::Run) once `load` succeeded, then
// `release` and the input hooks go. Returns the exit status (1 when the engine or the load
// failed). Call Stop afterwards, once the scene's own objects are gone.
inline int Run(const char* title, const Hooks& hooks, const InputHooks& input, uint32_t clearColor,
               const std::function<bool()>& load, const std::function<void()>& run,
               const std::function<void()>& release) {
    if (!Start(title, hooks)) return 1;
    QRV::InstallHook(QRV::cbMouseMove, input.mouseMove);
    QRV::InstallHook(QRV::cbKeyDown, input.keyDown);
    QRV::InstallHook(QRV::cbKeyUp, input.keyUp);
    QRV::g_render->clearColor = clearColor;
    const bool loaded = load();
    if (loaded) run();
    release();
    QRV::ReleaseHook(QRV::cbMouseMove);
    QRV::ReleaseHook(QRV::cbKeyDown);
    QRV::ReleaseHook(QRV::cbKeyUp);
    return loaded ? 0 : 1;
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
