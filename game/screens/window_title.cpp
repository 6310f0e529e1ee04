#include "game/screens/window_title.h"

#include "engine/app/app_context.h"
#include "engine/windows/window_confirm.h"
#include "engine/windows/window_manager.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/screens/player_prompt.h"
#include "game/screens/title_screen_names.h"

namespace {

std::string Name(std::string_view name) { return std::string(name); }

}  // namespace

gcWindow_Title::~gcWindow_Title() = default;

JCWindow* gcWindow_Title::Create() { return new gcWindow_Title(); }

void gcWindow_Title::OnShowBegin() {
    if (manager != nullptr) manager->ShowWindow(Name(Game::ui::kTitleTop), false);
}

void gcWindow_Title::OnHideBegin() {
    if (manager == nullptr) return;
    if (JCWindow* top = manager->FindShownWindow(Name(Game::ui::kTitleTop))) top->Hide(true);
}

void gcWindow_Title::OnButton(int32_t id) {
    gcContext* context = ProfileScreensContext();
    if (manager == nullptr || context == nullptr) return;
    const bool hasPlayer = context->playerManager.GetCurrentPlayer() != nullptr;
    switch (id) {
        case 1:
            if (hasPlayer) Play();
            else AskPlayerName(*manager, context->playerManager, MakeClosure<&gcWindow_Title::OnPlayName>(this));
            break;
        case 2:
            if (hasPlayer) manager->ShowWindow(Name(Game::ui::kOptions), false);
            else AskPlayerName(*manager, context->playerManager, MakeClosure<&gcWindow_Title::OnOptionsName>(this));
            break;
        case 3: {
            manager->ShowWindow(Name(Game::ui::kConfirmExit), false);
            // Yes alone ends the game; the second callback is emptied so that no earlier asker
            // hears this answer.
            if (auto* confirm = dynamic_cast<JCWindow_Confirm*>(manager->FindWindow(Name(Game::ui::kConfirmExit)))) {
                confirm->cbAnswer = MakeClosure<&gcWindow_Title::OnExitAnswer>(this);
                confirm->cbSecondAnswer = {};
            }
            break;
        }
        default: break;
    }
}

void gcWindow_Title::OnPlayName(int32_t answer, std::wstring name) {
    gcContext* context = ProfileScreensContext();
    if (context == nullptr || !context->game) return;
    if (CreateCurrentPlayer(*context->game, context->playerManager, answer, name) != nullptr) Play();
}

void gcWindow_Title::OnOptionsName(int32_t answer, std::wstring name) {
    gcContext* context = ProfileScreensContext();
    if (context == nullptr || !context->game || manager == nullptr) return;
    if (CreateCurrentPlayer(*context->game, context->playerManager, answer, name) != nullptr)
        manager->ShowWindow(Name(Game::ui::kOptions), false);
}

void gcWindow_Title::OnExitAnswer(int32_t answer) {
    if (answer == 1 && QRV::g_app != nullptr) QRV::g_app->running = 0;
}

void gcWindow_Title::Play() {
    if (manager == nullptr) return;
    JCWindow* fade = manager->ShowWindow(Name(Game::ui::kFadeTransition), false);
    if (fade == nullptr) {
        // No cover to fade behind: switch at once.
        OnFadeShown();
        return;
    }
    fade->cbShown = Closure<void()>(this, [](void* self) { static_cast<gcWindow_Title*>(self)->OnFadeShown(); });
}

void gcWindow_Title::OnFadeShown() {
    Hide(true);
    gcContext* context = ProfileScreensContext();
    if (context != nullptr && context->game) context->game->StartGame();
    if (manager == nullptr) return;
    if (JCWindow* fade = manager->FindWindow(Name(Game::ui::kFadeTransition))) {
        fade->Hide(false);
        fade->cbShown = {};
    }
}
