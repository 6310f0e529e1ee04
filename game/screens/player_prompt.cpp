#include "game/screens/player_prompt.h"

#include "engine/gui/gui_linebox.h"
#include "engine/windows/window_editbox.h"
#include "engine/windows/window_manager.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/app/global.h"
#include "game/data/player_manager.h"
#include "game/screens/title_screen_names.h"

namespace {

bool NameCheck(void* players, std::wstring name) {
    return IsPlayerNameFree(*static_cast<const JCPlayerManager*>(players), name);
}

}  // namespace

gcContext* ProfileScreensContext() { return gcGlobal::Instance().GetContext(); }

bool IsPlayerNameFree(const JCPlayerManager& players, const std::wstring& name) {
    return players.FindPlayer(name) == nullptr;
}

JCWindow_Editbox* AskPlayerName(JCWindowManager& windows, const JCPlayerManager& players,
                                Closure<void(int32_t, std::wstring)> answer) {
    auto* prompt = dynamic_cast<JCWindow_Editbox*>(windows.FindWindow(std::string(Game::ui::kPlayersEditBox)));
    if (prompt == nullptr) return nullptr;
    if (prompt->lineBox != nullptr) prompt->lineBox->maxLength = kPlayerNameLimit;
    prompt->validator = Closure<bool(std::wstring)>(const_cast<JCPlayerManager*>(&players), &NameCheck);
    prompt->cbAnswer = answer;
    windows.ShowWindow(prompt->name, false);
    return prompt;
}

gcPlayer* CreateCurrentPlayer(gcGame& game, JCPlayerManager& players, int32_t answer, const std::wstring& name) {
    if (answer <= 0) return nullptr;
    gcPlayer* player = game.CreatePlayer(name);
    if (player == nullptr) return nullptr;
    players.SelectPlayer(player);
    game.Save();
    return player;
}
