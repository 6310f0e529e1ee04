// Checks widget trees of authored layouts (the "GUI" of a window or of a page item) against the
// layout vocabulary the engine reads, so that a typo fails the build instead of vanishing: the
// engine skips unknown elements and elements without their required keys silently, reads absent
// values as 0, and draws a missing texture with its default texture.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

namespace ContentBuilder {

// What a layout may refer to; each answers whether the built content holds it.
struct LayoutReferences {
    std::function<bool(std::string_view key)> resource;  // a resource key, "repository file"
    std::function<bool(std::string_view key)> string;    // a key of the string table
    std::function<bool(std::string_view name)> sound;    // a sound of the "sounds" group
};

// One fault: the byte offset of the element in the checked text (for a line number) and what.
struct LayoutProblem {
    std::ptrdiff_t offset;
    std::string message;
};
using LayoutProblems = std::vector<LayoutProblem>;

void AddProblem(LayoutProblems& problems, const pugi::xml_node& node, const std::string& message);

// Every widget of a tree by id.
using WidgetIds = std::map<long long, pugi::xml_node>;

// Checks the widget elements below `parent` (a "GUI" or "CONTEXT" element) and their nested
// widgets. Ids must be unique across `ids`, which gathers them. With labelsAreKeys every label
// "TEXT" must be a key of the string table (window labels are localised; page items loaded
// without a table are not).
void CheckWidgetTree(const pugi::xml_node& parent, bool labelsAreKeys, const LayoutReferences& refs, WidgetIds& ids,
                     LayoutProblems& problems);

// Whether a resource key names a texture ("... name.png") or a font description ("... .xml").
bool CheckResourceKey(const pugi::xml_node& node, std::string_view what, std::string_view key,
                      std::string_view extension, const LayoutReferences& refs, LayoutProblems& problems);

}  // namespace ContentBuilder
