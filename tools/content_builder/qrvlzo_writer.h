// Writer of the engine's compressed file form "qrvlzo": the 6-byte tag, the uncompressed size as a
// little-endian u32, then one LZO1X-1 block.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace ContentBuilder {

// Throws std::invalid_argument for empty input (the engine treats a qrvlzo file with an empty
// block as unreadable) or input of 4 GiB or more; std::runtime_error when LZO fails.
std::vector<uint8_t> CompressQrvlzo(std::span<const uint8_t> plain);

}  // namespace ContentBuilder
