#include "game/screens/window_level.h"

#include <pugixml.hpp>

#include <cstdio>

#include "engine/core/conversions.h"
#include "engine/graphics/animation.h"
#include "engine/gui/gui_image.h"
#include "engine/gui/gui_label.h"
#include "engine/gui/gui_root.h"
#include "engine/resources/repository_manager.h"
#include "engine/windows/window_confirm.h"
#include "engine/windows/window_manager.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/data/game_player.h"
#include "game/data/pack.h"
#include "game/screens/lists_access.h"
#include "game/screens/lists_pages.h"

namespace {

// Waits on the fade, which still covers the screen, until the menus that a failed start hid
// have finished hiding (a window shown while it hides stays hidden), then brings the level list
// back and lets the fade go.
class ListReturn : public QRV::JC_BASE {
public:
    int32_t Message(int32_t messageId, float, float, float, void*) override {
        if (messageId != QRV::MSG::Tick) return 0;
        JCWindowManager* windows = ListScreens::Windows();
        if (windows == nullptr) return QRV::MSG_RESULT::Finished;
        for (const char* name : {"Back", "Level_Title", "Levels", "Sumie", "Stars", "Heart", "Sidebar"}) {
            const JCWindow* window = windows->FindShownWindow(name);
            if (window != nullptr && window->IsHiding()) return 0;
        }
        if (gcGame* game = ListScreens::Game()) game->ShowLevels(false);
        ListScreens::HideShown("Fade_Transition", false);
        return QRV::MSG_RESULT::Finished;
    }
};

// Every loaded window lets its resources go, a shown one when it has hidden; then the cache is
// swept.
void ReleaseWindowResources() {
    JCWindowManager* windows = ListScreens::Windows();
    if (windows == nullptr) return;
    for (JCWindow* window : windows->Windows()) {
        if (window->loaded == 0) continue;
        if (window->shown != 0) {
            window->unloadPending = 1;
        } else {
            window->UnloadResources(false);
        }
    }
    QRV::SweepUnusedResources();
}

// The heading above the list names the pack: its "title" text, shown on label 101 of "Level_Title".
constexpr int32_t kHeadingLabel = 101;

void NameThePackInTheHeading(const JCPack& pack) {
    const JSProperty* title = pack.GetProperty("title");
    JCWindow* window = ListScreens::FindWindow("Level_Title");
    gcContext* context = ListScreens::Context();
    if (title == nullptr || title->text.empty() || window == nullptr || window->gui == nullptr || context == nullptr)
        return;
    auto* label = dynamic_cast<QRV::JC_GUI_WLABEL*>(window->gui->rootObject->FindChildById(kHeadingLabel));
    if (label != nullptr) label->SetText(context->stringTable.GetWide(title->text));
}

}  // namespace

using namespace ListScreens;

gcWindow_Level::gcWindow_Level() = default;

gcWindow_Level::~gcWindow_Level() {
    if (pages == nullptr) return;
    ReleasePages();
}

JCWindow* gcWindow_Level::Create() { return new gcWindow_Level(); }

void gcWindow_Level::LoadSettings(const pugi::xml_node& node) { settings.Load(node); }

JCPagesItem* gcWindow_Level::CreateItem(const pugi::xml_node&, int32_t) { return nullptr; }

void gcWindow_Level::OnShowBegin() {
    starting = false;
    JCPack* pack = CurrentPack();
    if (pack == nullptr || JCPack::IsDefault(pack)) return;
    NameThePackInTheHeading(*pack);
    if (pages != nullptr) ReleasePages();
    pages = &pack->GetPages();
    pages->delegate = this;
    if (const JSProperty* id = settings.Find("gui_pagination"); id != nullptr && gui != nullptr)
        AttachPageNumber(*pages, gui->rootObject, id->intValue);
    pages->LoadResources();
    SetCurrentPageOnly(*pages, true);
    UpdateItems();
    AddBorrowedBot(pages);
}

void gcWindow_Level::OnShown() {
    if (pages != nullptr) SetCurrentPageOnly(*pages, false);
}

void gcWindow_Level::OnHideBegin() {
    HideShown("Level_Title", false);
    if (pages != nullptr) SetCurrentPageOnly(*pages, true);
}

void gcWindow_Level::OnHidden() {
    if (pages != nullptr) ReleasePages();
}

void gcWindow_Level::ReleasePages() {
    RemoveBorrowedBot(pages);
    pages->UnloadResources();
    if (pages->delegate == this) pages->delegate = nullptr;
    // The indicator is this window's widget.
    pages->SetPageNumberWidget(nullptr);
    pages = nullptr;
}

