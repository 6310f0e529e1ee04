// The title and profile windows as the game loads them: the shipped window files built by the
// content builder, created through the registry and the default factory, each as its class with
// the controls, settings and texts its code asks for.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "engine/core/conversions.h"
#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_label.h"
#include "engine/gui/gui_linebox.h"
#include "engine/gui/gui_listbox.h"
#include "engine/gui/gui_root.h"
#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"
#include "engine/resources/string_table.h"
#include "engine/windows/window_editbox.h"
#include "engine/windows/window_manager.h"
#include "game/config/ui_names.h"
#include "game/screens/player_prompt.h"
#include "game/screens/screen_windows.h"
#include "game/screens/title_screen_names.h"
#include "game/screens/window_confirm_ex.h"
#include "game/screens/window_players.h"
#include "game/screens/window_title.h"
#include "game/screens/window_title_top.h"
#include "game/ui/window_factory.h"
#include "tests/test_kit/built_content.h"
#include "tests/test_kit/global_guard.h"
#include "tests/test_kit/null_renderer.h"
#include "tools/content_builder/all_content.h"
#include "tools/content_builder/font_content.h"
#include "tools/content_builder/gui_content.h"
#include "tools/content_builder/output_tree.h"
#include "tools/content_builder/sound_content.h"
#include "tools/content_builder/string_table_source.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/title_art.h"
#include "tools/content_builder/window_content.h"

namespace {

namespace fs = std::filesystem;
namespace CB = ContentBuilder;
namespace Theme = ContentBuilder::Theme;

const fs::path kContent = QUORVEL_CONTENT_DIR;

bool IsCatalogueFont(const std::string& name) {
    for (const Theme::FontRecipe& font : Theme::kFonts)
        if (font.name == name) return true;
    return false;
}

// The ids of the widgets of one kind in the tree.
void CollectIds(const QRV::JC_GUI_OBJECT* node, int32_t kind, std::set<int32_t>& out) {
    for (const QRV::JC_GUI_OBJECT* child : node->children) {
        if (child->kind == kind) out.insert(child->GetId());
        CollectIds(child, kind, out);
    }
}

float PositionY(const JCWindow* window, int32_t id) {
    const QRV::JC_GUI_OBJECT* widget = window->gui->rootObject->FindChildById(id);
    EXPECT_NE(widget, nullptr) << id;
    return widget != nullptr && widget->transform != nullptr ? widget->transform->positionY : 0.0f;
}

class TitleWindowsContent : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterScreenWindows();
        previousDir = fs::current_path();
        QRV::JC_PATHS::Instance();
        fs::current_path(QRV::TestKit::BuiltContentFolder());
        QRV::JC_PATHS::Instance()->Setup();
        globals.Set(QRV::g_repositoryManager, &manager);
        QRV::LoadRepository("");
        for (const char* repository : {"data/en", "data/share/windows", "data/share/main/other", "data/share/font",
                                       "data/share/gui", "data/share/sound", "data/share/title", "data/share/layouts"})
            ASSERT_TRUE(QRV::LoadRepository(repository)) << repository;
        ASSERT_TRUE(strings.LoadFromResource("data/en strings.xml"));
        windows = std::make_unique<JCWindowManager>(&strings);
        windows->defaultFactory = &CreateWindowByType;
        ASSERT_TRUE(windows->LoadWindows("data/share/main/other windows.xml"));
    }
    void TearDown() override {
        windows.reset();
        manager.Destroy();
        globals.Restore();
        fs::current_path(previousDir);
    }

    template <class T>
    T* As(std::string_view name) {
        JCWindow* window = windows->FindWindow(std::string(name));
        EXPECT_NE(window, nullptr) << name;
        return dynamic_cast<T*>(window);
    }

    fs::path previousDir;
    QRV::JC_REPOSITORY_MANAGER manager;
    QRV::TestKit::GlobalGuard globals;
    QRV::TestKit::NullRenderer renderer;
    QRV::JC_STRING_TABLE strings;
    std::unique_ptr<JCWindowManager> windows;
};

TEST_F(TitleWindowsContent, EachWindowIsItsClassWithTheButtonsItsCodeAsksFor) {
    const struct {
        std::string_view window;
        bool isItsClass;
        std::set<int32_t> buttons;
        bool modal;
    } cases[] = {
        {Game::ui::kTitle, As<gcWindow_Title>(Game::ui::kTitle) != nullptr, {1, 2, 3}, false},
        {Game::ui::kTitleTop, As<gcWindow_TitleTop>(Game::ui::kTitleTop) != nullptr, {}, false},
        // New, Delete and OK, and no other way out.
        {Game::ui::kPlayers, As<gcWindow_Players>(Game::ui::kPlayers) != nullptr, {5, 6, 8}, true},
        {Game::ui::kPlayersEditBox, As<JCWindow_Editbox>(Game::ui::kPlayersEditBox) != nullptr, {3, 4}, true},
        {Game::ui::kPlayersConfirmDel,
         As<gcWindow_ConfirmEx>(Game::ui::kPlayersConfirmDel) != nullptr,
         {3, 4, 5},
         true},
        {Game::ui::kConfirmExit, As<JCWindow_Confirm>(Game::ui::kConfirmExit) != nullptr, {3, 4}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.window));
        EXPECT_TRUE(c.isItsClass);
        const JCWindow* window = windows->FindWindow(std::string(c.window));
        ASSERT_NE(window, nullptr);
        std::set<int32_t> buttons;
        CollectIds(window->gui->rootObject, QRV::GUI_KIND::Button5, buttons);
        EXPECT_EQ(buttons, c.buttons);
        EXPECT_EQ(window->modal != 0, c.modal);
    }
    // The greeting stands above the title, the dialogs above both.
    const int title = windows->FindWindow("Title")->layer, top = windows->FindWindow("Title_Top")->layer;
    EXPECT_GT(top, title);
    for (std::string_view dialog : {Game::ui::kPlayers, Game::ui::kPlayersEditBox, Game::ui::kPlayersConfirmDel})
        EXPECT_GT(windows->FindWindow(std::string(dialog))->layer, top) << dialog;
    // The deletion question opens over the player list.
    EXPECT_GT(windows->FindWindow("Players_Confirm_Del")->layer, windows->FindWindow("Players")->layer);
}

