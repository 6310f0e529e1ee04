#include "game/screens/screen_windows.h"

#include "engine/windows/window_registry.h"
#include "game/screens/window_confirm_ex.h"
#include "game/screens/window_players.h"
#include "game/screens/window_title.h"
#include "game/screens/window_title_top.h"
#include "game/screens/window_level.h"
#include "game/screens/window_pack.h"
#include "game/screens/window_pack_tutorial.h"
#include "game/screens/window_sidebar.h"
#include "game/screens/window_offerwall.h"
#include "game/screens/window_shop.h"
#include "game/screens/window_help.h"
#include "game/screens/window_help_ex.h"
#include "game/screens/window_options.h"
#include "game/screens/window_bar_health.h"
#include "game/screens/window_bar_money.h"
#include "game/screens/window_trophy.h"
#include "game/screens/window_trophy_get.h"
#include "game/ui/window_factory.h"
// -- in-game windows
#include "game/screens/window_game_finish.h"
#include "game/screens/window_game_menu.h"
#include "game/screens/window_game_start.h"
// -- tutorial steps
#include "game/screens/window_tutorial_step.h"

namespace {

template <class Window>
JCWindow* Make() {
    return new Window();
}

}  // namespace

void RegisterScreenWindows() {
    // The window-type registry.
    // -- title and profiles
    RegisterWindowType("GG_WINDOW_TITLE", &Make<gcWindow_Title>);
    RegisterWindowType("GG_WINDOW_TITLE_TOP", &Make<gcWindow_TitleTop>);
    RegisterWindowType("GG_WINDOW_PLAYERS", &Make<gcWindow_Players>);
    RegisterWindowType("GG_WINDOW_CONFIRM_EX", &Make<gcWindow_ConfirmEx>);
    // -- lists
    RegisterWindowType("TWindow_Pack", &gcWindow_Pack::Create);
    RegisterWindowType("TWindow_PackTutorial", &gcWindow_PackTutorial::Create);
    // -- options and help
    RegisterWindowType("TWindow_HelpEx", &Make<gcWindow_HelpEx>);
    // -- in-game windows
    RegisterWindowType("TWindow_GameFinish", &Make<gcWindow_GameFinish>);
    RegisterWindowType("TWindow_GameMenu", &Make<gcWindow_GameMenu>);
    RegisterWindowType("TWindow_GameStart", &Make<gcWindow_GameStart>);
    // -- tutorial steps
    RegisterWindowType("TWindow_TutorialStep", &gcWindow_TutorialStep::Create);

    // The default factory.
    // -- lists
    RegisterFactoryWindowType("WindowSidebar", &gcWindow_Sidebar::Create);
    RegisterFactoryWindowType("GG_WINDOW_LEVEL", &gcWindow_Level::Create);
    // -- shop
    RegisterFactoryWindowType("GG_WINDOW_SHOP", &Make<gcWindow_Shop>);
    RegisterFactoryWindowType("GG_WINDOW_OFFERWALL", &Make<gcWindow_Offerwall>);
    // -- options and help
    RegisterFactoryWindowType("GG_WINDOW_OPTIONS", &Make<gcWindow_Options>);
    RegisterFactoryWindowType("GG_WINDOW_HELP", &Make<gcWindow_Help>);
    // -- trophies and bars
    RegisterFactoryWindowType("GG_WINDOW_TROPHY", &Make<gcWindow_Trophy>);
    RegisterFactoryWindowType("GG_WINDOW_TROPHY_GET", &Make<gcWindow_TrophyGet>);
    RegisterFactoryWindowType("GG_WINDOW_HEALTH", &Make<gcWindow_BarHealth>);
    RegisterFactoryWindowType("GG_WINDOW_SUNIME", &Make<gcWindow_BarMoney>);
}
