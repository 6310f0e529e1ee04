// The game cursor: an ink arrow with a paper outline and a soft shadow, its tip at the picture's
// upper-left corner (the sprite is drawn with that corner at the pointer), and its description
// "gCursor.xml", whose root's child "file" names the picture.
#pragma once

#include <string>

#include "tools/content_builder/output_tree.h"
#include "tools/content_builder/texture_png.h"

namespace ContentBuilder {

TextureImage DrawGameCursor();

// Root "cursor" with the child "file": the picture's resource key.
std::string GameCursorXml();

void BuildGameCursor(OutputTree& out);

}  // namespace ContentBuilder
