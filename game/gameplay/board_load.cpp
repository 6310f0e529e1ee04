#include "game/gameplay/board_load.h"

#include "engine/resources/resource_loaders.h"
#include "game/data/level_file.h"
#include "game/gameplay/elements_layout.h"
#include "game/gameplay/process.h"

bool gcLoadBoard(const pugi::xml_document& level, gcElementsLayout& layout, gcProcess& process,
                 const pugi::xml_node& numbersStyle, const gcDecorationLoad& decoration) {
    const pugi::xml_node root = level.document_element();
    gcLevelFile file;
    // A level that carries its own clue style (made for its cell size) uses it.
    const bool loaded = gcReadLevelFile(level, file) && layout.Load(file.settings) &&
                        process.Load(file.cellTypes, file.settings.numbersStyle ? file.settings.numbersStyle
                                                                                 : numbersStyle) &&
                        (!decoration || decoration(root));
    if (!loaded) {
        process.Reset();
        layout.Reset();
    }
    return loaded;
}

gcBoardLoadResult gcLoadBoard(const std::string& levelKey, gcElementsLayout& layout, gcProcess& process,
                              const pugi::xml_node& numbersStyle, const gcDecorationLoad& decoration) {
    const pugi::xml_document* level = QRV::AcquireXmlResource(levelKey);
    if (level == nullptr) {
        process.Reset();
        layout.Reset();
        return gcBoardLoadResult::MissingFile;
    }
    const bool loaded = gcLoadBoard(*level, layout, process, numbersStyle, decoration);
    gcLevelFile file;
    const bool tooLarge = !loaded && gcReadLevelFile(*level, file) && !gcBoardFitsScreen(file.settings);
    QRV::ReleaseXml(level);
    if (loaded) return gcBoardLoadResult::Loaded;
    return tooLarge ? gcBoardLoadResult::TooLarge : gcBoardLoadResult::Refused;
}
