// The rounded panel as a nine-part frame: the lighter paper with a thin border and a soft
// shadow, drawn once large enough that its edges run straight, then cut into four corners, four
// edge strips (stretched along the edge) and a middle (stretched both ways).
#pragma once

#include <array>
#include <string>

#include "tools/content_builder/output_tree.h"
#include "tools/content_builder/texture_png.h"

namespace ContentBuilder {

// Side of a corner piece: the shadow's reach, the radius and the blur all fit inside it, so an
// edge strip continues its corner without a seam.
int PanelCornerSize();

// The whole panel before cutting: (2 x corner + strip) pixels square.
TextureImage DrawPanel();
// The same panel (2 x corner + middle) pixels square: its edges run straight along the middle.
TextureImage DrawPanel(int middle);

// The rectangle of an image at (x, y), width x height (inside the image).
TextureImage CropImage(const TextureImage& image, int x, int y, int width, int height);

// The nine pieces by place: 0 upper-left corner, 1 upper edge, 2 upper-right corner, 3 right
// edge, 4 lower-right corner, 5 lower edge, 6 lower-left corner, 7 left edge, 8 middle.
std::array<TextureImage, 9> CutPanel(const TextureImage& panel);
// The same for any frame of (2 x corner + strip) pixels square.
std::array<TextureImage, 9> CutPanelAt(const TextureImage& panel, int corner, int strip);

// panel.xml: root "panel" with the frame's nine attributes (theme: kPanelPlaces).
std::string PanelDescriptionXml();

void BuildNinePartPanel(OutputTree& out);

}  // namespace ContentBuilder
