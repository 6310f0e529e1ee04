// Particle effects: a soft round dot texture and the particle descriptions that use it.
#pragma once

#include <string>
#include <string_view>

#include "tools/content_builder/output_tree.h"
#include "tools/content_builder/texture_png.h"
#include "tools/content_builder/theme.h"

namespace ContentBuilder {

// White everywhere (the particle colours tint it); alpha falls smoothly from the centre to 0 at
// the edge of the inscribed circle.
TextureImage DrawSoftDot();

// One particle description: the recipe's element with its texture (a resource key), indented.
std::string ParticleElementXml(const Theme::ParticleRecipe& recipe, std::string_view textureKey,
                               std::string_view indent);

// particles.xml: root "particles" with one description per recipe of the theme.
std::string ParticleDescriptionsXml();

void BuildParticleEffects(OutputTree& out);

}  // namespace ContentBuilder
