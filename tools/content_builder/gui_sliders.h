// Value widgets' textures: the 13-frame slider strip (and the list box's 12-frame copy), the
// simple slider's runner, and two-half bars (the progress bar, the simple slider's track).
#pragma once

#include "tools/content_builder/texture_png.h"
#include "tools/content_builder/theme.h"

namespace ContentBuilder {

inline constexpr int kSliderFrames = 13;

// Frames 0..frames-1 of the slider strip (13 for the slider, 12 for the list box): 0..2
// decrease button, 3..5 increase button, 6..8 knob (idle, hovered, pressed), 9 track start,
// 10 track body, 11 track end, 12 fill.
TextureImage DrawSliderStrip(int frames);

// The simple slider's runner: the slider's idle knob in a frame of its own.
TextureImage DrawSliderRunner();

// Left half the empty bar, right half the full bar, with one silhouette.
TextureImage DrawBarHalves(const Theme::BarTheme& bar);

}  // namespace ContentBuilder
