#include "game/screens/window_pack_tutorial.h"

#include "game/app/context.h"
#include "game/app/game.h"
#include "game/data/pack.h"
#include "game/screens/lists_access.h"
#include "game/screens/lists_pages.h"

using namespace ListScreens;

gcWindow_PackTutorial::gcWindow_PackTutorial() {
    pages.delegate = this;
    AddBorrowedBot(&pages);
}

gcWindow_PackTutorial::~gcWindow_PackTutorial() {
    RemoveBorrowedBot(&pages);
    pages.delegate = nullptr;
}

JCWindow* gcWindow_PackTutorial::Create() { return new gcWindow_PackTutorial(); }

void gcWindow_PackTutorial::LoadAttributes(const pugi::xml_node& root) {
    pageNumberId = PageNumberId(root);
    LoadListLayout(pages, root);
    BorrowPacks(pages, kPackTutorial);
}

void gcWindow_PackTutorial::OnGuiLoaded(QRV::JC_GUI_OBJECT* rootObject) {
    AttachPageNumber(pages, rootObject, pageNumberId);
}

JCPagesItem* gcWindow_PackTutorial::CreateItem(const pugi::xml_node&, int32_t) { return nullptr; }

void gcWindow_PackTutorial::OnShowBegin() {
    ShowNamed("Tutorial_Title", false);
    UpdatePackCards(pages);
}

void gcWindow_PackTutorial::OnShown() { SetCurrentPageOnly(pages, false); }

void gcWindow_PackTutorial::Refresh() { UpdatePackCards(pages); }

void gcWindow_PackTutorial::OnHideBegin() {
    SetCurrentPageOnly(pages, true);
    HideShown("Tutorial_Title", false);
}

void gcWindow_PackTutorial::OnItemClick(JCPagesItem* item) {
    if (item == nullptr) return;
    Hide(false);
    gcContext* context = Context();
    if (context == nullptr) return;
    context->packs.SelectPack(ItemText(*item, "name"));
    if (gcGame* game = Game()) game->ShowLevels(false);
}
