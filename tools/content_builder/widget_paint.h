// Painting steps the GUI widgets share: raised bodies with a vertical gradient and a soft drop
// shadow, recessed wells with a shadow inside their upper edge, and frames joined into strips.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "tools/content_builder/canvas.h"
#include "tools/content_builder/texture_png.h"
#include "tools/content_builder/theme.h"

namespace ContentBuilder {

// Signed distance of a shape in pixels: negative inside (see shape_distance.h).
using Shape = std::function<float(float, float)>;

// a mixed towards b: t = 0 gives a, 1 gives b.
Theme::Rgb Mix(Theme::Rgb a, Theme::Rgb b, float t);

// How far beyond its shape's edge a shadow can leave a visible pixel: the offset along that
// side plus the blur's reach, in whole pixels. A shape this far (plus a gutter) from the border
// of its frame leaves the gutter fully transparent.
int ShadowReach(float offset, float sigma);

// Throws std::runtime_error naming `what` when a shape needs more room than its frame gives.
void RequireRoom(int needed, int available, std::string_view what);

// The shape's silhouette moved by the shadow's offset, blurred and painted in its colour.
void PaintDropShadow(Canvas& canvas, const Shape& shape, const Theme::SoftShadow& shadow);

// The shape filled with colour, lighter at row y0 and darker at row y1 as the gradient says.
void PaintGradientShape(Canvas& canvas, const Shape& shape, Theme::Rgb colour, const Theme::Gradient& gradient,
                        float y0, float y1);

// A recess: the shadow that the shape's upper edge casts inside it (moved down by the offset,
// blurred), painted only inside the shape.
void PaintInnerShadow(Canvas& canvas, const Shape& shape, const Theme::SoftShadow& shadow);

TextureImage ToTexture(const Canvas& canvas);

// Frames of one size side by side, in order.
TextureImage JoinFrames(const std::vector<Canvas>& frames);

}  // namespace ContentBuilder
