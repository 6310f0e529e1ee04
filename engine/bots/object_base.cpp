#include "engine/bots/object_base.h"

namespace QRV {

JC_BASE::~JC_BASE() = default;

std::string JC_BASE::IdText() const {
    std::string text;
    for (size_t i = 0; i < 4; ++i) {
        const uint32_t shift = std::endian::native == std::endian::little ? 8 * i : 8 * (3 - i);
        const char c = static_cast<char>((id >> shift) & 0xFFu);
        if (c == '\0') break;
        text.push_back(c);
    }
    return text;
}

}  // namespace QRV
