// Clickable GUI widgets' textures: push-button strips (with or without a chevron), the check-box
// strip and the switch's track and knob. See content/README.md for the frames.
#pragma once

#include "tools/content_builder/texture_png.h"
#include "tools/content_builder/theme.h"

namespace ContentBuilder {

inline constexpr int kStripFrames = 5;

// Five frames: normal, hovered, pressed, checked, disabled.
TextureImage DrawButtonStrip(const Theme::ButtonStrip& strip);

// Five frames: box, box hovered, box pressed, check mark alone, disabled box (unused).
TextureImage DrawCheckBoxStrip();

// The check box's side inside its frame: the box's upper-left corner is this far in.
int CheckBoxMargin();

// The tool switch's track and knob.
TextureImage DrawSwitchPanel();
TextureImage DrawSwitchKnob();
// An on/off switch's panel for one state (the same size as the track) and its light knob.
TextureImage DrawSwitchStatePanel(bool on);
TextureImage DrawSwitchStateKnob();

}  // namespace ContentBuilder