TEST_F(TitleWindowsContent, PlayerListHoldsNoMoreRowsThanItShows) {
    const gcWindow_Players* players = As<gcWindow_Players>(Game::ui::kPlayers);
    ASSERT_NE(players, nullptr);
    ASSERT_NE(players->list, nullptr);
    ASSERT_NE(players->newButton, nullptr);
    ASSERT_NE(players->deleteButton, nullptr);
    // Rows past the visible count are never drawn, so the limit is the visible count.
    EXPECT_EQ(players->list->GetMaxRows(), static_cast<uint32_t>(players->list->GetVisibleCount()));
    EXPECT_GT(players->list->GetMaxRows(), 1u);

    const JCWindow_Editbox* prompt = As<JCWindow_Editbox>(Game::ui::kPlayersEditBox);
    ASSERT_NE(prompt, nullptr);
    ASSERT_NE(prompt->lineBox, nullptr);
    EXPECT_EQ(prompt->lineBox->maxLength, kPlayerNameLimit);
    EXPECT_NE(prompt->errorLabel, nullptr);
}

TEST_F(TitleWindowsContent, GreetingSettingsNameCatalogueFontsAndTheRewardColour) {
    const gcWindow_TitleTop* top = As<gcWindow_TitleTop>(Game::ui::kTitleTop);
    ASSERT_NE(top, nullptr);
    EXPECT_NE(top->anchor, nullptr);
    EXPECT_TRUE(IsCatalogueFont(top->fontBigName)) << top->fontBigName;
    EXPECT_TRUE(IsCatalogueFont(top->fontMedName)) << top->fontMedName;
    EXPECT_EQ(top->highlightColor, Theme::Argb(Theme::kReward, 0xFF));
    // The greeting sits above the band's centre and the link one line below it: both on the band.
    EXPECT_LT(top->shiftY, 0.0f);
    EXPECT_EQ(top->shiftX, 0.0f);

    const gcWindow_ConfirmEx* confirm = As<gcWindow_ConfirmEx>(Game::ui::kPlayersConfirmDel);
    ASSERT_NE(confirm, nullptr);
    EXPECT_NE(confirm->textLabel, nullptr);
    EXPECT_TRUE(IsCatalogueFont(confirm->fontName)) << confirm->fontName;
    // The name's line, at the window's position, stands between the question and the buttons.
    EXPECT_LT(PositionY(confirm, 2), 0.0f);
    for (int32_t button : {3, 4}) EXPECT_GT(PositionY(confirm, button), 0.0f) << button;
    EXPECT_EQ(PositionY(confirm, 102), 0.0f);
}

TEST_F(TitleWindowsContent, GreetingTextsAreTemplatesOfTheirShape) {
    const struct {
        std::string_view key;
        int stringConversions;
    } cases[] = {{Game::ui::kHelloProfileKey, 1}, {Game::ui::kHelloKey, 0}, {Game::ui::kProfileChangeKey, 0}};
    for (const auto& c : cases) {
        const std::string text = strings.Find(std::string(c.key));
        SCOPED_TRACE(text);
        EXPECT_NE(text, c.key);
        int percents = 0, textConversions = 0;
        for (size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 1)) {
            ++percents;
            textConversions += text.compare(at, 2, "%s") == 0 ? 1 : 0;
        }
        EXPECT_EQ(percents, c.stringConversions);
        EXPECT_EQ(textConversions, c.stringConversions);
    }
}

TEST(TitleScreenNames, EveryNameTheScreensAskForIsInTheSharedLists) {
    auto listed = [](std::string_view name, auto& list) {
        for (std::string_view entry : list)
            if (entry == name) return true;
        return false;
    };
    for (std::string_view name :
         {Game::ui::kTitle, Game::ui::kTitleTop, Game::ui::kPlayers, Game::ui::kPlayersEditBox,
          Game::ui::kPlayersConfirmDel, Game::ui::kConfirmExit, Game::ui::kOptions, Game::ui::kFadeTransition})
        EXPECT_TRUE(listed(name, Game::ui::kWindowNames)) << name;
    for (std::string_view key : {Game::ui::kHelloProfileKey, Game::ui::kHelloKey, Game::ui::kProfileChangeKey})
        EXPECT_TRUE(listed(key, Game::ui::kStringKeys)) << key;
}

}  // namespace
