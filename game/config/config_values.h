#pragma once
// Typed reads of configuration maps: a key the map does not hold reads as 0 or as empty text, and
// the platform letter of an edition's "platform" value.

#include <cstdint>
#include <string>

class JCPropertyMap;

namespace Game {

int32_t ConfigInt(const JCPropertyMap& map, const std::string& key);
std::string ConfigText(const JCPropertyMap& map, const std::string& key);

// The first letter of a platform name: "O" or "o" 1, "I" or "i" 2, "A" or "a" 3, anything else
// (the empty text too) 0. 0 and 1 behave as the desktop.
int32_t PlatformLetter(const std::string& platform);

}  // namespace Game
