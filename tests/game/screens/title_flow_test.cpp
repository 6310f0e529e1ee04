// The title, the greeting line, the player list and their dialogs driven as a player drives them:
// the game started over the shipped content, clicks and typing through the game's input hooks,
// saves in a folder of the test's own.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/conversions.h"
#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_label.h"
#include "engine/gui/gui_linebox.h"
#include "engine/gui/gui_listbox.h"
#include "engine/windows/window_editbox.h"
#include "game/screens/title_screen_names.h"
#include "game/screens/window_confirm_ex.h"
#include "game/screens/window_players.h"
#include "game/screens/window_title_top.h"
#include "tests/game/screens/screen_scene.h"

namespace {

using ScreenTest::ScreenScene;

class TitleScreenTest : public ScreenScene {
protected:
    void SetUp() override {
        ScreenScene::SetUp();
        Seconds(1.0f);
        ASSERT_TRUE(Settled("Title"));
        ASSERT_TRUE(Settled("Title_Top"));
    }

    static JCPlayerManager& Profiles() { return Context().playerManager; }
    static gcWindow_Players& PlayerList() { return *WindowAs<gcWindow_Players>("Players"); }
    static JCWindow_Editbox& Prompt() { return *WindowAs<JCWindow_Editbox>("Players_EditBox"); }
    static gcWindow_TitleTop& Greeting() { return *WindowAs<gcWindow_TitleTop>("Title_Top"); }
    static std::vector<std::wstring> Rows() {
        std::vector<std::wstring> rows;
        const QRV::JC_GUI_LISTBOX& list = *PlayerList().list;
        for (uint32_t i = 0; i < list.GetRowCount(); ++i) rows.push_back(list.GetRow(i));
        return rows;
    }
    static std::wstring SelectedRow() {
        const wchar_t* text = PlayerList().list->GetSelectedText();
        return text != nullptr ? text : L"<none>";
    }
    static std::wstring CurrentName() {
        const JCPlayer* player = Profiles().GetCurrentPlayer();
        return player != nullptr ? player->GetName() : L"<none>";
    }
    // The shipped default profile "player" stays current; the others are added after it.
    void AddProfiles(std::initializer_list<const wchar_t*> names) {
        for (const wchar_t* name : names) ASSERT_NE(Root().CreatePlayer(name), nullptr);
    }
    void RemoveEveryProfile() {
        for (const std::wstring& name : Profiles().GetNames()) Profiles().RemovePlayer(name);
        ASSERT_EQ(Profiles().GetPlayerCount(), 0u);
    }
    void OpenPlayerList() {
        Windows().ShowWindow("Players", false);
        Seconds(1.0f);
        ASSERT_TRUE(Settled("Players"));
    }
    void Click(const char* window, int32_t id) {
        ASSERT_TRUE(Settled(window)) << window;
        ASSERT_TRUE(ClickControl(window, id)) << window << " " << id;
    }
    // The players.xml as saved: its current player and its players' names.
    static std::pair<std::string, std::vector<std::string>> SavedProfiles() {
        pugi::xml_document document;
        if (!LoadSave("players.xml", document)) return {};
        std::vector<std::string> names;
        for (const pugi::xml_node player : document.document_element().children("player"))
            names.push_back(player.attribute("name").as_string());
        return {document.document_element().attribute("current").as_string(), names};
    }
    // The point the link is drawn at, in whole pixels.
    static std::pair<int32_t, int32_t> LinkCentre() {
        float x = 0.0f, y = 0.0f;
        EXPECT_TRUE(Greeting().LinkPosition(x, y));
        return {static_cast<int32_t>(std::lround(x)), static_cast<int32_t>(std::lround(y))};
    }
};

// The name prompt refuses a taken name and an empty one, and keeps at most 20 characters.
TEST_F(TitleScreenTest, NamePromptRefusesTakenNamesAndKeepsTwentyCharacters) {
    OpenPlayerList();
    const struct {
        const wchar_t* typed;
        const wchar_t* kept;
        bool okEnabled;
        bool errorShown;
    } cases[] = {
        {L"player", L"player", false, true},  // the shipped profile's name
        {L"Player", L"Player", true, false},  // names are exact
        {L"Mira", L"Mira", true, false},
        {L"abcdefghijklmnopqrst", L"abcdefghijklmnopqrst", true, false},
        {L"abcdefghijklmnopqrstu", L"abcdefghijklmnopqrst", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Click("Players", 5);
        Seconds(1.0f);
        ASSERT_TRUE(Settled("Players_EditBox"));
        Type(c.typed);
        EXPECT_EQ(Prompt().Text(), c.kept);
        EXPECT_EQ(Prompt().okButton->IsEnabled(), c.okEnabled);
        EXPECT_EQ(Prompt().okButton->GetState() == 4, !c.okEnabled);
        EXPECT_EQ(Prompt().errorLabel->IsVisible(), c.errorShown);
        Click("Players_EditBox", 4);
        Seconds(1.0f);
        EXPECT_FALSE(Shown("Players_EditBox"));
    }
    // Cancel created nobody.
    EXPECT_EQ(Profiles().GetPlayerCount(), 1u);
}

TEST_F(TitleScreenTest, NewIsDisabledAtTheRowLimitAndDeleteWithoutARow) {
    const uint32_t limit = PlayerList().list->GetMaxRows();
    ASSERT_EQ(limit, 6u);
    const struct {
        uint32_t profiles;
        bool newEnabled;
        bool deleteEnabled;
    } cases[] = {{0, true, false}, {1, true, true}, {limit - 1, true, true}, {limit, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.profiles);
        RemoveEveryProfile();
        for (uint32_t i = 0; i < c.profiles; ++i) AddProfiles({(L"p" + std::to_wstring(i)).c_str()});
        OpenPlayerList();
        EXPECT_EQ(PlayerList().list->GetRowCount(), c.profiles);
        EXPECT_EQ(PlayerList().newButton->IsEnabled(), c.newEnabled);
        EXPECT_EQ(PlayerList().newButton->GetState() == 4, !c.newEnabled);
        EXPECT_EQ(PlayerList().deleteButton->IsEnabled(), c.deleteEnabled);
        EXPECT_EQ(PlayerList().deleteButton->GetState() == 4, !c.deleteEnabled);
        Windows().FindWindow("Players")->Hide(true);
        Seconds(0.5f);
    }
}

// A new profile made from the list joins it, chosen, and the list is saved; the one who was
// current stays current until OK.
TEST_F(TitleScreenTest, NewProfileJoinsTheListChosenAndSaved) {
    OpenPlayerList();
    Click("Players", 5);
    Seconds(1.0f);
    Type(L"Mira");
    Click("Players_EditBox", 3);
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"player", L"Mira"}));
    EXPECT_EQ(SelectedRow(), L"Mira");
    EXPECT_EQ(CurrentName(), L"player");
    EXPECT_EQ(SavedProfiles().second, (std::vector<std::string>{"player", "Mira"}));
    // The answered prompt fades out as it was, although its name is taken by now.
    for (int frame = 0; frame < 10 && Shown("Players_EditBox"); ++frame) {
        EXPECT_FALSE(Prompt().errorLabel->IsVisible()) << frame;
        Frames(1);
    }
    Seconds(1.0f);
    Click("Players", 8);
    EXPECT_EQ(CurrentName(), L"Mira");
}

