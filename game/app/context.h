#pragma once
// The game context: the shared objects of the running game, owned in one place. Members are
// destroyed in the reverse of their order here: localisation first, string table last.

#include <memory>

#include "engine/core/event_dispatcher.h"
#include "engine/graphics/font_catalogue.h"
#include "engine/gui/localization.h"
#include "engine/resources/leaderboard_table.h"
#include "engine/resources/string_table.h"
#include "engine/sound/sound_groups.h"
#include "engine/windows/window_manager.h"
#include "game/data/packs.h"
#include "game/data/player_manager.h"
#include "game/data/store_catalogue.h"
#include "game/data/trophy_list.h"

class gcGame;

class gcContext {
public:
    gcContext();
    ~gcContext();
    gcContext(const gcContext&) = delete;
    gcContext& operator=(const gcContext&) = delete;

    QRV::JC_STRING_TABLE stringTable;
    // Localises the labels of its windows with the string table above.
    JCWindowManager windowManager;
    JCSoundGroups soundGroups;
    JCPlayerManager playerManager;
    JCPacks packs;
    JCTrophyList trophies;
    // The store's items; kept here until the game root holds them.
    JCStoreCatalogue store;
    QRV::JCFontCatalogue fonts;
    // The dispatcher below; the game's parts reach it through this pointer.
    QRV::gEventDispatcher* eventDispatcher = nullptr;
    JCLeaderboardTable leaderboards;
    QRV::gEventDispatcher dispatcher;
    JCLocalization localization;
    // The game root: made by the application start-up, shut down and deleted by its teardown
    // before anything above goes.
    std::unique_ptr<gcGame> game;
};
