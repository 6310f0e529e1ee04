// The screen scene itself: the game starts over the shipped content as it does for a player, the
// mouse reaches windows through the manager's stacking and modal rules, typing reaches the focused
// line box, and events and saves are there for the tests to read.
#include "tests/game/screens/screen_scene.h"

#include <pugixml.hpp>

#include <string>
#include <vector>

#include "engine/resources/resource_loaders.h"
#include "engine/windows/window_editbox.h"

namespace {

using ScreenTest::ScreenScene;

class ScreenSceneKitTest : public ScreenScene {};

// Every entry of the window list is a loaded window, and the desktop's first screen comes up.
TEST_F(ScreenSceneKitTest, StartUpLoadsEveryListedWindowAndShowsTheTitle) {
    pugi::xml_document* list = QRV::AcquireXmlResource(Global().EditionText("scenes"));
    ASSERT_NE(list, nullptr);
    std::vector<std::string> names;
    for (const pugi::xml_node entry : list->document_element().children()) {
        const std::string file = entry.attribute("file").as_string();
        if (file.empty()) continue;
        pugi::xml_document* window = QRV::AcquireXmlResource(file);
        ASSERT_NE(window, nullptr) << file;
        names.push_back(window->document_element().attribute("_name").as_string());
        QRV::ReleaseXml(window);
    }
    QRV::ReleaseXml(list);
    ASSERT_GE(names.size(), 10u);
    for (const std::string& name : names) EXPECT_NE(Window(name), nullptr) << name;
    Seconds(1.0f);
    EXPECT_TRUE(Settled("Title"));
    EXPECT_EQ(QRV::g_app->running, 1);
}

// A modal question takes the clicks: outside it nothing happens, on "no" (4) it goes, and the
// windows below it never hear of either.
TEST_F(ScreenSceneKitTest, ClicksReachTheTopModalWindowOnly) {
    Seconds(1.0f);
    const struct {
        const char* label;
        int32_t control;  // 0: a click in the screen's corner
        bool shownAfter;
    } cases[] = {
        {"outside the dialog", 0, true},
        {"on no", 4, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        if (!Shown("Confirm_Exit")) Windows().ShowWindow("Confirm_Exit", false);
        ASSERT_TRUE(Settle());
        ASSERT_TRUE(Settled("Confirm_Exit"));
        ASSERT_EQ(Windows().Stack().front(), Window("Confirm_Exit"));
        if (c.control == 0) {
            ClickAt(4, 4);
        } else {
            ASSERT_TRUE(ClickControl("Confirm_Exit", c.control));
        }
        Seconds(1.0f);
        EXPECT_EQ(Shown("Confirm_Exit"), c.shownAfter);
        EXPECT_TRUE(Shown("Title"));
        EXPECT_EQ(QRV::g_app->running, 1);
    }
    EXPECT_FALSE(ControlCentre("Confirm_Exit", 999).has_value());
}

// Typed characters reach the focused line box one key at a time; the box's own refusals apply.
TEST_F(ScreenSceneKitTest, TypingFillsTheFocusedLineBox) {
    const struct {
        const wchar_t* typed;
        const wchar_t* text;
    } cases[] = {
        {L"Ann7", L"Ann7"},
        {L"Jo.e", L"Joe"},
    };
    for (const auto& c : cases) {
        auto* box = WindowAs<JCWindow_Editbox>("Players_EditBox");
        ASSERT_NE(box, nullptr);
        Windows().ShowWindow("Players_EditBox", false);
        Seconds(1.0f);
        Type(c.typed);
        EXPECT_EQ(box->Text(), c.text);
        box->Hide(true);
        Frames(2);
        ASSERT_FALSE(Shown("Players_EditBox"));
    }
}

// The recorder hears the game's events with their arguments; a save lands in the test's folder.
TEST_F(ScreenSceneKitTest, EventsAreRecordedAndSavesLandInTheTestsFolder) {
    QRV::gEventDispatcher& dispatcher = *Context().eventDispatcher;
    dispatcher.Send<>(kEventMusicVolume);
    dispatcher.Send<std::string>(kEventPlayerValue, "money");
    dispatcher.Post(gcGameplay::kEventResumed);
    Frames(1);
    const std::vector<ScreenTest::RecordedEvent> expected = {
        {kEventMusicVolume, ""}, {kEventPlayerValue, "money"}, {gcGameplay::kEventResumed, ""}};
    EXPECT_EQ(Events().Events(), expected);

    ASSERT_FALSE(SaveFolder().empty());
    EXPECT_EQ(SaveFolder().rfind(saves.String(), 0), 0u) << SaveFolder();
    Root().Save();
    pugi::xml_document players;
    EXPECT_TRUE(LoadSave("players.xml", players));
}

}  // namespace
