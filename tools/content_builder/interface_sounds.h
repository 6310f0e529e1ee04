// The interface's sounds: a button's soft click and a window's paper swish, catalogued under the
// entries the game plays for every control and window without sounds of their own.
#pragma once

#include <vector>

#include "tools/content_builder/sound_effects.h"
#include "tools/content_builder/theme.h"

namespace ContentBuilder {

// Band-passed noise under a swell (mono, not normalised).
std::vector<float> SynthesiseSwish(const Theme::SwishRecipe& recipe, int rate, uint32_t seed);

// The click and the swish, each normalised to its peak from the theme, with their catalogue entries.
std::vector<EffectSound> InterfaceSounds(int rate);

}  // namespace ContentBuilder
