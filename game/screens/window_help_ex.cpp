#include "game/screens/window_help_ex.h"

#include <pugixml.hpp>

#include "engine/core/conversions.h"
#include "engine/windows/window_manager.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/app/global.h"

namespace {

constexpr const char* kSolving = "Help_Solving";
constexpr const char* kFade = "Fade_Transition";

// Settings key -> the window its button leads to, in the order the buttons are tested.
struct Route {
    const char* key;
    const char* window;
};
constexpr Route kRoutes[] = {
    {"gui_solving", "Help_Solving"},
    {"gui_gameplay", "Help_Gameplay"},
    {"gui_tips", "Help_TipsTricks"},
    {"gui_close", "Options"},
    {"gui_back", "Help"},
};

}  // namespace

gcWindow_HelpEx::gcWindow_HelpEx() = default;

gcWindow_HelpEx::~gcWindow_HelpEx() = default;

void gcWindow_HelpEx::LoadSettings(const pugi::xml_node& node) { settings.Load(node); }

std::optional<int32_t> gcWindow_HelpEx::ButtonId(const std::string& key) const {
    const JSProperty* value = settings.Find(key);
    int32_t id = 0;
    if (value == nullptr || !QRV::ParseInt(value->text, id)) return std::nullopt;
    return id;
}

void gcWindow_HelpEx::OnButton(int32_t id) {
    for (const Route& route : kRoutes) {
        if (ButtonId(route.key) == id) {
            Go(route.window);
            return;
        }
    }
}

void gcWindow_HelpEx::Go(const char* windowName) {
    Hide(false);
    if (manager != nullptr) manager->ShowWindow(windowName, false);
}

void gcWindow_HelpEx::OnItemClick(JCPagesItem* /*item*/) {
    if (name != kSolving || manager == nullptr) return;
    if (JCWindow* fade = manager->ShowWindow(kFade, false)) fade->cbShown = Closure<void()>(this, &OnFadeShown);
}

void gcWindow_HelpEx::OnFadeShown(void* self) {
    auto* window = static_cast<gcWindow_HelpEx*>(self);
    JCWindowManager* manager = window->manager;
    JCWindow* fade = manager->FindWindow(kFade);
    // The fade is shared: its next show belongs to whoever asks for it then.
    if (fade != nullptr) fade->cbShown = {};
    for (const char* screen : {"GP_Menu", "Title"})
        if (JCWindow* shown = manager->FindShownWindow(screen)) shown->Hide(true);
    window->Hide(false);
    gcContext* context = gcGlobal::Instance().GetContext();
    if (context != nullptr && context->game != nullptr) context->game->ShowTutorialList();
    if (fade != nullptr) fade->Hide(false);
}
