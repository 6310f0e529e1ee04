// Windows, the window list and paged-grid layouts: authored XML under content/ that the builder
// checks against the layout vocabulary and against the content built so far (textures, fonts,
// string keys, sounds, window files), then copies below Resources/ with the theme's values in
// place of their placeholders. Runs after everything the layouts name has been built.
#pragma once

#include <string>
#include <string_view>

#include "tools/content_builder/output_tree.h"
#include "tools/content_builder/widget_check.h"

namespace ContentBuilder {

// Where the file of a resource key lies below the run folder: "repository file" gives
// "Resources/repository/file", a key of one word "Resources/<key>".
std::string RunPathOfKey(std::string_view key);

// What layouts may name, answered from the output written so far and the string source.
LayoutReferences ReferencesOf(const std::string& contentDir, const OutputTree& out);

// Writes the windows' backdrop texture (theme: kBackdropFile), then checks and writes every
// window file, the window list and every paged-grid layout. Throws
// std::runtime_error listing every fault as "<source file>:<line>: <what>".
void BuildWindowContent(const std::string& contentDir, OutputTree& out);

}  // namespace ContentBuilder
