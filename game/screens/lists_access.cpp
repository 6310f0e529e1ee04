#include "game/screens/lists_access.h"

#include "engine/windows/window.h"
#include "engine/windows/window_manager.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/app/global.h"
#include "game/data/game_player.h"

namespace ListScreens {

gcGlobal& Global() { return gcGlobal::Instance(); }

gcContext* Context() { return Global().GetContext(); }

gcGame* Game() {
    gcContext* context = Context();
    return context != nullptr ? context->game.get() : nullptr;
}

JCWindowManager* Windows() {
    gcContext* context = Context();
    return context != nullptr ? &context->windowManager : nullptr;
}

gcPlayer* CurrentPlayer() {
    gcContext* context = Context();
    return context != nullptr ? dynamic_cast<gcPlayer*>(context->playerManager.GetCurrentPlayer()) : nullptr;
}

JCPack* CurrentPack() {
    gcContext* context = Context();
    return context != nullptr ? context->packs.GetCurrentPack() : nullptr;
}

JCWindow* FindWindow(const std::string& name) {
    JCWindowManager* windows = Windows();
    return windows != nullptr ? windows->FindWindow(name) : nullptr;
}

bool IsShown(const std::string& name) {
    JCWindowManager* windows = Windows();
    return windows != nullptr && windows->FindShownWindow(name) != nullptr;
}

JCWindow* ShowNamed(const std::string& name, bool instant) {
    JCWindowManager* windows = Windows();
    return windows != nullptr ? windows->ShowWindow(name, instant) : nullptr;
}

void HideShown(const std::string& name, bool instant) {
    JCWindowManager* windows = Windows();
    if (windows == nullptr) return;
    if (JCWindow* window = windows->FindShownWindow(name)) window->Hide(instant);
}

bool EditionFlag(const std::string& key) { return Global().EditionInt(key) != 0; }

bool TouchPlatform() { return Global().CheckPlatform(); }

}  // namespace ListScreens
