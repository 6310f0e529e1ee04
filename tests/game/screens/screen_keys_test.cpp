// Every window type key of the screens creates its class, through the registry or through the
// game's default factory, once the start-up registration has run.
#include <pugixml.hpp>

#include <functional>
#include <memory>
#include <string>

#include "engine/windows/window_registry.h"
#include "game/screens/window_bar_health.h"
#include "game/screens/window_bar_money.h"
#include "game/screens/window_confirm_ex.h"
#include "game/screens/window_game_finish.h"
#include "game/screens/window_game_menu.h"
#include "game/screens/window_game_start.h"
#include "game/screens/window_help.h"
#include "game/screens/window_help_ex.h"
#include "game/screens/window_level.h"
#include "game/screens/window_offerwall.h"
#include "game/screens/window_options.h"
#include "game/screens/window_pack.h"
#include "game/screens/window_pack_tutorial.h"
#include "game/screens/window_players.h"
#include "game/screens/window_shop.h"
#include "game/screens/window_sidebar.h"
#include "game/screens/window_title.h"
#include "game/screens/window_title_top.h"
#include "game/screens/window_trophy.h"
#include "game/screens/window_trophy_get.h"
#include "game/screens/window_tutorial_step.h"
#include "game/ui/window_factory.h"
#include "tests/game/screens/screen_scene.h"

namespace {

using ScreenTest::ScreenScene;

template <class Window>
bool Is(const JCWindow* window) {
    return dynamic_cast<const Window*>(window) != nullptr;
}

struct KeyCase {
    const char* key;
    bool (*isClass)(const JCWindow*);
};

class ScreenKeysTest : public ScreenScene {};

TEST_F(ScreenKeysTest, RegistryKeysCreateTheirClasses) {
    const KeyCase cases[] = {
        {"TWindow_GameFinish", &Is<gcWindow_GameFinish>},
        {"TWindow_GameMenu", &Is<gcWindow_GameMenu>},
        {"TWindow_GameStart", &Is<gcWindow_GameStart>},
        {"GG_WINDOW_CONFIRM_EX", &Is<gcWindow_ConfirmEx>},
        {"TWindow_HelpEx", &Is<gcWindow_HelpEx>},
        {"TWindow_Pack", &Is<gcWindow_Pack>},
        {"TWindow_PackTutorial", &Is<gcWindow_PackTutorial>},
        {"GG_WINDOW_PLAYERS", &Is<gcWindow_Players>},
        {"GG_WINDOW_TITLE", &Is<gcWindow_Title>},
        {"GG_WINDOW_TITLE_TOP", &Is<gcWindow_TitleTop>},
        {"TWindow_TutorialStep", &Is<gcWindow_TutorialStep>},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.key);
        std::unique_ptr<JCWindow> window(CreateRegisteredWindow(c.key));
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(c.isClass(window.get()));
    }
}

// Each factory key, given a window file of that type with nothing in it, yields its class loaded
// and placed (the classes take what they find: an empty file is a window without controls).
TEST_F(ScreenKeysTest, DefaultFactoryKeysCreateTheirClasses) {
    const KeyCase cases[] = {
        {"GG_WINDOW_HEALTH", &Is<gcWindow_BarHealth>}, {"GG_WINDOW_SUNIME", &Is<gcWindow_BarMoney>},
        {"GG_WINDOW_SHOP", &Is<gcWindow_Shop>},        {"GG_WINDOW_OFFERWALL", &Is<gcWindow_Offerwall>},
        {"GG_WINDOW_OPTIONS", &Is<gcWindow_Options>},  {"WindowSidebar", &Is<gcWindow_Sidebar>},
        {"GG_WINDOW_LEVEL", &Is<gcWindow_Level>},      {"GG_WINDOW_HELP", &Is<gcWindow_Help>},
        {"GG_WINDOW_TROPHY", &Is<gcWindow_Trophy>},    {"GG_WINDOW_TROPHY_GET", &Is<gcWindow_TrophyGet>},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(CreateRegisteredWindow(c.key), nullptr) << "a factory key in the registry";
        pugi::xml_document document;
        pugi::xml_node root = document.append_child("window");
        root.append_attribute("_name") = (std::string("keys_") + c.key).c_str();
        root.append_attribute("_type") = c.key;
        std::unique_ptr<JCWindow> window(CreateWindowByType(document));
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(c.isClass(window.get()));
    }
}

}  // namespace
