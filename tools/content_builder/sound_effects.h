// The game's short effects, synthesised from the recipes in theme.h (mono, not yet normalised).
#pragma once

#include <string_view>
#include <vector>

#include "tools/content_builder/theme.h"

namespace ContentBuilder {

std::vector<float> SynthesiseTick(const Theme::TickRecipe& recipe, int rate, uint32_t seed);
std::vector<float> SynthesiseThud(const Theme::ThudRecipe& recipe, int rate, uint32_t seed);
std::vector<float> SynthesiseChime(const Theme::ChimeRecipe& recipe, int rate);
std::vector<float> SynthesiseFall(const Theme::FallRecipe& recipe, int rate);
std::vector<float> SynthesiseSwell(const Theme::SwellRecipe& recipe, int rate, uint32_t seed);

struct EffectSound {
    std::string_view name;  // the file's name, and the name the game plays it by (group "sounds")
    std::vector<float> samples;
    std::string_view entry = {};  // the catalogue name when it differs from name
};

// Every effect of the catalogue, each normalised to its peak from the theme.
std::vector<EffectSound> SynthesiseEffects(int rate);

}  // namespace ContentBuilder
