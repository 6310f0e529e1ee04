#pragma once
// The name prompt of the title and profile screens: "Players_EditBox" opened for a new profile's
// name (at most 20 characters, refused while a player already has it), and the creation that
// follows an accepted name.

#include <cstdint>
#include <string>

#include "engine/core/closure.h"

class JCWindowManager;
class JCPlayerManager;
class JCWindow_Editbox;
class gcContext;
class gcGame;
class gcPlayer;

// The longest profile name.
inline constexpr uint32_t kPlayerNameLimit = 20;

// The running game's context (null before start-up and after teardown).
gcContext* ProfileScreensContext();

// Whether no player of the list has that name.
bool IsPlayerNameFree(const JCPlayerManager& players, const std::wstring& name);

// Shows the name prompt with the name check against `players` and `answer` as its only answer
// callback (1 and the name for OK, 0 for cancel). Null when the window list has no such edit box.
JCWindow_Editbox* AskPlayerName(JCWindowManager& windows, const JCPlayerManager& players,
                                Closure<void(int32_t, std::wstring)> answer);

// The accept step of the title screens: for a positive answer, creates the player, makes it
// current and saves. Null (and nothing more done) for any other answer, or when the creation
// fails.
gcPlayer* CreateCurrentPlayer(gcGame& game, JCPlayerManager& players, int32_t answer, const std::wstring& name);
