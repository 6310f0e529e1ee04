// The game's configuration files: the shipped settings "game.xml", the editions, the gameplay
// configuration and the default player.
#pragma once

#include <string>

#include "tools/content_builder/output_tree.h"

namespace ContentBuilder {

// Root "game", one "param" per setting.
std::string GameSettingsXml();
// Root "editions": the base edition, then the desktop edition, each a list of "param" elements.
std::string EditionsXml();
// Root "gameplay", one "param" per key.
std::string GameplayConfigXml();
// One "player" element in the player's XML form, every attribute written, hearts full.
std::string DefaultPlayerXml();

void BuildGameConfig(OutputTree& out);

}  // namespace ContentBuilder
