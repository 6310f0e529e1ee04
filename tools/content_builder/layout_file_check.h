// Checks of whole authored files: a window description, the window list and a paged-grid
// layout, against what the window base, the window manager, the standard windows and the paged
// grid read. Widget trees inside them go through widget_check.h.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "tools/content_builder/widget_check.h"

namespace ContentBuilder {

// A window file: root attributes, "GUI", "background", "bots", "sounds" and "settings", and the
// controls that the standard windows bind by id.
LayoutProblems CheckWindowFile(const pugi::xml_document& document, const LayoutReferences& refs);

// A window list: every child element names a window file by resource key in "file"; `isWindow`
// answers whether a key names a checked window file. The keys are appended to `listed` in order.
LayoutProblems CheckWindowList(const pugi::xml_document& document,
                               const std::function<bool(std::string_view key)>& isWindow,
                               std::vector<std::string>& listed);

// A paged-grid layout ("pages.xml"): the grid attributes and one element per item with its
// "size", "GUI" and "property".
LayoutProblems CheckPagesLayout(const pugi::xml_document& document, const LayoutReferences& refs);

// Whether the window type is one the engine's registry or the game's factory makes.
bool IsKnownWindowType(std::string_view type);

}  // namespace ContentBuilder
