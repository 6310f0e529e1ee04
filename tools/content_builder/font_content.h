// The game's bitmap fonts: one atlas and one description per font of the theme, rasterised from
// Debian's font files, and the font catalogue naming them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/content_builder/output_tree.h"
#include "tools/content_builder/string_table_source.h"

namespace ContentBuilder {

// Every font holds printable ASCII (so '?' and '|') and every character the string texts use,
// line breaks and tabs excepted. Ascending, no repeats.
std::vector<uint32_t> FontCodepoints(const std::vector<StringEntry>& strings);

// fonts.xml: root "catalogue", child "fonts" with one "font" per theme font (name, texture, xml).
std::string FontCatalogueXml();

// Reads the string table source for the glyph set, rasterises every font and writes the atlases,
// descriptions and catalogue to the font folder, and the GUI fonts (theme: kGuiFonts) to the GUI
// folder.
void BuildFonts(const std::string& contentDir, OutputTree& out);

}  // namespace ContentBuilder
