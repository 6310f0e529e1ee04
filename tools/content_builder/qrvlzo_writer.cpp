#include "tools/content_builder/qrvlzo_writer.h"

#include <cstring>
#include <limits>
#include <stdexcept>

#include <lzo/lzo1x.h>

namespace ContentBuilder {

std::vector<uint8_t> CompressQrvlzo(std::span<const uint8_t> plain) {
    if (plain.empty()) throw std::invalid_argument("qrvlzo cannot hold an empty file");
    if (plain.size() > std::numeric_limits<uint32_t>::max()) throw std::invalid_argument("file too large for qrvlzo");
    if (lzo_init() != LZO_E_OK) throw std::runtime_error("lzo_init failed");

    constexpr size_t kHeader = 10;
    // Worst-case LZO1X output for incompressible input.
    const size_t bound = plain.size() + plain.size() / 16 + 64 + 3;
    std::vector<uint8_t> out(kHeader + bound);
    std::memcpy(out.data(), "qrvlzo", 6);
    const auto size = static_cast<uint32_t>(plain.size());
    for (int i = 0; i < 4; ++i) out[6 + i] = static_cast<uint8_t>(size >> (8 * i));

    std::vector<unsigned char> work(LZO1X_1_MEM_COMPRESS);
    lzo_uint packed = 0;
    if (lzo1x_1_compress(plain.data(), plain.size(), out.data() + kHeader, &packed, work.data()) != LZO_E_OK)
        throw std::runtime_error("lzo1x_1_compress failed");
    out.resize(kHeader + packed);
    return out;
}

}  // namespace ContentBuilder
