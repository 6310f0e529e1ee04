#pragma once
// What the windows around a level share: the running game's root and context, the current
// player, pack and level, controls found by id and kind, localised texts, and the screen fade
// that runs a scene switch while the screen is dark.

#include <cstdint>
#include <string>

#include "engine/core/closure.h"

class gcContext;
class gcGame;
class gcPlayer;
class JCLevel;
class JCPack;
class JCWindow;
class JCWindow_Confirm;

namespace QRV {
class JC_GUI_BUTTON5;
class JC_GUI_IMAGE;
class JC_GUI_OBJECT;
class JC_GUI_WLABEL;
}  // namespace QRV

namespace Ingame {

// The application's context and its game root; null before start-up and after teardown.
gcContext* Context();
gcGame* Game();
// Null without a current player, pack or selected level.
gcPlayer* CurrentPlayer();
JCPack* CurrentPack();
JCLevel* CurrentLevel();
// The current pack is a tutorial pack.
bool InTutorialPack();
// The edition keeps hearts (its value "heart" is not 0).
bool HeartsOn();
// The edition value as an integer (0 when absent).
int32_t EditionInt(const std::string& key);

// A level property as an unsigned number or a float (0 when absent or without a level).
uint32_t LevelNumber(const JCLevel* level);
float LevelFloat(const JCLevel* level, const char* key);
// The player's statistic (0 without a player or statistic).
int32_t PlayerStatistic(const gcPlayer* player, const char* name);

// Sends a text command through the game root (nothing without one).
void Command(const std::string& command);

// Controls of the window's tree by id, only when they are of that kind; null otherwise.
QRV::JC_GUI_WLABEL* Label(const JCWindow* window, int32_t id);
QRV::JC_GUI_BUTTON5* Button(const JCWindow* window, int32_t id);
QRV::JC_GUI_IMAGE* Image(const JCWindow* window, int32_t id);
QRV::JC_GUI_OBJECT* Control(const JCWindow* window, int32_t id);

// The string table's text for the key (the key itself when the table has none).
std::wstring Localised(const std::string& key);

// Shows the confirm window of that name with the answer going to the first callback only (yes 1,
// no and close 0); the second callback is emptied so that no earlier asker hears it. Null when
// the manager holds no such confirm window.
JCWindow_Confirm* AskConfirm(const std::string& name, Closure<void(int32_t)> answer);

// Shows "Fade_Transition" and runs `whileDark` once it is fully shown; then hides the fade and
// clears its shown callback. Without the fade window `whileDark` runs at once.
void FadeThen(Closure<void()> whileDark);

}  // namespace Ingame
