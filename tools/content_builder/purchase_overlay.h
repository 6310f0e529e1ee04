// The overlay shown while a purchase is pending: the screen dimmed with ink at 40 % (the GUI
// backdrop stretched and tinted) and, in its middle, a ring of dots whose lit dot turns.
#pragma once

#include <string>

#include "tools/content_builder/output_tree.h"
#include "tools/content_builder/texture_png.h"

namespace ContentBuilder {

// One row of frames; in frame f dot f is lit and the dots behind it fade.
TextureImage DrawPurchaseSpinner();

// The element "purchase" of "data data.xml": the children "background" and "animation".
std::string PurchaseOverlayXml();

// Writes the spinner's picture (the description goes into "data data.xml" with the border art).
void BuildPurchaseOverlay(OutputTree& out);

}  // namespace ContentBuilder
