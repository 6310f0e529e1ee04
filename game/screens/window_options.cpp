#include "game/screens/window_options.h"

#include "engine/app/app_context.h"
#include "engine/gui/gui_base_slider.h"
#include "engine/gui/gui_checkbox_interface.h"
#include "engine/gui/gui_root.h"
#include "engine/windows/window_manager.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/app/global.h"
#include "game/data/game_player.h"

namespace {

constexpr const char* kHelpWindow = "Help";
constexpr const char* kCreditsWindow = "Credits";

QRV::JC_GUI_CHECKBOX_INTERFACE* Toggle(QRV::JC_GUI_OBJECT* root, int32_t id) {
    return root != nullptr ? dynamic_cast<QRV::JC_GUI_CHECKBOX_INTERFACE*>(root->FindChildById(id)) : nullptr;
}

QRV::JC_BASESLIDER* Slider(QRV::JC_GUI_OBJECT* root, int32_t id) {
    return root != nullptr ? dynamic_cast<QRV::JC_BASESLIDER*>(root->FindChildById(id)) : nullptr;
}

void SendGameEvent(int32_t id) {
    gcContext* context = gcGlobal::Instance().GetContext();
    if (context != nullptr && context->eventDispatcher != nullptr) context->eventDispatcher->Send<>(id);
}

bool DesktopHoldsWindow() {
    return QRV::g_app != nullptr && QRV::g_app->desktopWidth >= gcWindow_Options::kMinWindowedWidth &&
           QRV::g_app->desktopHeight >= gcWindow_Options::kMinWindowedHeight;
}

}  // namespace

gcWindow_Options::gcWindow_Options() = default;

gcWindow_Options::~gcWindow_Options() = default;

void gcWindow_Options::OnGuiLoaded(QRV::JC_GUI_OBJECT* rootObject) {
    // Every show sets the real values from the player.
    for (const int32_t id : {kSound, kMusic})
        if (QRV::JC_BASESLIDER* slider = Slider(rootObject, id)) slider->SetValue(0.5f);
    if (QRV::JC_GUI_CHECKBOX_INTERFACE* fullscreen = Toggle(rootObject, kFullscreen))
        fullscreen->SetChecked(false, true);
    if (QRV::JC_GUI_CHECKBOX_INTERFACE* cursor = Toggle(rootObject, kGameCursor)) cursor->SetChecked(true, true);
}

void gcWindow_Options::OnShowBegin() {
    gcGlobal& global = gcGlobal::Instance();
    gcContext* context = global.GetContext();
    player = context != nullptr ? dynamic_cast<gcPlayer*>(context->playerManager.GetCurrentPlayer()) : nullptr;
    backup = player != nullptr ? std::make_unique<gcPlayer>(*player) : nullptr;
    fullscreenAtShow = global.UserInt("fullscreen") != 0;

    QRV::JC_GUI_OBJECT* root = gui->rootObject;
    if (player != nullptr) {
        if (QRV::JC_BASESLIDER* music = Slider(root, kMusic)) music->SetValue(player->GetMusicVolume());
        if (QRV::JC_BASESLIDER* sound = Slider(root, kSound)) sound->SetValue(player->GetSoundVolume());
    }
    if (global.CheckPlatform()) return;
    if (QRV::JC_GUI_CHECKBOX_INTERFACE* cursor = Toggle(root, kGameCursor); cursor != nullptr && player != nullptr)
        cursor->SetChecked(player->GetGameCursor(), true);
    const bool offered = DesktopHoldsWindow();
    if (QRV::JC_GUI_CHECKBOX_INTERFACE* fullscreen = Toggle(root, kFullscreen)) {
        if (offered) fullscreen->SetChecked(fullscreenAtShow, true);
        fullscreen->SetVisible(offered);
    }
    if (QRV::JC_GUI_OBJECT* label = root->FindChildById(kFullscreenLabel)) label->SetVisible(offered);
}

void gcWindow_Options::OnHidden() {
    // The player may be deleted while the window is closed.
    player = nullptr;
}