// The deletion question shows the chosen name, and only yes deletes.
TEST_F(TitleScreenTest, OnlyYesDeletesAProfile) {
    AddProfiles({L"Mira"});
    const struct {
        const char* answer;
        int32_t button;
        bool deleted;
    } cases[] = {{"no", 4, false}, {"close", 5, false}, {"yes", 3, true}};
    OpenPlayerList();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        PlayerList().list->SelectByText(L"Mira");
        Click("Players", 6);
        Seconds(1.0f);
        ASSERT_TRUE(Settled("Players_Confirm_Del"));
        EXPECT_EQ(WindowAs<gcWindow_ConfirmEx>("Players_Confirm_Del")->extraText, L"Mira");
        Click("Players_Confirm_Del", c.button);
        Seconds(1.0f);
        EXPECT_FALSE(Shown("Players_Confirm_Del"));
        EXPECT_TRUE(Shown("Players"));
        EXPECT_EQ(Profiles().FindPlayer(L"Mira") == nullptr, c.deleted);
        EXPECT_EQ(Rows().size(), c.deleted ? 1u : 2u);
        EXPECT_EQ(CurrentName(), L"player");
    }
    EXPECT_EQ(SavedProfiles().second, (std::vector<std::string>{"player"}));
}

// Deleting the current profile leaves none current and chooses the first row; OK then makes the
// chosen row current and the title greets it.
TEST_F(TitleScreenTest, DeletingTheCurrentProfileLeavesNoneUntilOkChoosesARow) {
    AddProfiles({L"Mira", L"Olek"});
    OpenPlayerList();
    EXPECT_EQ(SelectedRow(), L"player");
    Click("Players", 6);
    Seconds(1.0f);
    Click("Players_Confirm_Del", 3);
    Seconds(1.0f);
    EXPECT_EQ(CurrentName(), L"<none>");
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"Mira", L"Olek"}));
    EXPECT_EQ(SelectedRow(), L"Mira");
    EXPECT_EQ(SavedProfiles(), (std::pair<std::string, std::vector<std::string>>{"", {"Mira", "Olek"}}));

    PlayerList().list->SelectByText(L"Olek");
    Click("Players", 8);
    EXPECT_EQ(CurrentName(), L"Olek");
    Seconds(1.0f);
    EXPECT_FALSE(Shown("Players"));
    EXPECT_TRUE(Shown("Title"));
    EXPECT_NE(Greeting().GreetingText().find(L"Olek"), std::wstring::npos);
}

