// Sprites for tests and the visual check: a few plain textures and sprite descriptions that use
// every key of the description (FILE or TEXTURE, HOT_SPOT, POS, TRANSFORM, SIZE, COLOR, TEXEL),
// plus a cursor description (its root names the texture in "file").
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/content_builder/output_tree.h"
#include "tools/content_builder/texture_png.h"

namespace ContentBuilder {

// The textures, by file name.
std::vector<std::pair<std::string, TextureImage>> DrawTestTextures();

// sprites.xml: root "sprites", one child per sprite of the theme, named as the theme names it.
std::string SpriteDescriptionsXml();
// cursor.xml: root "cursor" whose child "file" is the cursor texture's key.
std::string CursorDescriptionXml();

void BuildTestSprites(OutputTree& out);

}  // namespace ContentBuilder
