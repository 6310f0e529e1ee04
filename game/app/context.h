#pragma once
// The game context: the shared objects of the running game, owned in one place. Members are
// destroyed in the reverse of their order here: localisation first, string table last.

#include "engine/core/event_dispatcher.h"
#include "engine/graphics/font_catalogue.h"
#include "engine/gui/localization.h"
#include "engine/resources/leaderboard_table.h"
#include "engine/resources/string_table.h"
#include "engine/sound/sound_groups.h"
#include "engine/windows/window_manager.h"
#include "game/data/player_manager.h"

class gcContext {
public:
    gcContext();
    gcContext(const gcContext&) = delete;
    gcContext& operator=(const gcContext&) = delete;

    QRV::JC_STRING_TABLE stringTable;
    // Localises the labels of its windows with the string table above.
    JCWindowManager windowManager;
    JCSoundGroups soundGroups;
    JCPlayerManager playerManager;
    QRV::JCFontCatalogue fonts;
    // The dispatcher below; the game's parts reach it through this pointer.
    QRV::gEventDispatcher* eventDispatcher = nullptr;
    JCLeaderboardTable leaderboards;
    QRV::gEventDispatcher dispatcher;
    JCLocalization localization;
};
