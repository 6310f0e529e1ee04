// The loading screen's description and pictures: paper background, logo, the grid that fills cell
// by cell, and the title card splash (theme.h, kLoadingScreen).
#pragma once

#include <string>

#include "tools/content_builder/output_tree.h"
#include "tools/content_builder/texture_png.h"

namespace ContentBuilder {

TextureImage DrawLoadingBackground();
// The motif and the name; the title font's file bytes are given.
TextureImage DrawLoadingLogo(const std::vector<uint8_t>& titleFont);
// One frame per filled cell count (0 to cells), then the full grid once more, in one row.
TextureImage DrawGridFillSheet();
// The title card; the title and body fonts' file bytes are given.
TextureImage DrawTitleCard(const std::vector<uint8_t>& titleFont, const std::vector<uint8_t>& bodyFont);
// Frames of the grid animation.
int GridFillFrames();

// Root "loading" with "background", "logo", "animation" and "splashes".
std::string LoadingScreenXml();

void BuildLoadingScreen(OutputTree& out);

}  // namespace ContentBuilder
