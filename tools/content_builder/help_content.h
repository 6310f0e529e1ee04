// The help sections' pages: one pages layout per section (each page a picture above its text)
// and the pictures, drawn here. The texts are keys of the string table; the numbers they quote
// come from help_numbers.h.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/content_builder/output_tree.h"

namespace ContentBuilder {

struct HelpPageSource {
    std::string_view picture;  // file name below the help picture folder
    std::string_view text;     // string key
};

struct HelpSectionSource {
    std::string_view layout;  // file name below the layout folder
    std::vector<HelpPageSource> pages;
};

// "Help_Solving", "Help_Gameplay" and "Help_TipsTricks", in that order.
const std::vector<HelpSectionSource>& HelpSections();

// The pages layout of one section, its placeholders in place.
std::string HelpPagesXml(const HelpSectionSource& section);

// Draws every picture, writes the three layouts and checks them against what is built so far and
// the string source. Throws std::runtime_error naming every fault.
void BuildHelpContent(const std::string& contentDir, OutputTree& out);

}  // namespace ContentBuilder
