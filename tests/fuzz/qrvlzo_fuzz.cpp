// Feeds arbitrary bytes to the qrvlzo reader as a resource file: it must never read or write out
// of bounds, and a successful read must fill exactly the size it announced.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "engine/resources/qrvlzo_reader.h"
#include "tests/fuzz/scratch_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = QRV::Fuzz::ScratchPath("qrvlzo");
    if (!QRV::Fuzz::WriteScratch(path, data, size)) return 0;

    QRV::JC_QRVLZO_FILE file;
    if (!file.Open(path)) return 0;
    const size_t length = file.Size();
    if (length > QRV::JC_QRVLZO_FILE::kMaxSize) std::abort();
    // Exactly size + 1 bytes, as the resource loader allocates: ASan sees any overrun, and the
    // last byte must come through untouched.
    std::unique_ptr<uint8_t[]> buffer(new uint8_t[length + 1]);
    buffer[length] = 0xA5;
    const bool read = file.Read(buffer.get());
    if (buffer[length] != 0xA5) std::abort();
    if (read && file.compressed == 0 && (length != size || std::memcmp(buffer.get(), data, length) != 0)) std::abort();
    file.Close();
    return 0;
}
