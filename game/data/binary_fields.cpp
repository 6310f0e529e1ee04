#include "game/data/binary_fields.h"

#include <algorithm>
#include <cstring>
#include <istream>
#include <ostream>

namespace Game::BinaryFields {
namespace {

template <size_t N>
void WriteLittle(std::ostream& out, uint64_t bits) {
    if (!out) return;
    char bytes[N];
    for (size_t i = 0; i < N; ++i) bytes[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    out.write(bytes, N);
}

template <size_t N>
bool ReadLittle(std::istream& in, uint64_t& bits) {
    if (!in) return false;
    unsigned char bytes[N];
    in.read(reinterpret_cast<char*>(bytes), N);
    if (in.gcount() != static_cast<std::streamsize>(N)) {
        in.setstate(std::ios::failbit);
        return false;
    }
    bits = 0;
    for (size_t i = 0; i < N; ++i) bits |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    return true;
}

}  // namespace

void WriteU8(std::ostream& out, uint8_t value) { WriteLittle<1>(out, value); }
void WriteU32(std::ostream& out, uint32_t value) { WriteLittle<4>(out, value); }
void WriteI32(std::ostream& out, int32_t value) { WriteLittle<4>(out, static_cast<uint32_t>(value)); }
void WriteI64(std::ostream& out, int64_t value) { WriteLittle<8>(out, static_cast<uint64_t>(value)); }

void WriteF32(std::ostream& out, float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    WriteLittle<4>(out, bits);
}

void WriteF64(std::ostream& out, double value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    WriteLittle<8>(out, bits);
}

void WriteText(std::ostream& out, const std::string& text) {
    if (!out) return;
    if (text.size() > kMaxTextBytes) {
        out.setstate(std::ios::failbit);
        return;
    }
    WriteU32(out, static_cast<uint32_t>(text.size()));
    if (out) out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

bool ReadU8(std::istream& in, uint8_t& value) {
    uint64_t bits = 0;
    if (!ReadLittle<1>(in, bits)) return false;
    value = static_cast<uint8_t>(bits);
    return true;
}

bool ReadU32(std::istream& in, uint32_t& value) {
    uint64_t bits = 0;
    if (!ReadLittle<4>(in, bits)) return false;
    value = static_cast<uint32_t>(bits);
    return true;
}

bool ReadI32(std::istream& in, int32_t& value) {
    uint32_t bits = 0;
    if (!ReadU32(in, bits)) return false;
    value = static_cast<int32_t>(bits);
    return true;
}

bool ReadI64(std::istream& in, int64_t& value) {
    uint64_t bits = 0;
    if (!ReadLittle<8>(in, bits)) return false;
    value = static_cast<int64_t>(bits);
    return true;
}

bool ReadF32(std::istream& in, float& value) {
    uint32_t bits = 0;
    if (!ReadU32(in, bits)) return false;
    std::memcpy(&value, &bits, sizeof(value));
    return true;
}

bool ReadF64(std::istream& in, double& value) {
    uint64_t bits = 0;
    if (!ReadLittle<8>(in, bits)) return false;
    std::memcpy(&value, &bits, sizeof(value));
    return true;
}

bool ReadText(std::istream& in, std::string& text) {
    uint32_t length = 0;
    if (!ReadU32(in, length)) return false;
    if (length > kMaxTextBytes) {
        in.setstate(std::ios::failbit);
        return false;
    }
    // In pieces, so that a length beyond the bytes left never allocates more than one piece.
    std::string read;
    char piece[4096];
    while (read.size() < length) {
        const size_t want = std::min(sizeof(piece), static_cast<size_t>(length) - read.size());
        in.read(piece, static_cast<std::streamsize>(want));
        if (in.gcount() != static_cast<std::streamsize>(want)) {
            in.setstate(std::ios::failbit);
            return false;
        }
        read.append(piece, want);
    }
    text = std::move(read);
    return true;
}

}  // namespace Game::BinaryFields
