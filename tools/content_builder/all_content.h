// The whole build in one call: every step that makes the game's run folder, in the order later
// steps need (the string table and fonts before the checks that read them, windows and layouts
// last, checked against everything before them). The builder's main runs it; the tests that need
// the shipped content build it through the same call, so they see exactly what the game ships.
#pragma once

#include <string>
#include <vector>

#include "tools/content_builder/level_sources.h"
#include "tools/content_builder/output_tree.h"

namespace ContentBuilder {

// Writes everything below out's run folder (out.Finish is left to the caller). Returns the packs
// written, for the folder check. Throws std::runtime_error on the first fault.
std::vector<PackSource> BuildAllContent(const std::string& contentDir, OutputTree& out);

}  // namespace ContentBuilder
