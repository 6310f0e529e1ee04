#pragma once
// Shared steps of the list windows around their paged grid: the "pages" child of a window file
// ("file": the grid layout, "gui": the id of the page indicator), the cards of one pack kind, and
// the looks of a card or level tile by the control ids its "gui_*" properties name.

#include <cstdint>
#include <string>

namespace pugi {
class xml_node;
}
namespace QRV {
class JC_GUI_OBJECT;
}
class JCPages;
class JCPagesItem;

namespace ListScreens {

// The "pages" child's "gui" attribute as a control id; 0 (no indicator) without one.
int32_t PageNumberId(const pugi::xml_node& root);
// Loads the grid from the "pages" child's "file" (nothing without one); drags turn its pages
// only on the touch platforms while the indicator drives the slide.
void LoadListLayout(JCPages& pages, const pugi::xml_node& root);
// Lends every pack of the kind to the grid, in catalogue order (the catalogue keeps them).
void BorrowPacks(JCPages& pages, int32_t kind);
// Attaches the page indicator of that id when the window holds one.
void AttachPageNumber(JCPages& pages, QRV::JC_GUI_OBJECT* rootObject, int32_t id);
// The pack cards of a list: "gui_open" or "gui_close" by the pack's "is_open", "gui_active" on the
// card before the first closed one, an open card's "gui_score" its stars (JCPack::GetStars) over
// three per level, and every card's "gui_required" its "condition_to_pass".
void UpdatePackCards(JCPages& pages);
// The current-page-only flag set or cleared, then the page GUI rebuilt.
void SetCurrentPageOnly(JCPages& pages, bool only);

// The control id an item's property names ("gui_open", ...); false when absent.
bool ItemControl(const JCPagesItem& item, const char* key, int32_t& id);
// The control of that property shown or hidden; nothing when either is missing.
void ShowItemControl(JCPagesItem& item, const char* key, bool visible);
// The text of the label that property names; nothing when it is missing or no label.
void SetItemLabel(JCPagesItem& item, const char* key, const std::wstring& text);
// An integer property of the item (0 when absent).
int32_t ItemInt(const JCPagesItem& item, const char* key);
std::string ItemText(const JCPagesItem& item, const char* key);

}  // namespace ListScreens
