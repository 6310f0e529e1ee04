// Escaping text for XML documents the builder writes.
#pragma once

#include <string>
#include <string_view>

namespace ContentBuilder {

// Escapes &, <, >, " and ' and writes line breaks, tabs and carriage returns as character
// references, so they survive attribute and text parsing unchanged. Throws std::invalid_argument
// for other control characters, which XML 1.0 cannot carry.
std::string XmlEscape(std::string_view text);

}  // namespace ContentBuilder
