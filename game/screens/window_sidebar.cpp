#include "game/screens/window_sidebar.h"

#include "engine/gui/gui_root.h"
#include "engine/windows/window_manager.h"
#include "game/app/game.h"
#include "game/data/pack.h"
#include "game/screens/lists_access.h"

namespace {

constexpr int32_t kButtonPacks = 2;
constexpr int32_t kButtonTrophies = 3;
constexpr int32_t kButtonOptions = 4;
constexpr int32_t kButtonBack = 5;
constexpr int32_t kButtonShop = 6;
constexpr int32_t kButtonTutorials = 8;
constexpr int32_t kButtonOfferwall = 9;

// Every list and its title, in the order they are closed.
constexpr const char* kListScreens[] = {"Pack_Title",     "Packs",    "Level_Title",  "Levels",
                                        "Tutorial_Title", "Tutorial", "Trophy_Title", "Trophy"};

}  // namespace

using namespace ListScreens;

gcWindow_Sidebar::gcWindow_Sidebar() {
    if (JCWindow* levels = FindWindow("Levels")) {
        levels->cbShowStarted = MakeClosure<&gcWindow_Sidebar::OnLevelsShowStarted>(this);
        levels->cbHideStarted = MakeClosure<&gcWindow_Sidebar::OnLevelsHideStarted>(this);
    }
}

gcWindow_Sidebar::~gcWindow_Sidebar() = default;

JCWindow* gcWindow_Sidebar::Create() { return new gcWindow_Sidebar(); }

void gcWindow_Sidebar::SetBackShown(bool shown) {
    if (!TouchPlatform() || gui == nullptr) return;
    if (QRV::JC_GUI_OBJECT* back = gui->rootObject->FindChildById(kButtonBack)) {
        back->SetEnabled(shown);
        back->SetVisible(shown);
    }
}

void gcWindow_Sidebar::OnLevelsShowStarted() { SetBackShown(true); }

void gcWindow_Sidebar::OnLevelsHideStarted() { SetBackShown(false); }

void gcWindow_Sidebar::OnShowStarted() { SetBackShown(false); }

void gcWindow_Sidebar::CloseListScreens(bool instant) {
    for (const char* name : kListScreens) HideShown(name, instant);
}

void gcWindow_Sidebar::OnButton(int32_t id) {
    gcGame* game = Game();
    switch (id) {
        case kButtonPacks:
            if (IsShown("Packs")) return;
            if (EditionFlag("free") && IsShown("Levels") && game != nullptr) game->ShowAd("from_levels_to_packs");
            CloseListScreens(false);
            ShowNamed("Packs", false);
            return;
        case kButtonTrophies:
            if (IsShown("Trophy")) return;
            CloseListScreens(false);
            if (game != nullptr) game->ShowTrophies();
            return;
        case kButtonOptions: ShowNamed("Options", false); return;
        case kButtonBack: OnBack(); return;
        case kButtonShop: ShowNamed("Shop", false); return;
        case kButtonTutorials:
            if (IsShown("Tutorial")) return;
            CloseListScreens(false);
            if (game != nullptr) game->ShowTutorialList();
            return;
        case kButtonOfferwall: ShowNamed("Offerwall", false); return;
        default: return;
    }
}

void gcWindow_Sidebar::OnBack() {
    if (JCWindowManager* windows = Windows(); windows != nullptr) {
        if (JCWindow* levels = windows->FindShownWindow("Levels")) {
            levels->Hide(false);
            const JCPack* pack = CurrentPack();
            ShowNamed(pack != nullptr && pack->GetKind() != kPackOrdinary ? "Tutorial" : "Packs", false);
            return;
        }
    }
    if (TouchPlatform()) return;
    if (JCWindow* fade = ShowNamed("Fade_Transition", false)) {
        fade->cbShown = MakeClosure<&gcWindow_Sidebar::OnFadeToTitle>(this);
    }
}

void gcWindow_Sidebar::OnFadeToTitle() {
    CloseListScreens(true);
    if (gcGame* game = Game()) game->HideMenuBars();
    ShowNamed("Title", false);
    if (JCWindow* fade = FindWindow("Fade_Transition")) {
        fade->Hide(false);
        fade->cbShown = {};
    }
}
