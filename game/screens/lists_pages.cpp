#include "game/screens/lists_pages.h"

#include <pugixml.hpp>

#include "engine/core/conversions.h"
#include "engine/gui/gui_label.h"
#include "engine/gui/gui_page_number.h"
#include "engine/gui/gui_root.h"
#include "engine/windows/pages.h"
#include "game/app/context.h"
#include "game/data/pack.h"
#include "game/screens/lists_access.h"

namespace ListScreens {

int32_t PageNumberId(const pugi::xml_node& root) {
    const pugi::xml_attribute gui = root.child("pages").attribute("gui");
    return gui ? QRV::AsciiToInt(gui.as_string()) : 0;
}

void LoadListLayout(JCPages& pages, const pugi::xml_node& root) {
    const pugi::xml_attribute file = root.child("pages").attribute("file");
    if (!file) return;
    pages.LoadFromFile(file.as_string());
    pages.slideEffect.enabled = TouchPlatform() && pages.pagingEnabled != 0 ? 1 : 0;
}

void BorrowPacks(JCPages& pages, int32_t kind) {
    gcContext* context = Context();
    if (context == nullptr) return;
    for (JCPack* pack : context->packs.GetKindList(kind)) pages.BorrowItem(pack);
}

void AttachPageNumber(JCPages& pages, QRV::JC_GUI_OBJECT* rootObject, int32_t id) {
    if (rootObject == nullptr || id <= 0) return;
    if (auto* indicator = dynamic_cast<JCGUI_PageNumber*>(rootObject->FindChildById(id)))
        pages.SetPageNumberWidget(indicator);
}

void UpdatePackCards(JCPages& pages) {
    bool closedSeen = false;
    for (size_t i = 0; i < pages.items.size(); ++i) {
        JCPagesItem& item = *pages.items[i];
        const bool open = ItemInt(item, "is_open") != 0;
        ShowItemControl(item, "gui_active", false);
        ShowItemControl(item, "gui_open", open);
        ShowItemControl(item, "gui_close", !open);
        if (!open && !closedSeen) {
            // Only the first closed one marks the one before it.
            closedSeen = true;
            if (i > 0) ShowItemControl(*pages.items[i - 1], "gui_active", true);
        }
        if (open) {
            if (const auto* pack = dynamic_cast<const JCPack*>(&item)) {
                const uint32_t most = kLevelMostStars * static_cast<uint32_t>(pack->GetLevelCount());
                SetItemLabel(item, "gui_score", QRV::UIntToWString(pack->GetStars()) + L"/" + QRV::UIntToWString(most));
            }
        }
        // The requirement stands on every card: the closed ones are where it is needed.
        SetItemLabel(item, "gui_required", QRV::Utf8ToWide(ItemText(item, "condition_to_pass")));
    }
}

void SetCurrentPageOnly(JCPages& pages, bool only) {
    pages.currentPageOnly = only ? 1 : 0;
    pages.RebuildPageGui();
}

bool ItemControl(const JCPagesItem& item, const char* key, int32_t& id) {
    const JSProperty* property = item.GetProperty(key);
    if (property == nullptr) return false;
    id = property->intValue;
    return true;
}

void ShowItemControl(JCPagesItem& item, const char* key, bool visible) {
    int32_t id = 0;
    if (ItemControl(item, key, id)) item.SetChildVisible(id, visible);
}

void SetItemLabel(JCPagesItem& item, const char* key, const std::wstring& text) {
    int32_t id = 0;
    if (!ItemControl(item, key, id) || item.gui == nullptr) return;
    if (auto* label = dynamic_cast<QRV::JC_GUI_WLABEL*>(item.gui->rootObject->FindChildById(id))) label->SetText(text);
}

int32_t ItemInt(const JCPagesItem& item, const char* key) {
    const JSProperty* property = item.GetProperty(key);
    return property != nullptr ? property->intValue : 0;
}

std::string ItemText(const JCPagesItem& item, const char* key) {
    const JSProperty* property = item.GetProperty(key);
    return property != nullptr ? property->text : std::string();
}

}  // namespace ListScreens