// With the last profile deleted, OK leaves the list with nobody current, and the title greets
// nobody by name.
TEST_F(TitleScreenTest, DeletingTheLastProfileLeavesTheTitleGreetingNobody) {
    OpenPlayerList();
    Click("Players", 6);
    Seconds(1.0f);
    Click("Players_Confirm_Del", 3);
    Seconds(1.0f);
    EXPECT_EQ(Profiles().GetPlayerCount(), 0u);
    EXPECT_FALSE(PlayerList().deleteButton->IsEnabled());
    Click("Players", 8);
    Seconds(1.0f);
    EXPECT_FALSE(Shown("Players"));
    EXPECT_EQ(CurrentName(), L"<none>");
    EXPECT_EQ(Greeting().GreetingText(), QRV::Utf8ToWide(Context().stringTable.Find("title_txt_hello")));
}

// Without a profile, Play asks for a name: cancelled, the title stays; accepted, the profile is
// made, current and saved, and the pack screens come through the fade.
TEST_F(TitleScreenTest, PlayWithoutAProfileAsksForANameFirst) {
    RemoveEveryProfile();
    Click("Title", 1);
    Seconds(1.0f);
    ASSERT_TRUE(Settled("Players_EditBox"));
    Click("Players_EditBox", 4);
    Seconds(1.0f);
    EXPECT_TRUE(Settled("Title"));
    EXPECT_FALSE(Shown("Fade_Transition"));
    EXPECT_EQ(Profiles().GetPlayerCount(), 0u);

    Click("Title", 1);
    Seconds(1.0f);
    Type(L"Ana");
    Click("Players_EditBox", 3);
    EXPECT_EQ(CurrentName(), L"Ana");
    EXPECT_EQ(SavedProfiles(), (std::pair<std::string, std::vector<std::string>>{"Ana", {"Ana"}}));
    Seconds(2.0f);
    EXPECT_FALSE(Shown("Title"));
    EXPECT_FALSE(Shown("Title_Top"));
    EXPECT_TRUE(Shown("Packs"));
}

// Every accept step that creates a profile stops when the creation fails (here: a name that is
// taken, answered past the prompt's own check).
TEST_F(TitleScreenTest, AFailedCreationStopsThere) {
    const struct {
        const char* opener;
        bool fromList;
    } cases[] = {{"play", false}, {"options", false}, {"link", false}, {"new", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.opener);
        RemoveEveryProfile();
        AddProfiles({L"Mira", L"Olek"});
        // Mira was made current as the only profile; without her nobody is.
        Profiles().RemovePlayer(L"Mira");
        ASSERT_EQ(CurrentName(), L"<none>");
        Greeting().Refresh();
        const std::string opener = c.opener;
        if (c.fromList) {
            OpenPlayerList();
            Click("Players", 5);
        } else if (opener == "link") {
            const auto [x, y] = LinkCentre();
            ClickAt(x, y);
        } else {
            Click("Title", opener == "play" ? 1 : 2);
        }
        Seconds(1.0f);
        ASSERT_TRUE(Settled("Players_EditBox"));
        const std::string savedBefore = ReadSave("players.xml");
        ASSERT_TRUE(Prompt().cbAnswer);
        Prompt().cbAnswer(1, L"Olek");
        Prompt().Hide(true);
        Seconds(1.0f);
        EXPECT_EQ(Profiles().GetPlayerCount(), 1u);
        EXPECT_EQ(CurrentName(), L"<none>");
        EXPECT_EQ(ReadSave("players.xml"), savedBefore);
        EXPECT_FALSE(Shown("Fade_Transition"));
        EXPECT_FALSE(Shown("Options"));
        EXPECT_EQ(Shown("Players"), c.fromList);
        EXPECT_TRUE(Shown("Title"));
        if (c.fromList) {
            EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"Olek"}));
            Windows().FindWindow("Players")->Hide(true);
            Seconds(1.0f);
        }
    }
}

