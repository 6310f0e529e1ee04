// Look parameters in authored layouts: "{{hex:ink}}", "{{argb:dim}}" and "{{value:<name>}}" are
// replaced by the theme's colours and numbers (theme.h), so editing the theme re-colours windows.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace ContentBuilder {

class PlaceholderError : public std::runtime_error {
public:
    PlaceholderError(size_t at, const std::string& what) : std::runtime_error(what), offset(at) {}
    size_t offset;  // of the "{{" in the source text
};

// Replaces every placeholder; anything else is copied as it stands. An unknown kind or name, or
// an unclosed "{{", throws PlaceholderError.
std::string ExpandLayoutPlaceholders(std::string_view text);

}  // namespace ContentBuilder