QRV::JS_GUI_EVENT* gcWindow_Options::OnMouseMove() {
    QRV::JS_GUI_EVENT* event = JCWindow::OnMouseMove();
    if (event != nullptr && event->code != QRV::GUI_EVENT::None && (event->id == kSound || event->id == kMusic))
        ApplySlider(event->id);
    return event;
}

QRV::JS_GUI_EVENT* gcWindow_Options::OnMouseUp(int32_t button) {
    QRV::JS_GUI_EVENT* event = JCWindow::OnMouseUp(button);
    if (event != nullptr && event->code == QRV::GUI_EVENT::Changed && (event->id == kSound || event->id == kMusic))
        ApplySlider(event->id);
    return event;
}

void gcWindow_Options::ApplySlider(int32_t id) {
    const QRV::JC_BASESLIDER* slider = Slider(gui->rootObject, id);
    if (player == nullptr || slider == nullptr) return;
    if (id == kSound) {
        player->SetSoundVolume(slider->GetValue());
        SendGameEvent(kEventSoundVolume);
    } else {
        player->SetMusicVolume(slider->GetValue());
        SendGameEvent(kEventMusicVolume);
    }
}

void gcWindow_Options::OnButton(int32_t id) {
    gcGlobal& global = gcGlobal::Instance();
    gcContext* context = global.GetContext();
    switch (id) {
        case kOk:
            if (context != nullptr && context->game != nullptr) context->game->Save();
            Hide(false);
            break;
        case kCancel:
            Cancel();
            Hide(false);
            break;
        case kHelp:
            Hide(false);
            if (manager != nullptr) manager->ShowWindow(kHelpWindow, false);
            break;
        case kCredits:
            if (manager == nullptr) break;
            if (JCWindow* credits = manager->ShowWindow(kCreditsWindow, false))
                credits->cbClick = Closure<void(int32_t)>::Member<&gcWindow_Options::OnCreditsClick>(this);
            break;
        case kFullscreen:
            if (player == nullptr) break;
            if (const QRV::JC_GUI_CHECKBOX_INTERFACE* toggle = Toggle(gui->rootObject, kFullscreen)) {
                global.SetFullscreenSetting(toggle->IsChecked());
                SendGameEvent(kEventFullscreen);
            }
            break;
        case kGameCursor:
            if (player == nullptr) break;
            if (const QRV::JC_GUI_CHECKBOX_INTERFACE* toggle = Toggle(gui->rootObject, kGameCursor)) {
                player->SetGameCursor(toggle->IsChecked());
                SendGameEvent(kEventGameCursor);
            }
            break;
        case kSound:
        case kMusic: ApplySlider(id); break;
        default: break;
    }
}

void gcWindow_Options::Cancel() {
    if (player == nullptr || backup == nullptr) return;
    gcGlobal& global = gcGlobal::Instance();
    bool fullscreenChanged = false;
    bool cursorChanged = false;
    const bool desktop = !global.CheckPlatform();
    if (desktop) {
        cursorChanged = player->GetGameCursor() != backup->GetGameCursor();
        player->SetGameCursor(backup->GetGameCursor());
        fullscreenChanged = (global.UserInt("fullscreen") != 0) != fullscreenAtShow;
        global.SetFullscreenSetting(fullscreenAtShow);
    }
    player->SetSoundVolume(backup->GetSoundVolume());
    player->SetMusicVolume(backup->GetMusicVolume());
    // What is restored is also heard and seen at once.
    SendGameEvent(kEventSoundVolume);
    SendGameEvent(kEventMusicVolume);
    if (fullscreenChanged) SendGameEvent(kEventFullscreen);
    if (cursorChanged) SendGameEvent(kEventGameCursor);
}

void gcWindow_Options::OnCreditsClick(int32_t id) {
    if (id != 1 || manager == nullptr) return;
    if (JCWindow* credits = manager->FindShownWindow(kCreditsWindow)) credits->Hide(false);
}
