#include "game/data/game_player.h"
#include "game/gameplay/gameplay.h"

bool gcGameplay::CanRefillHints() const {
    const gcPlayer* player = CurrentPlayer();
    return player != nullptr && result.hints == 0 && player->GetItemCount("hint_start") >= 1;
}
