#pragma once
// A pack's level grid: the paged grid whose items are made as JCLevels (when no delegate makes
// them), so every item of a pack's "pages.xml" is a level.

#include "engine/windows/pages.h"
#include "game/data/level.h"

class JCLevelPages : public JCPages {
public:
    JCLevelPages() = default;

    // A new JCLevel for the element, its labels localised with the table.
    JCPagesItem* CreateItem(const pugi::xml_node& element, int32_t index) override;

    // The item at the index as a level; the default level for an index past the end or an item
    // that is not a level.
    JCLevel* LevelAt(size_t index) const;

    // Localises the labels of the items made from now on (null: texts stay keys).
    const QRV::JC_STRING_TABLE* stringTable = nullptr;
};
