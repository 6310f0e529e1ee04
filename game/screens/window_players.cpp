#include "game/screens/window_players.h"

#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_listbox.h"
#include "engine/windows/window_manager.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/data/player_manager.h"
#include "game/screens/player_prompt.h"
#include "game/screens/title_screen_names.h"
#include "game/screens/window_confirm_ex.h"

using namespace QRV;

namespace {

template <class Widget>
Widget* Bind(JC_GUI_OBJECT* rootObject, int32_t id, int32_t kind) {
    JC_GUI_OBJECT* widget = rootObject != nullptr ? rootObject->FindChildById(id) : nullptr;
    return widget != nullptr && widget->kind == kind ? dynamic_cast<Widget*>(widget) : nullptr;
}

void SetButton(JC_GUI_BUTTON5* button, bool enabled) {
    if (button != nullptr) button->SetEnabled(enabled);
}

}  // namespace

gcWindow_Players::~gcWindow_Players() = default;

JCWindow* gcWindow_Players::Create() { return new gcWindow_Players(); }

void gcWindow_Players::OnGuiLoaded(JC_GUI_OBJECT* rootObject) {
    list = Bind<JC_GUI_LISTBOX>(rootObject, 4, GUI_KIND::ListBox);
    newButton = Bind<JC_GUI_BUTTON5>(rootObject, 5, GUI_KIND::Button5);
    deleteButton = Bind<JC_GUI_BUTTON5>(rootObject, 6, GUI_KIND::Button5);
}

void gcWindow_Players::OnShowStarted() {
    Fill();
    SelectCurrent();
    UpdateButtons();
}

void gcWindow_Players::Fill() {
    const gcContext* context = ProfileScreensContext();
    if (list == nullptr) return;
    list->Clear();
    if (context == nullptr) return;
    for (const std::wstring& name : context->playerManager.GetNames()) list->AddItem(name);
}

void gcWindow_Players::SelectCurrent() {
    const gcContext* context = ProfileScreensContext();
    if (list == nullptr || context == nullptr || context->playerManager.GetPlayerCount() == 0) return;
    const JCPlayer* current = context->playerManager.GetCurrentPlayer();
    list->SelectByText(current != nullptr ? current->GetName() : std::wstring(list->GetFirstItemText()));
}

void gcWindow_Players::UpdateButtons() {
    if (list == nullptr) return;
    SetButton(deleteButton, list->GetSelectedText() != nullptr);
    SetButton(newButton, list->GetRowCount() < list->GetMaxRows());
}

void gcWindow_Players::OnButton(int32_t id) {
    gcContext* context = ProfileScreensContext();
    if (manager == nullptr || context == nullptr) return;
    switch (id) {
        case 5: AskPlayerName(*manager, context->playerManager, MakeClosure<&gcWindow_Players::OnNewName>(this)); break;
        case 6: {
            const wchar_t* selected = list != nullptr ? list->GetSelectedText() : nullptr;
            if (selected == nullptr) break;
            pendingDelete = selected;
            auto* confirm =
                dynamic_cast<gcWindow_ConfirmEx*>(manager->FindWindow(std::string(Game::ui::kPlayersConfirmDel)));
            if (confirm == nullptr) break;
            confirm->SetExtraText(pendingDelete);
            // Yes alone deletes: "no" and close answer 0 here, and the second callback, which
            // would hear "no" as -1, is emptied.
            confirm->cbAnswer = MakeClosure<&gcWindow_Players::OnDeleteAnswer>(this);
            confirm->cbSecondAnswer = {};
            manager->ShowWindow(confirm->name, false);
            break;
        }
        case 8: {
            const wchar_t* selected = list != nullptr ? list->GetSelectedText() : nullptr;
            const std::wstring chosen = selected != nullptr ? selected : L"";
            Hide(false);
            if (selected != nullptr) context->playerManager.SelectPlayerByName(chosen);
            break;
        }
        default: break;
    }
}

void gcWindow_Players::OnNewName(int32_t answer, std::wstring name) {
    gcContext* context = ProfileScreensContext();
    if (answer <= 0 || context == nullptr || !context->game) return;
    if (context->game->CreatePlayer(name) == nullptr) return;
    Fill();
    if (list != nullptr) list->SelectByText(name);
    UpdateButtons();
    Save();
}

void gcWindow_Players::OnDeleteAnswer(int32_t answer) {
    gcContext* context = ProfileScreensContext();
    const std::wstring name = pendingDelete;
    pendingDelete.clear();
    if (answer != 1 || context == nullptr) return;
    if (!context->playerManager.RemovePlayer(name)) return;
    Fill();
    SelectCurrent();
    UpdateButtons();
    Save();
}

void gcWindow_Players::Save() {
    gcContext* context = ProfileScreensContext();
    if (context != nullptr && context->game) context->game->Save();
}

void gcWindow_Players::OnHidden() {
    if (manager == nullptr) return;
    // A deletion may have left no player current, which no selection reports.
    if (JCWindow* top = manager->FindWindow(std::string(Game::ui::kTitleTop))) top->Refresh();
    manager->ShowWindow(std::string(Game::ui::kTitle), false);
}
