// The GUI widgets' content in one folder repository (theme: kGuiFolder): every texture by file
// name, written with the GUI fonts (font_content.h).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/content_builder/output_tree.h"
#include "tools/content_builder/texture_png.h"

namespace ContentBuilder {

// Every widget texture, by file name, in a fixed order.
std::vector<std::pair<std::string, TextureImage>> DrawGuiTextures();

void BuildGuiTextures(OutputTree& out);

}  // namespace ContentBuilder
