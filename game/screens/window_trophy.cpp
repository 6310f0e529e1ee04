#include "game/screens/window_trophy.h"

#include <pugixml.hpp>

#include <string>

#include "engine/gui/gui_page_number.h"
#include "engine/windows/window_manager.h"
#include "game/app/context.h"
#include "game/app/global.h"
#include "game/screens/trophy_item.h"

namespace {

constexpr const char* kTitleWindow = "Trophy_Title";

}  // namespace

void gcWindow_Trophy::LoadAttributes(const pugi::xml_node& root) {
    const pugi::xml_node element = root.child("pages");
    if (!element) return;
    if (const pugi::xml_attribute gui = element.attribute("gui")) pageNumberId = gui.as_int(-1);
    const pugi::xml_attribute file = element.attribute("file");
    if (!file || std::string(file.value()).empty()) return;
    pages = new JCPages();
    pages->delegate = this;
    windowBots.Add(pages);
    pages->LoadFromFile(file.value());
    // Drags turn the pages only on the handheld editions, and only where the indicator drives them.
    pages->slideEffect.enabled = gcGlobal::Instance().CheckPlatform() && pages->pagingEnabled != 0 ? 1 : 0;
}

void gcWindow_Trophy::OnGuiLoaded(QRV::JC_GUI_OBJECT* rootObject) {
    if (pages == nullptr || rootObject == nullptr || pageNumberId < 0) return;
    if (auto* indicator = dynamic_cast<JCGUI_PageNumber*>(rootObject->FindChildById(pageNumberId)))
        pages->SetPageNumberWidget(indicator);
}

JCPagesItem* gcWindow_Trophy::CreateItem(const pugi::xml_node& element, int32_t index) {
    gcContext* context = gcGlobal::Instance().GetContext();
    if (context == nullptr) return nullptr;
    auto* item =
        new gcPagesItem_Trophy(element, index, &context->trophies, &context->stringTable, context->eventDispatcher);
    if (item->FindTrophy() == nullptr) {
        delete item;
        return nullptr;
    }
    return item;
}

void gcWindow_Trophy::SetCurrentPageOnly(bool only) {
    if (pages == nullptr) return;
    pages->currentPageOnly = only ? 1 : 0;
    pages->RebuildPageGui();
}

void gcWindow_Trophy::OnShowBegin() {
    if (manager != nullptr) manager->ShowWindow(kTitleWindow, false);
    SetCurrentPageOnly(true);
}

void gcWindow_Trophy::OnShown() { SetCurrentPageOnly(false); }

// The side bar hides the title.
void gcWindow_Trophy::OnHideBegin() { SetCurrentPageOnly(true); }

void gcWindow_Trophy::OnHidden() { SetCurrentPageOnly(false); }

void gcWindow_Trophy::Refresh() {
    if (pages != nullptr) pages->RefreshItems();
}

void gcWindow_Trophy::OnButton(int32_t) {}