void gcWindow_Level::Refresh() { UpdateItems(); }

void gcWindow_Level::UpdateItems() {
    if (pages == nullptr) return;
    bool closedSeen = false;
    for (size_t i = 0; i < pages->items.size(); ++i) {
        JCPagesItem& item = *pages->items[i];
        const bool open = ItemInt(item, "is_open") != 0;
        ShowItemControl(item, "gui_open", open);
        ShowItemControl(item, "gui_number", open);
        ShowItemControl(item, "gui_close", !open);
        ShowItemControl(item, "gui_active", false);
        if (!open && !closedSeen) {
            // Only the first closed one marks the one before it.
            closedSeen = true;
            if (i > 0) ShowItemControl(*pages->items[i - 1], "gui_active", true);
        }
        const JSProperty* number = item.GetProperty("number");
        SetItemLabel(item, "gui_number", QRV::UIntToWString(number != nullptr ? number->uintValue : 0));
        int32_t starBase = 0;
        if (!ItemControl(item, "gui_star", starBase) || item.gui == nullptr) continue;
        const uint32_t stars = LevelStars(item);
        for (uint32_t k = 0; k < kLevelMostStars; ++k) {
            auto* star = dynamic_cast<QRV::JC_GUI_IMAGE*>(
                item.gui->rootObject->FindChildById(starBase + static_cast<int32_t>(k)));
            if (star == nullptr || star->sprite == nullptr) continue;
            // The texture holds the empty star in its left half and the won star in its right.
            if (k < stars) {
                star->sprite->SetUVs(0.5f, 0.0f, 1.0f, 1.0f);
            } else {
                star->sprite->SetUVs(0.0f, 0.0f, 0.5f, 1.0f);
            }
        }
    }
}

void gcWindow_Level::OnItemClick(JCPagesItem* item) {
    if (item == nullptr || starting) return;
    const JCPack* pack = CurrentPack();
    if (pack == nullptr) return;
    JCWindowManager* windows = Windows();
    if (windows == nullptr) return;
    if (pack->GetKind() != kPackTutorial && EditionFlag("heart")) {
        const gcPlayer* player = CurrentPlayer();
        if (player == nullptr) return;
        if (player->GetHealth().GetCount() < 1) {
            if (auto* offer = dynamic_cast<JCWindow_Confirm*>(windows->ShowWindow("confirm_health_is_empty", false))) {
                offer->cbAnswer = MakeClosure<&gcWindow_Level::OnHealthAnswer>(this);
                offer->cbSecondAnswer = {};
            }
            return;
        }
    }
    if (ItemInt(*item, "is_open") == 0) return;
    clickedLevel = ItemText(*item, "name");
    JCWindow* fade = windows->ShowWindow("Fade_Transition", false);
    if (fade == nullptr) {
        OnFadeShown();
        return;
    }
    starting = true;
    fade->cbShown = MakeClosure<&gcWindow_Level::OnFadeShown>(this);
}

void gcWindow_Level::OnHealthAnswer(int32_t answer) {
    if (answer == 1) ShowNamed("Shop", false);
}

void gcWindow_Level::OnFadeShown() {
    if (JCWindow* fade = FindWindow("Fade_Transition")) fade->cbShown = {};
    gcGame* game = Game();
    if (game == nullptr) {
        starting = false;
        return;
    }
    starting = true;
    startReceiver = nullptr;
    JCWindow* receiver = game->HideLevelScreens(MakeClosure<&gcWindow_Level::OnScreensHidden>(this));
    // A start that already ran (no bar was shown) needs no receiver.
    if (starting) startReceiver = receiver;
}

void gcWindow_Level::OnScreensHidden() {
    starting = false;
    // Only the window that held the start: another's callback is not ours to clear.
    if (startReceiver != nullptr) startReceiver->cbHidden = {};
    startReceiver = nullptr;
    gcGame* game = Game();
    const bool started = game != nullptr && game->StartLevel(clickedLevel);
    if (!started) {
        std::fprintf(stderr, "quorvel: the level %s did not start\n", clickedLevel.c_str());
        if (JCWindow* fade = FindWindow("Fade_Transition"); fade != nullptr && fade->shown != 0) {
            fade->windowBots.Add(new ListReturn());
        } else if (game != nullptr) {
            game->ShowLevels(false);
        }
        return;
    }
    HideShown("Fade_Transition", false);
    ReleaseWindowResources();
}
