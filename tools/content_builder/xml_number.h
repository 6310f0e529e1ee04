// Numbers in the XML the builder writes: shortest round-trip form, never locale dependent.
#pragma once

#include <string>

namespace ContentBuilder {

std::string XmlNumber(float value);
std::string XmlNumber(int value);

}  // namespace ContentBuilder
