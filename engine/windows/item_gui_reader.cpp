#include "engine/windows/item_gui_reader.h"

#include <pugixml.hpp>

#include "engine/gui/gui_layout.h"
#include "engine/gui/gui_root.h"

void ReadItemGui(QRV::JC_GUI_ROOT& root, const pugi::xml_node& guiElement, const QRV::JC_STRING_TABLE* table) {
    BuildGuiChildren(&root, guiElement);
    LocaliseGuiTree(root.rootObject, table);
}
