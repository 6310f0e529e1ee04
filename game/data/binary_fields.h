#pragma once
// Little-endian fields of the binary profile form. A field moves only while the stream is good; a
// read that comes up short leaves the stream failed. Lengths are never trusted: a text longer than
// the cap fails the stream before anything is allocated, and a shorter one is allocated only as
// its bytes arrive.

#include <cstdint>
#include <iosfwd>
#include <string>

namespace Game::BinaryFields {

// Texts (names) longer than this fail the read.
inline constexpr uint32_t kMaxTextBytes = 1u << 20;

void WriteU8(std::ostream& out, uint8_t value);
void WriteU32(std::ostream& out, uint32_t value);
void WriteI32(std::ostream& out, int32_t value);
void WriteI64(std::ostream& out, int64_t value);
void WriteF32(std::ostream& out, float value);
void WriteF64(std::ostream& out, double value);
// A u32 length, then the bytes. A text beyond the cap fails the stream.
void WriteText(std::ostream& out, const std::string& text);

// Each returns true when the whole field was read; otherwise value is unchanged and the stream is
// failed (or already was).
bool ReadU8(std::istream& in, uint8_t& value);
bool ReadU32(std::istream& in, uint32_t& value);
bool ReadI32(std::istream& in, int32_t& value);
bool ReadI64(std::istream& in, int64_t& value);
bool ReadF32(std::istream& in, float& value);
bool ReadF64(std::istream& in, double& value);
bool ReadText(std::istream& in, std::string& text);

}  // namespace Game::BinaryFields
