// A small RGBA canvas for shapes drawn in code. Shapes are anti-aliased by supersampling their
// inside test, and painted over what is there with premultiplied alpha.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/content_builder/theme.h"

namespace ContentBuilder {

class Canvas {
 public:
  Canvas(int width, int height);

  // Paints a rounded rectangle given in pixels (x0, y0 top-left; x1, y1 bottom-right).
  void FillRoundedRect(float x0, float y0, float x1, float y1, float radius, Theme::Rgb colour,
                       float alpha, int supersampling);

  // Straight (not premultiplied) 8-bit RGBA rows, top row first.
  std::vector<uint8_t> ToRgba8() const;

  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  int width_, height_;
  std::vector<float> pixels_;  // premultiplied RGBA (sRGB values), 4 floats per pixel
};

// True when (x, y) lies inside the rounded rectangle; exposed for tests of the coverage.
bool InsideRoundedRect(float x, float y, float x0, float y0, float x1, float y1, float radius);

}  // namespace ContentBuilder
