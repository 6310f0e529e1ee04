#include "game/screens/window_game_menu.h"

#include <utility>

#include "engine/gui/gui_button5.h"
#include "engine/windows/window_manager.h"
#include "game/app/game.h"
#include "game/data/game_player.h"
#include "game/data/tutorial_controller.h"
#include "game/screens/ingame_support.h"
#include "game/screens/window_tutorial_step.h"

namespace {

constexpr int32_t kResumeButton = 1;
constexpr int32_t kRestartButton = 2;
constexpr int32_t kMenuButton = 3;
constexpr int32_t kOptionsButton = 4;
constexpr int32_t kShopButton = 5;

}  // namespace

bool gcWindow_GameMenu::CanRestart() {
    const gcPlayer* player = Ingame::CurrentPlayer();
    if (player == nullptr || Ingame::InTutorialPack() || !Ingame::HeartsOn()) return true;
    return player->GetHealth().GetCount() >= 1;
}

bool gcWindow_GameMenu::CanOpenShop() {
    const auto* step = dynamic_cast<const gcWindow_TutorialStep*>(gcTutorialController::Instance().GetCurrentStep());
    return step == nullptr || !step->WaitsForShop();
}

void gcWindow_GameMenu::OnShowBegin() { Ingame::Command("gameplay::pause"); }

void gcWindow_GameMenu::OnShowStarted() { UpdateButtons(true); }

void gcWindow_GameMenu::OnUpdate() { UpdateButtons(false); }

void gcWindow_GameMenu::UpdateButtons(bool always) {
    const std::pair<int32_t, bool> buttons[] = {{kRestartButton, CanRestart()}, {kShopButton, CanOpenShop()}};
    for (const auto& [id, enabled] : buttons) {
        QRV::JC_GUI_BUTTON5* button = Ingame::Button(this, id);
        if (button != nullptr && (always || button->IsEnabled() != enabled)) button->SetEnabled(enabled);
    }
}

void gcWindow_GameMenu::OnButton(int32_t id) {
    const bool tutorial = Ingame::InTutorialPack();
    switch (id) {
        case kResumeButton:
            Hide(false);
            Ingame::Command("gameplay::resume");
            break;
        case kRestartButton:
            Ingame::AskConfirm(tutorial ? "Confirm_Restart_Level_Tutor" : "Confirm_Restart_Level",
                               Closure<void(int32_t)>::Member<&gcWindow_GameMenu::OnRestartAnswer>(this));
            break;
        case kMenuButton:
            Ingame::AskConfirm(tutorial ? "Confirm_Close_Lvl_Tutor" : "Confirm_Close_Lvl",
                               Closure<void(int32_t)>::Member<&gcWindow_GameMenu::OnCloseAnswer>(this));
            break;
        case kOptionsButton:
            if (manager != nullptr) manager->ShowWindow("Options", false);
            break;
        case kShopButton:
            if (manager != nullptr && CanOpenShop()) manager->ShowWindow("Shop", false);
            break;
        default: break;
    }
}

void gcWindow_GameMenu::OnRestartAnswer(int32_t answer) {
    if (answer != 1) return;
    if (gcGame* game = Ingame::Game()) game->LoseHeart();
    Ingame::Command("gameplay::restart");
    Hide(false);
}

void gcWindow_GameMenu::OnCloseAnswer(int32_t answer) {
    if (answer != 1) return;
    gcGame* game = Ingame::Game();
    if (game != nullptr) game->LoseHeart();
    Ingame::FadeThen(Closure<void()>::Member<&gcWindow_GameMenu::LeaveToLevels>(this));
    if (game != nullptr && Ingame::EditionInt("free") != 0) game->ShowAd("from_game_to_menu");
}

void gcWindow_GameMenu::LeaveToLevels() {
    Hide(true);
    if (gcGame* game = Ingame::Game()) game->ShowLevels(true);
}
