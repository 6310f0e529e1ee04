#pragma once
// The program's one pseudo-random generator: a 32-bit linear congruential sequence that every
// user steps (particle emitters, the hint-cell choice). It starts at 0, so effects repeat from
// run to run unless a screen reseeds it.

#include <cstdint>

namespace QRV {

class JC_RANDOM {
public:
    // state = state x 1664525 + 1013904223 (mod 2^32); returns the new state.
    static uint32_t Next();
    // Next, then the state's upper 16 bits / 65535: 0 to 1, both ends included.
    static float Rand01();
    // lo when lo == hi (the state is not stepped); otherwise Next and lo + (state & 0x7FFFFFFF)
    // mod |hi - lo| taken towards hi, so hi itself is never returned.
    static int32_t RandInt(int32_t lo, int32_t hi);

    static void Seed(uint32_t value) { state = value; }
    static uint32_t State() { return state; }

private:
    // Main thread only, like everything that draws from it.
    static uint32_t state;
};

}  // namespace QRV
