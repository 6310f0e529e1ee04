// Feeds arbitrary bytes to the pack scan as every pack's level grid ("main/pages.xml"), beside a
// fixed description.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/fuzz/pack_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QRV::Fuzz::RunPackFuzz(QRV::Fuzz::kPackFuzzDescription, std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
