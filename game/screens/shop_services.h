#pragma once
// What the shop, its items and the offer wall read from the running game: the application's
// context, its game root, the current player and the edition's purchase switch. Every accessor
// answers null (or false) while the part it reaches does not exist, so the windows can be built
// and driven before the game root or a player is there.

#include <cstdint>
#include <string>

class gcContext;
class gcGame;
class gcPlayer;

namespace ShopServices {

gcContext* Context();
gcGame* Root();
gcPlayer* CurrentPlayer();
// A level runs on the board.
bool LevelRunning();
// Purchases go through the in-app store (the edition's "inapp" is set).
bool InappEnabled();
// The player's "money" statistic (0 without one).
int32_t Money(const gcPlayer& player);
// The localised text of a key (the key itself when the table has none).
std::wstring Localised(const std::string& key);

}  // namespace ShopServices