// The link lights up only while the mouse is strictly inside its rectangle; a release there opens
// the player list, with nobody current the name prompt first.
TEST_F(TitleScreenTest, LinkLightsUpStrictlyInsideAndOpensTheProfiles) {
    gcWindow_TitleTop& top = Greeting();
    const JSLinkRect rect = top.LinkRect();
    ASSERT_LT(rect.left + 4, rect.right);
    ASSERT_LT(rect.top + 4, rect.bottom);
    const auto [cx, cy] = LinkCentre();
    const int32_t left = static_cast<int32_t>(rect.left), right = static_cast<int32_t>(rect.right);
    const int32_t topEdge = static_cast<int32_t>(rect.top), bottom = static_cast<int32_t>(rect.bottom);
    const struct {
        const char* where;
        int32_t x, y;
        bool lit;
    } cases[] = {
        {"centre", cx, cy, true},
        {"left edge", left, cy, false},
        {"just inside left", left + 1, cy, true},
        {"right edge", right, cy, false},
        {"just inside right", right - 1, cy, true},
        {"top edge", cx, topEdge, false},
        {"bottom edge", cx, bottom, false},
        {"just inside bottom", cx, bottom - 1, true},
        {"far away", 20, 700, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        MoveMouse(c.x, c.y);
        Frames(1);
        EXPECT_EQ(top.IsLinkHighlighted(), c.lit);
        EXPECT_EQ(top.linkColor, c.lit ? top.highlightColor : top.normalColor);
    }
    EXPECT_NE(top.highlightColor, top.normalColor);

    // A release elsewhere does nothing.
    ClickAt(20, 700);
    Seconds(1.0f);
    EXPECT_FALSE(Shown("Players"));
    // On the link: the list, and the link is back to normal under it.
    ClickAt(cx, cy);
    Seconds(1.0f);
    EXPECT_TRUE(Settled("Players"));
    EXPECT_FALSE(top.IsLinkHighlighted());
    Click("Players", 8);
    Seconds(1.0f);

    // With nobody current: the prompt, then the list with the new profile.
    RemoveEveryProfile();
    top.Refresh();
    ClickAt(cx, cy);
    Seconds(1.0f);
    ASSERT_TRUE(Settled("Players_EditBox"));
    EXPECT_FALSE(Shown("Players"));
    Type(L"Ana");
    Click("Players_EditBox", 3);
    Seconds(1.0f);
    EXPECT_TRUE(Settled("Players"));
    EXPECT_EQ(CurrentName(), L"Ana");
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"Ana"}));
}

// What is drawn as the link is what the rectangle covers: the text is centred on the point.
TEST_F(TitleScreenTest, LinkIsDrawnCentredInItsRectangle) {
    gcWindow_TitleTop& top = Greeting();
    // Only the link: no greeting, no band.
    top.greetingFormat.clear();
    top.anchor->SetVisible(false);
    const std::vector<QRV::JS_VERTEX> drawn = renderer.DrawnVertices([&] { top.Draw(); });
    top.anchor->SetVisible(true);
    ASSERT_FALSE(drawn.empty());
    float left = drawn[0].x, right = left;
    for (const QRV::JS_VERTEX& v : drawn) left = std::min(left, v.x), right = std::max(right, v.x);
    const JSLinkRect rect = top.LinkRect();
    const float centre = (rect.left + rect.right) / 2.0f;
    EXPECT_NEAR((left + right) / 2.0f, centre, 3.0f);
    EXPECT_NEAR(right - left, rect.right - rect.left, 6.0f);
}

TEST_F(TitleScreenTest, ExitEndsTheGameOnYesOnly) {
    const struct {
        const char* answer;
        int32_t button;
        uint8_t running;
    } cases[] = {{"no", 4, 1}, {"yes", 3, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        Click("Title", 3);
        Seconds(1.0f);
        ASSERT_TRUE(Settled("Confirm_Exit"));
        EXPECT_FALSE(WindowAs<JCWindow_Confirm>("Confirm_Exit")->cbSecondAnswer);
        Click("Confirm_Exit", c.button);
        EXPECT_EQ(QRV::g_app->running, c.running);
        Seconds(1.0f);
        EXPECT_FALSE(Shown("Confirm_Exit"));
        EXPECT_TRUE(Shown("Title"));
    }
}

// Options with a profile opens at once; without one, after the name.
TEST_F(TitleScreenTest, OptionsWithoutAProfileAsksForANameFirst) {
    Click("Title", 2);
    Seconds(1.0f);
    EXPECT_TRUE(Shown("Options") || Window("Options") == nullptr);
    if (Shown("Options")) Windows().FindWindow("Options")->Hide(true);
    Seconds(1.0f);
    RemoveEveryProfile();
    Click("Title", 2);
    Seconds(1.0f);
    ASSERT_TRUE(Settled("Players_EditBox"));
    Type(L"Ana");
    Click("Players_EditBox", 3);
    EXPECT_EQ(CurrentName(), L"Ana");
    EXPECT_EQ(SavedProfiles().first, "Ana");
}

}  // namespace
