// The windows around a level over their real window files: the finish window's stars, banner and
// labels, its next, restart and menu buttons; the pause menu's restart check, close and restart
// answers and resume; the start window's level number, tips and the resume rule when it hides.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "engine/graphics/animation.h"
#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_image.h"
#include "engine/gui/gui_label.h"
#include "game/gameplay/gameplay_result.h"
#include "game/screens/ingame_support.h"
#include "game/screens/window_game_finish.h"
#include "game/screens/window_game_menu.h"
#include "game/screens/window_game_start.h"
#include "tests/game/screens/ingame_scene.h"

namespace {

using IngameTest::IngameScene;

std::wstring LabelText(const JCWindow* window, int32_t id) {
    const QRV::JC_GUI_WLABEL* label = Ingame::Label(window, id);
    return label != nullptr ? label->GetText() : L"<no label>";
}

class IngameFinishScene : public IngameScene {
protected:
    gcWindow_GameFinish* Finish(const char* name = "GP_Finish") {
        auto* finish = dynamic_cast<gcWindow_GameFinish*>(Windows().FindWindow(name));
        EXPECT_NE(finish, nullptr) << name;
        return finish;
    }
    float Setting(const char* key) {
        const JSProperty* value = Finish()->settings.Find(key);
        return value != nullptr ? value->floatValue : -1.0f;
    }
    // The board's record: the window keeps a pointer to it, as to the board's own.
    gcLevelResult result;
};

// Three stars for no mistake, two for one, one otherwise: they appear one "star_time" apart after
// the window has shown, ring past their size and settle, showing the filled half; the others stay
// hidden, and only the banner of that count shows.
TEST_F(IngameFinishScene, StarsPopOneStarTimeApartWithTheirBannerOnly) {
    StartAndPlay("pack01.a");
    gcWindow_GameFinish* finish = Finish();
    ASSERT_EQ(finish->stars.size(), 3u);
    const float starTime = Setting("star_time");
    ASSERT_GT(starTime, 0.1f);
    const struct {
        int32_t errors;
        size_t stars;
    } cases[] = {{0, 3}, {1, 2}, {5, 1}, {2, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE("errors " + std::to_string(c.errors));
        result = gcLevelResult();
        result.errors = c.errors;
        result.playTime = 42.0f;
        finish->SetResult(&result);
        for (int32_t banner = 1; banner <= 3; ++banner)
            EXPECT_EQ(Ingame::Control(finish, 20 + banner)->IsVisible(), static_cast<size_t>(banner) == c.stars)
                << "banner " << banner;
        ASSERT_NE(Windows().ShowWindow("GP_Finish", false), nullptr);
        EXPECT_TRUE(Board().IsPaused());

        const float dt = 0.01f;
        float now = 0.0f, shownAt = -1.0f;
        std::vector<float> appeared(3, -1.0f);
        std::vector<float> largest(3, 0.0f);
        for (int frame = 0; frame < 400; ++frame, now += dt) {
            Frames(1, dt);
            if (shownAt < 0.0f && finish->shown != 0 && finish->animating == 0) shownAt = now;
            for (size_t i = 0; i < 3; ++i) {
                QRV::JC_GUI_OBJECT* star = finish->stars[i];
                if (star->IsVisible() && appeared[i] < 0.0f) appeared[i] = now;
                largest[i] = std::max(largest[i], star->transform->scaleX);
            }
        }
        ASSERT_GE(shownAt, 0.0f);
        for (size_t i = 0; i < 3; ++i) {
            SCOPED_TRACE("star " + std::to_string(i));
            QRV::JC_GUI_OBJECT* star = finish->stars[i];
            if (i >= c.stars) {
                EXPECT_LT(appeared[i], 0.0f);
                continue;
            }
            ASSERT_GE(appeared[i], 0.0f);
            EXPECT_NEAR(appeared[i] - shownAt, static_cast<float>(i) * starTime, 3 * dt);
            EXPECT_GT(largest[i], 1.05f);  // the overshoot
            EXPECT_LT(largest[i], 1.6f);
            EXPECT_NEAR(star->transform->scaleX, 1.0f, 0.01f);  // settled
            const auto* image = dynamic_cast<QRV::JC_GUI_IMAGE*>(star);
            ASSERT_NE(image, nullptr);
            EXPECT_FLOAT_EQ(image->sprite->vertices[0].u, 0.5f);  // the filled half
            EXPECT_FLOAT_EQ(image->sprite->vertices[2].u, 1.0f);
        }
        // The empty stars under them are not in the list and always show.
        for (int32_t outline = 111; outline <= 113; ++outline)
            EXPECT_TRUE(Ingame::Control(finish, outline)->IsVisible());
        finish->Hide(true);
        Settle();
    }
}

// The labels: play time and best time as "mm:ss", or "hh:mm:ss" from an hour on; hints used,
// mistakes, money earned and the player's money; the level number in its template.
TEST_F(IngameFinishScene, LabelsShowTheResultTimesAndMoney) {
    StartAndPlay("pack01.b");
    gcWindow_GameFinish* finish = Finish();
    player->IncrementStatistic("money", 120);
    const struct {
        float seconds;
        const wchar_t* shown;
    } times[] = {
        {59.9f, L"00:59"}, {3600.0f, L"01:00:00"}, {0.0f, L"00:00"}, {3725.5f, L"01:02:05"}, {61.0f, L"01:01"}};
    for (const auto& t : times) {
        SCOPED_TRACE(t.seconds);
        result = gcLevelResult();
        result.playTime = t.seconds;
        result.hintsUsed = 2;
        result.errors = 1;
        result.sunime = 15;
        Level("pack01.b")->GetProperty("time")->SetFloat(t.seconds);
        finish->SetResult(&result);
        EXPECT_EQ(LabelText(finish, 4), t.shown);
        EXPECT_EQ(LabelText(finish, 8), t.shown);
        EXPECT_EQ(LabelText(finish, 5), L"2");
        EXPECT_EQ(LabelText(finish, 6), L"1");
        EXPECT_EQ(LabelText(finish, 7), L"15");
        EXPECT_EQ(LabelText(finish, 9), L"Level 2");
        EXPECT_EQ(LabelText(finish, 10), L"120");
    }
    // Money that changed before the show (a trophy's bonus) is shown by the show.
    player->IncrementStatistic("money", 30);
    Windows().ShowWindow("GP_Finish", false);
    Settle();
    EXPECT_EQ(LabelText(finish, 10), L"150");
}

// Next on the last level fades to the pack list, or to the tutorial list in a tutorial pack;
// before it, the next level starts at once; a next level that does not start goes back to the
// level list through the fade. Menu goes to the level list.
TEST_F(IngameFinishScene, NextAndMenuLeadWhereTheLevelStands) {
    const struct {
        const char* label;
        const char* level;
        const char* finishName;
        int32_t button;
        const char* shownAfter;
        const char* selectedAfter;
        bool runningAfter;
    } cases[] = {
        {"last ordinary", "pack01.b", "GP_Finish", 1, "Packs", "pack01.b", false},
        {"last tutorial", "tutorial_pack1.b", "Tutorial_Finish", 1, "Tutorial", "tutorial_pack1.b", false},
        {"next starts", "pack01.a", "GP_Finish", 1, "GP_Start", "pack01.b", true},
        {"next fails", "pack02.a", "GP_Finish", 1, "Levels", "pack02.b", false},
        {"menu", "pack01.a", "GP_Finish", 3, "Levels", "pack01.a", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        StartAndPlay(c.level);
        gcWindow_GameFinish* finish = Finish(c.finishName);
        result = gcLevelResult();
        finish->SetResult(&result);
        Windows().ShowWindow(c.finishName, false);
        Settle();
        ASSERT_TRUE(Shown(c.finishName));
        finish->OnButton(c.button);
        Settle();
        EXPECT_FALSE(Shown(c.finishName));
        EXPECT_FALSE(Shown("Fade_Transition"));
        EXPECT_TRUE(Shown(c.shownAfter));
        EXPECT_EQ(Board().IsRunning(), c.runningAfter);
        const JCLevel* selected = Ingame::CurrentLevel();
        ASSERT_NE(selected, nullptr);
        EXPECT_EQ(selected->GetProperty("name")->text, c.selectedAfter);
        Root().CloseGameplay();
        for (const char* name : {"GP_Start", "Packs", "Pack_Title", "Levels", "Level_Title", "Tutorial", "Back"})
            if (JCWindow* shown = Windows().FindShownWindow(name)) shown->Hide(true);
        Settle();
    }
}

// Restart asks first: yes starts the level again from an empty grid and hides the window; no keeps
// both as they are.
TEST_F(IngameFinishScene, RestartAsksAndActsOnYesOnly) {
    for (const int32_t button : {3, 4}) {
        SCOPED_TRACE(button);
        StartAndPlay("pack01.a");
        ASSERT_TRUE(Board().Process().OpenCell({0, 0}));
        Frames(30, 0.1f);
        ASSERT_GT(Board().GetSolvedFraction(), 0.0f);
        gcWindow_GameFinish* finish = Finish();
        result = gcLevelResult();
        finish->SetResult(&result);
        Windows().ShowWindow("GP_Finish", false);
        Settle();
        finish->OnButton(2);
        Settle();
        JCWindow* confirm = Windows().FindShownWindow("Confirm_Restart_In_Finish");
        ASSERT_NE(confirm, nullptr);
        confirm->OnButton(button);
        Settle();
        EXPECT_EQ(Shown("GP_Finish"), button != 3);
        EXPECT_EQ(Board().GetSolvedFraction() == 0.0f, button == 3);
        if (JCWindow* shown = Windows().FindShownWindow("GP_Finish")) shown->Hide(true);
        Root().CloseGameplay();
        Settle();
    }
}

class IngameMenuScene : public IngameScene {
protected:
    gcWindow_GameMenu* Menu() {
        auto* menu = dynamic_cast<gcWindow_GameMenu*>(Windows().FindWindow("GP_Menu"));
        EXPECT_NE(menu, nullptr);
        return menu;
    }
    void ShowMenu() {
        ASSERT_NE(Windows().ShowWindow("GP_Menu", false), nullptr);
        Settle();
        ASSERT_TRUE(Board().IsPaused());
    }
    void Reset() {
        Root().CloseGameplay();
        for (const char* name : {"GP_Menu", "Levels", "Level_Title", "Back"})
            if (JCWindow* shown = Windows().FindShownWindow(name)) shown->Hide(true);
        Settle();
        while (player->GetHealth().AddHeart()) {}
        Global().EditionConfig().SetInt("heart", 1);
    }
};

// Restart is shown disabled only while an ordinary pack's player has no heart and hearts are on.
TEST_F(IngameMenuScene, RestartIsDisabledWithoutHeartsOutsideTutorials) {
    const struct {
        const char* label;
        const char* level;
        int32_t hearts;
        int32_t heartEdition;
        bool enabled;
    } cases[] = {
        {"no heart", "pack01.a", 0, 1, false},
        {"one heart", "pack01.a", 1, 1, true},
        {"no heart in a tutorial", "tutorial_pack1.a", 0, 1, true},
        {"no heart, hearts off", "pack01.a", 0, 0, true},
        {"no heart again", "pack01.b", 0, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        StartAndPlay(c.level);
        SetHearts(c.hearts);
        Global().EditionConfig().SetInt("heart", c.heartEdition);
        ShowMenu();
        const QRV::JC_GUI_BUTTON5* restart = Ingame::Button(Menu(), 2);
        ASSERT_NE(restart, nullptr);
        EXPECT_EQ(restart->IsEnabled(), c.enabled);
        EXPECT_EQ(gcWindow_GameMenu::CanRestart(), c.enabled);
        Reset();
    }
}

// Leaving through the menu asks first; only yes leaves for the level list through the fade, and
// only there, outside tutorials, does it cost a heart. No answer reaches an earlier asker of the
// same confirm window.
TEST_F(IngameMenuScene, LeavingCostsAHeartOnYesOnly) {
    const struct {
        const char* label;
        const char* level;
        const char* confirm;
        int32_t button;
        int32_t heartsLost;
        bool leaves;
    } cases[] = {
        {"yes", "pack01.a", "Confirm_Close_Lvl", 3, 1, true},
        {"no", "pack01.a", "Confirm_Close_Lvl", 4, 0, false},
        {"close", "pack01.a", "Confirm_Close_Lvl", 5, 0, false},
        {"yes in a tutorial", "tutorial_pack1.a", "Confirm_Close_Lvl_Tutor", 3, 0, true},
        {"no in a tutorial", "tutorial_pack1.a", "Confirm_Close_Lvl_Tutor", 4, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        StartAndPlay(c.level);
        ShowMenu();
        int32_t earlierAnswers = 0;
        auto* confirm = dynamic_cast<JCWindow_Confirm*>(Windows().FindWindow(c.confirm));
        ASSERT_NE(confirm, nullptr);
        confirm->cbSecondAnswer =
            Closure<void(int32_t)>(&earlierAnswers, [](void* count, int32_t) { ++*static_cast<int32_t*>(count); });
        const int32_t before = Hearts();
        Menu()->OnButton(3);
        Settle();
        ASSERT_TRUE(Shown(c.confirm));
        confirm->OnButton(c.button);
        Settle();
        EXPECT_EQ(earlierAnswers, 0);
        EXPECT_EQ(before - Hearts(), c.heartsLost);
        EXPECT_EQ(Shown("Levels"), c.leaves);
        EXPECT_EQ(Shown("GP_Menu"), !c.leaves);
        EXPECT_EQ(Board().IsRunning(), !c.leaves);
        EXPECT_FALSE(Shown("Fade_Transition"));
        if (!c.leaves) {
            EXPECT_TRUE(Board().IsPaused());
        }
        Reset();
    }
}

// Restart asks first: yes costs a heart (outside tutorials), empties the grid and goes on playing;
// no leaves the menu up. Resume hides the menu and goes on.
TEST_F(IngameMenuScene, RestartAndResumeGoOnPlaying) {
    const struct {
        const char* label;
        const char* level;
        int32_t button;  // 0: resume, else the restart confirm's button
        int32_t heartsLost;
        bool cleared;
        bool menuAfter;
    } cases[] = {
        {"restart yes", "pack01.a", 3, 1, true, false},
        {"restart no", "pack01.a", 4, 0, false, true},
        {"restart yes in a tutorial", "tutorial_pack1.a", 3, 0, true, false},
        {"resume", "pack01.a", 0, 0, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        StartAndPlay(c.level);
        ASSERT_TRUE(Board().Process().OpenCell({0, 0}));
        Frames(30, 0.1f);
        ASSERT_GT(Board().GetSolvedFraction(), 0.0f);
        ShowMenu();
        const int32_t before = Hearts();
        if (c.button == 0) {
            Menu()->OnButton(1);
        } else {
            Menu()->OnButton(2);
            Settle();
            const char* name = Ingame::InTutorialPack() ? "Confirm_Restart_Level_Tutor" : "Confirm_Restart_Level";
            JCWindow* confirm = Windows().FindShownWindow(name);
            ASSERT_NE(confirm, nullptr) << name;
            confirm->OnButton(c.button);
        }
        Settle();
        EXPECT_EQ(before - Hearts(), c.heartsLost);
        EXPECT_EQ(Board().GetSolvedFraction() == 0.0f, c.cleared);
        EXPECT_EQ(Shown("GP_Menu"), c.menuAfter);
        EXPECT_EQ(Board().IsPaused(), c.menuAfter);
        EXPECT_TRUE(Board().IsRunning());
        Reset();
    }
}

class IngameStartScene : public IngameScene {
protected:
    gcWindow_GameStart* Start(const std::string& name = "GP_Start") {
        auto* start = dynamic_cast<gcWindow_GameStart*>(Windows().FindWindow(name));
        EXPECT_NE(start, nullptr) << name;
        return start;
    }
    // A copy of the real start window under another name, its tips cut to the first `keep`.
    gcWindow_GameStart* LoadVariant(const std::string& name, size_t keep) {
        std::string text = RealWindowText("GP_Start");
        text = std::regex_replace(text, std::regex("_name=\"GP_Start\""), "_name=\"" + name + "\"");
        for (size_t index = keep; index < 16; ++index)
            text = std::regex_replace(text, std::regex("<param key=\"" + std::to_string(index) + "\"[^>]*/>"), "");
        Put("data/share/windows/" + name + ".xml", text);
        QRV::UnloadRepository("data/share/windows");
        EXPECT_TRUE(QRV::LoadRepository("data/share/windows"));
        LoadWindow(name);
        return Start(name);
    }
    // The tip label after a show begins at each of these clock readings.
    std::set<std::wstring> TipsShown(gcWindow_GameStart* start, uint32_t readings) {
        std::set<std::wstring> tips;
        for (uint32_t now = 0; now < readings; ++now) {
            clock.nowMs = 1000 + now * 37;
            start->OnShowBegin();
            tips.insert(LabelText(start, 3));
        }
        return tips;
    }
    std::wstring Text(const std::string& key) { return Context().stringTable.GetWide(key); }
};

// The tip is entry (random mod n) of n entries, so every entry can come up, the last one too; one
// entry always shows; without entries the label keeps its text.
TEST_F(IngameStartScene, TipIndexIsTheRandomValueModuloTheEntryCount) {
    gcWindow_GameStart bare;
    EXPECT_EQ(bare.TipKeyFor(12345), "");
    bare.settings.SetString("0", "tip_a");
    for (const uint32_t value : {0u, 1u, 7u, 0xFFFFFFFFu}) EXPECT_EQ(bare.TipKeyFor(value), "tip_a") << value;
    bare.settings.SetString("1", "tip_b");
    bare.settings.SetString("2", "tip_c");
    const char* expected[] = {"tip_a", "tip_b", "tip_c", "tip_a", "tip_b", "tip_c"};
    for (uint32_t value = 0; value < 6; ++value) EXPECT_EQ(bare.TipKeyFor(value), expected[value]) << value;
}

TEST_F(IngameStartScene, EveryShippedTipCanShowAndOneEntryAlwaysShows) {
    StartAndPlay("pack01.a");
    gcWindow_GameStart* shipped = Start();
    ASSERT_GE(shipped->settings.Entries().size(), 6u);
    std::set<std::wstring> all;
    for (const auto& [key, value] : shipped->settings.Entries()) {
        EXPECT_NE(Text(value->text), Ingame::Localised("")) << key;
        all.insert(Text(value->text));
    }
    const struct {
        const char* name;
        size_t keep;
    } cases[] = {{"GP_Start_Every", 99}, {"GP_Start_One", 1}, {"GP_Start_None", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        gcWindow_GameStart* start = c.keep == 99 ? shipped : LoadVariant(c.name, c.keep);
        ASSERT_NE(start, nullptr);
        const std::wstring before = LabelText(start, 3);
        const std::set<std::wstring> shown = TipsShown(start, 200);
        if (c.keep == 99) {
            EXPECT_EQ(shown, all);
        } else if (c.keep == 1) {
            EXPECT_EQ(shown, std::set<std::wstring>{Text(start->settings.Find("0")->text)});
        } else {
            EXPECT_EQ(shown, std::set<std::wstring>{before});
        }
    }
}

// The start window pauses the level and shows its number; hiding it resumes the level unless
// another window that pauses the level is still shown.
TEST_F(IngameStartScene, HidingResumesOnlyWithoutAnotherPausingWindow) {
    const struct {
        const char* label;
        const char* other;
        bool pausedAfter;
    } cases[] = {
        {"alone", nullptr, false},
        {"under the pause menu", "GP_Menu", true},
        {"with a trophy", "Trophy_Get", true},
        {"with the shop", "Shop", true},
        {"beside a plain screen", "Options", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(Root().StartLevel("pack01.b"));
        Settle();
        ASSERT_TRUE(Shown("GP_Start"));
        EXPECT_TRUE(Board().IsPaused());
        EXPECT_EQ(LabelText(Start(), 2), L"Level 2");
        if (c.other != nullptr) {
            Windows().ShowWindow(c.other, false);
            Settle();
        }
        Start()->OnButton(1);
        Settle();
        EXPECT_FALSE(Shown("GP_Start"));
        EXPECT_EQ(Board().IsPaused(), c.pausedAfter);
        if (c.other != nullptr) Windows().FindWindow(c.other)->Hide(true);
        Root().CloseGameplay();
        Settle();
    }
}

}  // namespace
