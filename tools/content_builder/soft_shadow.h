// Soft shadows: a coverage mask moved and blurred with a Gaussian.
#pragma once

#include <vector>

namespace ContentBuilder {

// Blurs a width x height mask in place (separable Gaussian, kernel cut at 3 sigma, edges read as
// empty). sigma <= 0 leaves the mask as it is.
void GaussianBlur(std::vector<float>& mask, int width, int height, float sigma);

// The mask moved by whole pixels (dx right, dy down); what moves in from outside is empty.
std::vector<float> ShiftMask(const std::vector<float>& mask, int width, int height, int dx, int dy);

}  // namespace ContentBuilder
