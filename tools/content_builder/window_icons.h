// The window icons: a rounded paper tile with a small ink nonogram, one PNG per size.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/content_builder/output_tree.h"

namespace ContentBuilder {

// Straight RGBA pixels of the icon at the given side length.
std::vector<uint8_t> DrawWindowIcon(int size);

// Writes icons/quorvel-<size>.png for every size of the theme.
void BuildWindowIcons(OutputTree& out);

}  // namespace ContentBuilder
