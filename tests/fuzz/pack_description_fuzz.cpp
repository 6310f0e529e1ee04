// Feeds arbitrary bytes to the pack scan as every pack's description file ("main/pack_item.xml"),
// beside a fixed level grid.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/fuzz/pack_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QRV::Fuzz::RunPackFuzz(std::string(reinterpret_cast<const char*>(data), size), QRV::Fuzz::kPackFuzzPages);
    return 0;
}
