#pragma once
// The number and flag texts of the profile files, independent of the user's locale.

#include <cstdint>
#include <string>

namespace Game {

// "%g": six significant digits, no trailing zeros.
std::string ProfileFloatText(double value);
// A float as written by "%g"; text that is no finite number reads as 0.
float ParseProfileFloat(const std::string& text);
// "true" or "false".
const char* ProfileBoolText(bool value);
// True when the first character is one of 1, t, T, y, Y.
bool ParseProfileBool(const std::string& text);
// A decimal integer after optional blanks and a sign (what follows is ignored); 0 when there are
// no digits; a value that does not fit reads as the end of the range on its side.
int32_t ParseProfileInt32(const std::string& text);
int64_t ParseProfileInt64(const std::string& text);
// A number truncated to 64 bits: a whole decimal exactly, anything else (a fraction, an exponent)
// as a double. Text that is not a number reads as 0; a number beyond the 64-bit range reads as
// the end of the range on its side.
int64_t ParseProfileWhole(const std::string& text);

// 64-bit sums and differences that stop at the ends of the range instead of overflowing.
int64_t SaturatingAdd(int64_t a, int64_t b);
int64_t SaturatingSub(int64_t a, int64_t b);

}  // namespace Game
