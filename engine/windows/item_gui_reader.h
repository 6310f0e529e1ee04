#pragma once
// The one place where a page item's widget tree is read from its layout: the "GUI" element built
// by the GUI layout reader, then its labels localised when a string table is given.

namespace pugi {
class xml_node;
}

namespace QRV {
class JC_GUI_ROOT;
class JC_STRING_TABLE;
}  // namespace QRV

void ReadItemGui(QRV::JC_GUI_ROOT& root, const pugi::xml_node& guiElement, const QRV::JC_STRING_TABLE* table);
