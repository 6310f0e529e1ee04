#include "game/screens/window_game_menu.h"

#include "engine/gui/gui_button5.h"
#include "engine/windows/window_manager.h"
#include "game/app/game.h"
#include "game/data/game_player.h"
#include "game/screens/ingame_support.h"

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

void gcWindow_GameMenu::OnShowBegin() { Ingame::Command("gameplay::pause"); }

void gcWindow_GameMenu::OnShowStarted() {
    if (QRV::JC_GUI_BUTTON5* restart = Ingame::Button(this, kRestartButton)) restart->SetEnabled(CanRestart());
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
            if (manager != nullptr) manager->ShowWindow("Shop", false);
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
