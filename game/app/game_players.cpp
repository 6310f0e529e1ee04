#include "engine/platform/main_thread.h"
#include "engine/platform/window.h"
#include "engine/windows/window.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/app/global.h"

void gcGame::ApplyCursorChoice(bool gameCursor) {
    cursorShown = gameCursor;
    if (QRV::g_window != nullptr) QRV::g_window->SetSystemCursorVisible(!gameCursor);
}

void gcGame::OnPlayerSelected(JCPlayerManager*, JCPlayer* player) {
    auto* selected = dynamic_cast<gcPlayer*>(player);
    if (selected == nullptr) return;
    if (!global.CheckPlatform()) ApplyCursorChoice(selected->GetGameCursor());
    // At start-up this runs on the loader thread; the settings and the display belong to the main
    // thread, which draws the borders from them meanwhile.
    gcGlobal* owner = &global;
    QRV::Platform::RunOnMainThread([owner]() { owner->ApplyDisplayMode(); });
    context.soundGroups.SetGroupGain("music", selected->GetMusicVolume());
    context.soundGroups.SetGroupGain("sounds", selected->GetSoundVolume());
    context.packs.ApplyPlayerProgress(selected);
    // Hearts that fell due while the game was closed come back.
    selected->GetHealth().Update();
    RecheckTrophies(selected);
    selected->SetChangeCallback(reinterpret_cast<uintptr_t>(this), &gcGame::OnPlayerValueChanged);
    for (JCWindow* window : context.windowManager.Windows()) window->Refresh();
}

void gcGame::OnPlayerChanging(JCPlayerManager*, JCPlayer* outgoing) {
    if (outgoing != nullptr) context.packs.StorePlayerProgress(outgoing);
}

void gcGame::OnPlayersLoaded(JCPlayerManager* manager) {
    if (manager == nullptr) return;
    if (global.EditionInt("default_player") != 0 && manager->GetPlayerCount() == 0) CreatePlayer(L"player");
    if (manager->GetCurrentPlayer() != nullptr) return;
    if (!global.CheckPlatform()) ApplyCursorChoice(defaultPlayer.GetGameCursor());
    context.soundGroups.SetGroupGain("music", defaultPlayer.GetMusicVolume());
    context.soundGroups.SetGroupGain("sounds", defaultPlayer.GetSoundVolume());
}

void gcGame::OnPlayerValueChanged(uintptr_t game, const std::string& key, JSProperty*) {
    reinterpret_cast<gcGame*>(game)->OnPropertyChanged(key);
}

void gcGame::OnPropertyChanged(const std::string& name) {
    if (context.eventDispatcher != nullptr) context.eventDispatcher->Send<std::string>(kEventPlayerValue, name);
}

void gcGame::UpdateCursor() {
    if (global.CheckPlatform()) return;
    const gcPlayer* player = CurrentPlayer();
    ApplyCursorChoice(player == nullptr || player->GetGameCursor());
}

void gcGame::OnSoundVolumeEvent() {
    const gcPlayer* player = CurrentPlayer();
    context.soundGroups.SetGroupGain("sounds", (player != nullptr ? *player : defaultPlayer).GetSoundVolume());
}

void gcGame::OnMusicVolumeEvent() {
    const gcPlayer* player = CurrentPlayer();
    context.soundGroups.SetGroupGain("music", (player != nullptr ? *player : defaultPlayer).GetMusicVolume());
}

void gcGame::OnFullscreenEvent() { global.ApplyDisplayMode(); }

void gcGame::OnCursorEvent() { UpdateCursor(); }
