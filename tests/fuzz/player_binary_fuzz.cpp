// Feeds arbitrary bytes to one profile's binary reader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "tests/fuzz/player_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QRV::Fuzz::UsePlayerFuzzClock();
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    gcPlayer player;
    player.ReadBinary(in);
    // A failed read keeps what came before the failure; either way the profile is whole.
    QRV::Fuzz::CheckPlayerForms(player, false);
    return 0;
}
