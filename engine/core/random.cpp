#include "engine/core/random.h"

namespace QRV {

uint32_t JC_RANDOM::state = 0;

uint32_t JC_RANDOM::Next() {
    state = state * 1664525u + 1013904223u;
    return state;
}

float JC_RANDOM::Rand01() { return static_cast<float>(Next() >> 16) / 65535.0f; }

int32_t JC_RANDOM::RandInt(int32_t lo, int32_t hi) {
    if (lo == hi) return lo;
    const int64_t draw = Next() & 0x7FFFFFFFu;
    // 64-bit so that wide ranges cannot overflow; a reversed range counts down from lo, which
    // keeps every result between the two ends.
    if (hi > lo) return static_cast<int32_t>(lo + draw % (int64_t{hi} - lo));
    return static_cast<int32_t>(lo - draw % (int64_t{lo} - hi));
}

}  // namespace QRV
