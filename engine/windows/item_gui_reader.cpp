#include "engine/windows/item_gui_reader.h"

#include <pugixml.hpp>

#include "engine/gui/gui_root.h"
#include "engine/resources/string_table.h"

// LAYOUT READER CALL SITE: until the GUI layout reader is in engine/gui, an item's "GUI" element
// builds no widgets (the tree stays empty). Once it is there this becomes:
//     QRV::BuildGuiChildren(&root, guiElement);
//     if (table != nullptr) QRV::LocaliseGuiTree(root.rootObject, table);
void ReadItemGui(QRV::JC_GUI_ROOT& root, const pugi::xml_node& guiElement, const QRV::JC_STRING_TABLE* table) {
    (void)guiElement;
    (void)table;
    root.RebuildLevels();
}
