// Feeds arbitrary bytes to the level file reader as if they were a "levelNN.xml".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <pugixml.hpp>

#include "game/data/level_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pugi::xml_document document;
    if (!document.load_buffer(data, size)) return 0;
    gcLevelFile level;
    const bool read = gcReadLevelFile(document, level);
    const pugi::xml_node root = document.document_element();
    const pugi::xml_node settings = root.child("settings");

    // The whole file reads exactly when both of its parts do.
    gcLevelSettings alone;
    std::vector<int32_t> cells;
    const bool settingsRead = gcReadLevelSettings(settings, alone);
    const bool cellsRead = gcReadLevelCells(root.child("gElements"), cells);
    if (read != (settingsRead && cellsRead)) std::abort();
    if (!read) return 0;

    // A readable file has its three sprites, and one type per element child of "gElements".
    if (!level.settings.blockSprite || !level.settings.selectionYesSprite || !level.settings.selectionNoSprite)
        std::abort();
    if (level.settings.blockSprite.parent() != settings) std::abort();
    size_t elements = 0;
    for (const pugi::xml_node& child : root.child("gElements").children())
        if (child.type() == pugi::node_element) ++elements;
    if (level.cellTypes.size() != elements || level.cellTypes != cells) std::abort();
    const int32_t pictures = level.PictureCellCount();
    if (pictures < 0 || static_cast<size_t>(pictures) > level.cellTypes.size()) std::abort();
    return 0;
}
