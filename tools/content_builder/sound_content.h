// The game's sounds and music and their catalogue "sound.xml".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/content_builder/output_tree.h"

namespace ContentBuilder {

struct CatalogueEntry {
    std::string group;  // "music" or "sounds"
    std::string name;
    std::string path;  // resource key: "<repository> <file>"
    bool whole;        // written as streamed="true": the engine decodes the file whole
    int bufferCount;
};

// The catalogue document: root "sound", one "group" element per group (in first-seen order), one
// element per entry.
std::string SoundCatalogueXml(const std::vector<CatalogueEntry>& entries);

// Synthesises, encodes and checks every sound, writes them to their folder repositories and the
// catalogue (stored in qrvlzo form) to the catalogue repository.
void BuildSounds(OutputTree& out);

}  // namespace ContentBuilder
