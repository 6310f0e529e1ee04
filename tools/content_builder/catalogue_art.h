// The pictures the game catalogues name: the trophies' medals, earned and not yet earned (theme:
// kMedals, kMedal), and the shop's icons (kShopIcons, kShopIcon).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/content_builder/output_tree.h"
#include "tools/content_builder/texture_png.h"
#include "tools/content_builder/theme.h"

namespace ContentBuilder {

TextureImage DrawMedal(const Theme::Medal& medal, bool earned);
TextureImage DrawShopIcon(Theme::ShopIcon icon);

// Every medal ("<stem>_open.png", "<stem>_closed.png" in kMedalFolder) and shop icon (in
// kShopIconFolder), by path below the run folder.
std::vector<std::pair<std::string, TextureImage>> DrawCatalogueArt();

void BuildCatalogueArt(OutputTree& out);

}  // namespace ContentBuilder
