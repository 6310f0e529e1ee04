#pragma once
// A block of pixel bytes handed on by moving, never copied: the decoder's own buffer goes from the
// decoder through the texture record to the device upload as it is.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace QRV::Platform {

class PixelBuffer {
public:
    // How the block is given back to whoever allocated it.
    using Release = void (*)(void*);

    PixelBuffer() = default;
    // Takes the block; release frees it.
    PixelBuffer(uint8_t* bytes, size_t count, Release release) : block(bytes, release), count(bytes ? count : 0) {}
    // count bytes of 0; empty when they cannot be had.
    static PixelBuffer Zeroed(size_t count);

    uint8_t* data() { return block.get(); }
    const uint8_t* data() const { return block.get(); }
    size_t size() const { return count; }
    bool empty() const { return count == 0; }
    uint8_t& operator[](size_t index) { return block.get()[index]; }
    const uint8_t* begin() const { return block.get(); }
    const uint8_t* end() const { return block.get() + count; }
    // Frees the block now.
    void clear() {
        block.reset();
        count = 0;
    }

private:
    static void Nothing(void*) {}
    std::unique_ptr<uint8_t, Release> block{nullptr, &Nothing};
    size_t count = 0;
};

}  // namespace QRV::Platform
