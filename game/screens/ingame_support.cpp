#include "game/screens/ingame_support.h"

#include "engine/core/conversions.h"
#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_image.h"
#include "engine/gui/gui_label.h"
#include "engine/gui/gui_root.h"
#include "engine/windows/window.h"
#include "engine/windows/window_confirm.h"
#include "engine/windows/window_manager.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/app/global.h"
#include "game/data/game_player.h"
#include "game/data/level.h"
#include "game/data/pack.h"

namespace Ingame {

namespace {

constexpr const char* kFadeWindow = "Fade_Transition";

// The action of the fade shown now; one fade runs at a time.
Closure<void()> g_fadeAction;

void OnFadeShown(void*) {
    const Closure<void()> action = g_fadeAction;
    g_fadeAction = {};
    gcContext* context = Context();
    JCWindow* fade = context != nullptr ? context->windowManager.FindWindow(kFadeWindow) : nullptr;
    if (action) action();
    if (fade != nullptr) {
        fade->Hide(false);
        fade->cbShown = {};
    }
}

template <class Widget>
Widget* ControlOfKind(const JCWindow* window, int32_t id, int32_t kind) {
    QRV::JC_GUI_OBJECT* control = Control(window, id);
    return control != nullptr && control->kind == kind ? dynamic_cast<Widget*>(control) : nullptr;
}

}  // namespace

gcContext* Context() { return gcGlobal::Instance().GetContext(); }

gcGame* Game() {
    gcContext* context = Context();
    return context != nullptr ? context->game.get() : nullptr;
}

gcPlayer* CurrentPlayer() {
    gcContext* context = Context();
    // Every player of the game's manager is made by the game root as its own kind.
    return context != nullptr ? dynamic_cast<gcPlayer*>(context->playerManager.GetCurrentPlayer()) : nullptr;
}

JCPack* CurrentPack() {
    gcContext* context = Context();
    JCPack* pack = context != nullptr ? context->packs.GetCurrentPack() : nullptr;
    return pack != nullptr && !JCPack::IsDefault(pack) ? pack : nullptr;
}

JCLevel* CurrentLevel() {
    JCPack* pack = CurrentPack();
    JCLevel* level = pack != nullptr ? pack->GetSelectedLevel() : nullptr;
    return level != nullptr && !JCLevel::IsDefault(level) ? level : nullptr;
}

bool InTutorialPack() {
    const JCPack* pack = CurrentPack();
    return pack != nullptr && pack->GetKind() == kPackTutorial;
}

int32_t EditionInt(const std::string& key) { return gcGlobal::Instance().EditionInt(key); }

bool HeartsOn() { return EditionInt("heart") != 0; }

uint32_t LevelNumber(const JCLevel* level) {
    const JSProperty* number = level != nullptr ? level->GetProperty("number") : nullptr;
    return number != nullptr ? number->uintValue : 0;
}

float LevelFloat(const JCLevel* level, const char* key) {
    const JSProperty* value = level != nullptr ? level->GetProperty(key) : nullptr;
    return value != nullptr ? value->floatValue : 0.0f;
}

int32_t PlayerStatistic(const gcPlayer* player, const char* name) {
    const JSProperty* value = player != nullptr ? player->GetStatistic(name) : nullptr;
    return value != nullptr ? value->intValue : 0;
}

void Command(const std::string& command) {
    if (gcGame* game = Game()) game->ExecuteCommand(command);
}

QRV::JC_GUI_OBJECT* Control(const JCWindow* window, int32_t id) {
    if (window == nullptr || window->gui == nullptr || window->gui->rootObject == nullptr) return nullptr;
    return window->gui->rootObject->FindChildById(id);
}

QRV::JC_GUI_WLABEL* Label(const JCWindow* window, int32_t id) {
    return ControlOfKind<QRV::JC_GUI_WLABEL>(window, id, QRV::GUI_KIND::WLabel);
}

QRV::JC_GUI_BUTTON5* Button(const JCWindow* window, int32_t id) {
    return ControlOfKind<QRV::JC_GUI_BUTTON5>(window, id, QRV::GUI_KIND::Button5);
}

QRV::JC_GUI_IMAGE* Image(const JCWindow* window, int32_t id) {
    return ControlOfKind<QRV::JC_GUI_IMAGE>(window, id, QRV::GUI_KIND::Image);
}

std::wstring Localised(const std::string& key) {
    gcContext* context = Context();
    return context != nullptr ? context->stringTable.GetWide(key) : QRV::Utf8ToWide(key);
}

JCWindow_Confirm* AskConfirm(const std::string& name, Closure<void(int32_t)> answer) {
    gcContext* context = Context();
    if (context == nullptr) return nullptr;
    auto* confirm = dynamic_cast<JCWindow_Confirm*>(context->windowManager.FindWindow(name));
    if (confirm == nullptr) return nullptr;
    confirm->cbAnswer = answer;
    confirm->cbSecondAnswer = {};
    context->windowManager.ShowWindow(name, false);
    return confirm;
}

void FadeThen(Closure<void()> whileDark) {
    gcContext* context = Context();
    JCWindow* fade = context != nullptr ? context->windowManager.FindWindow(kFadeWindow) : nullptr;
    // A fade shown already belongs to another switch: its shown step has passed or is not ours.
    if (fade == nullptr || context->windowManager.FindShownWindow(kFadeWindow) != nullptr) {
        if (whileDark) whileDark();
        return;
    }
    g_fadeAction = whileDark;
    fade->cbShown = Closure<void()>(nullptr, &OnFadeShown);
    context->windowManager.ShowWindow(kFadeWindow, false);
}

}  // namespace Ingame
