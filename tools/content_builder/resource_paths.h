// Where a file of a folder repository goes below the run folder, and the resource key the game
// names it by ("repository file", one blank between).
#pragma once

#include <string>
#include <string_view>

namespace ContentBuilder {

inline std::string RunPath(std::string_view folder, std::string_view file) {
    return "Resources/" + std::string(folder) + "/" + std::string(file);
}

inline std::string ResourceKey(std::string_view folder, std::string_view file) {
    return std::string(folder) + " " + std::string(file);
}

}  // namespace ContentBuilder
