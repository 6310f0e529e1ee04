#include "engine/windows/window.h"
#include "game/app/context.h"
#include "game/app/game.h"

namespace {

// Each list with its title.
constexpr const char* kLists[][2] = {
    {"Packs", "Pack_Title"}, {"Levels", "Level_Title"}, {"Tutorial", "Tutorial_Title"}, {"Trophy", "Trophy_Title"}};
// The bars beside the menu lists.
constexpr const char* kLevelBars[] = {"Sumie", "Stars", "Heart", "Sidebar"};

}  // namespace

void gcGame::CloseGameplay() {
    if (gameplay.IsRunning()) {
        ExecuteCommand("gameplay::close");
        gameplay.Deactivate();
    }
    ShowBanner();
    for (const char* name : {"Back", "Sidebar", "Sumie", "Stars", "Heart"})
        context.windowManager.ShowWindow(name, true);
}

void gcGame::HideListScreensExcept(const std::string& listName) {
    for (const auto& pair : kLists) {
        if (listName == pair[0]) continue;
        HideShown(pair[1], false);
        HideShown(pair[0], false);
    }
}

void gcGame::HideMenuBars() {
    for (const char* name : {"Back", "Sumie", "Stars", "Heart", "Sidebar"}) HideShown(name, true);
}

JCWindow* gcGame::HideLevelScreens(Closure<void()> callback) {
    for (const char* name : {"Back", "Level_Title", "Levels"}) HideShown(name, true);
    JCWindow* receiver = nullptr;
    for (const char* name : kLevelBars) {
        JCWindow* bar = context.windowManager.FindShownWindow(name);
        if (bar == nullptr) continue;
        if (receiver == nullptr) {
            receiver = bar;
            bar->cbHidden = callback;
        }
        bar->Hide(true);
    }
    if (receiver == nullptr && callback) callback();
    return receiver;
}

void gcGame::StartGame() {
    ShowAd("start_game");
    HideListScreensExcept("Packs");
    CloseGameplay();
    context.windowManager.ShowWindow("Pack_Title", true);
    context.windowManager.ShowWindow("Packs", true);
}

void gcGame::ShowLevels(bool instant) {
    HideListScreensExcept("Levels");
    CloseGameplay();
    context.windowManager.ShowWindow("Level_Title", instant);
    context.windowManager.ShowWindow("Levels", instant);
}

void gcGame::ShowTrophies() {
    HideListScreensExcept("Trophy");
    CloseGameplay();
    context.windowManager.ShowWindow("Trophy", false);
}

void gcGame::ShowTutorialList() {
    HideListScreensExcept("Tutorial");
    CloseGameplay();
    context.windowManager.ShowWindow("Tutorial", false);
}
