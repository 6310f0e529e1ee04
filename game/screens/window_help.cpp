#include "game/screens/window_help.h"

#include <pugixml.hpp>

#include "engine/core/conversions.h"
#include "engine/gui/gui_page_number.h"
#include "engine/gui/gui_root.h"
#include "game/app/context.h"
#include "game/app/global.h"

gcWindow_Help::gcWindow_Help() = default;

gcWindow_Help::~gcWindow_Help() = default;

void gcWindow_Help::LoadAttributes(const pugi::xml_node& root) {
    const pugi::xml_node node = root.child("pages");
    const char* file = node.attribute("file").as_string();
    if (!node || *file == '\0') return;
    pages = new JCPages();
    pages->delegate = this;
    windowBots.Add(pages);
    pages->LoadFromFile(file);
    // Drags turn the pages only on touch platforms; elsewhere the indicator does.
    pages->slideEffect.enabled = gcGlobal::Instance().CheckPlatform() && pages->pagingEnabled != 0 ? 1 : 0;
    int32_t id = 0;
    if (QRV::ParseInt(node.attribute("gui").as_string(), id)) pageNumberId = id;
}

void gcWindow_Help::OnGuiLoaded(QRV::JC_GUI_OBJECT* rootObject) {
    if (pages == nullptr || pageNumberId <= 0 || rootObject == nullptr) return;
    pages->SetPageNumberWidget(dynamic_cast<JCGUI_PageNumber*>(rootObject->FindChildById(pageNumberId)));
}

void gcWindow_Help::OnButton(int32_t id) {
    if (id == kClose) Hide(false);
}

JCPagesItem* gcWindow_Help::CreateItem(const pugi::xml_node& element, int32_t index) {
    gcContext* context = gcGlobal::Instance().GetContext();
    return new JCPagesItem(element, index, context != nullptr ? &context->stringTable : nullptr);
}
