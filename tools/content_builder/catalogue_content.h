// The game catalogues: the store, the trophies, the in-app products and the advertising networks.
// Written by hand under content/catalogues/ (theme: kCatalogueSource), checked against the rules
// the game's readers impose and against the content built so far (string keys, textures), and
// copied as they stand to kCatalogueFolder. Draws the medals and shop icons they name first.
#pragma once

#include <string>

#include "tools/content_builder/output_tree.h"

namespace ContentBuilder {

// Throws std::runtime_error listing every fault as "<source file>:<line>: <what>"; nothing is
// copied then. Needs the string table source; run after everything else that textures may name.
void BuildCatalogueContent(const std::string& contentDir, OutputTree& out);

}  // namespace ContentBuilder
