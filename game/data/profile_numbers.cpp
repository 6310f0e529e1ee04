#include "game/data/profile_numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>
#include <system_error>

#include "engine/core/conversions.h"

namespace Game {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// The text after leading blanks and a "+" (from_chars takes neither).
std::string_view NumberStart(const std::string& text) {
    std::string_view rest(text);
    while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
    if (!rest.empty() && rest.front() == '+') rest.remove_prefix(1);
    return rest;
}

// The end of Int's range on the side of the number's sign.
template <typename Int>
Int RangeEnd(std::string_view number) {
    return !number.empty() && number.front() == '-' ? std::numeric_limits<Int>::min()
                                                    : std::numeric_limits<Int>::max();
}

// A number too small in magnitude for a double (rather than too large): its exponent is negative,
// or without one its whole part is all zeros.
bool IsTinyExponent(std::string_view number) {
    const size_t exponent = number.find_first_of("eE");
    if (exponent != std::string_view::npos) return exponent + 1 < number.size() && number[exponent + 1] == '-';
    if (!number.empty() && number.front() == '-') number.remove_prefix(1);
    const size_t whole = number.find_first_not_of('0');
    return whole == std::string_view::npos || number[whole] == '.';
}

template <typename Int>
Int ParseInteger(const std::string& text) {
    const std::string_view rest = NumberStart(text);
    Int value = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) return RangeEnd<Int>(rest);
    return error == std::errc() ? value : 0;
}

}  // namespace

std::string ProfileFloatText(double value) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::general, 6);
    return error == std::errc() ? std::string(buffer, end) : std::string("0");
}

float ParseProfileFloat(const std::string& text) {
    float value = 0.0f;
    QRV::ParseFloat(text, value);
    return std::isfinite(value) ? value : 0.0f;
}

const char* ProfileBoolText(bool value) { return value ? "true" : "false"; }

bool ParseProfileBool(const std::string& text) { return QRV::IsTrueText(text.c_str()); }

int32_t ParseProfileInt32(const std::string& text) { return ParseInteger<int32_t>(text); }

int64_t ParseProfileInt64(const std::string& text) { return ParseInteger<int64_t>(text); }

int64_t ParseProfileWhole(const std::string& text) {
    const std::string_view rest = NumberStart(text);
    int64_t whole = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), whole);
    const bool fraction = end != rest.data() + rest.size() && (*end == '.' || *end == 'e' || *end == 'E');
    if (error == std::errc() && !fraction) return whole;
    if (error == std::errc::result_out_of_range && !fraction) return RangeEnd<int64_t>(rest);
    double value = 0.0;
    const auto [dend, derror] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    (void)dend;
    // A magnitude beyond what a double holds reads as infinite, one below it as 0.
    if (derror == std::errc::result_out_of_range) value = IsTinyExponent(rest) ? 0.0 : HUGE_VAL;
    else if (derror != std::errc() || std::isnan(value)) return 0;
    // Doubles at or above 2^63 (or below -2^63) do not fit; the bounds are exact in a double.
    if (value >= 9223372036854775808.0 || value <= -9223372036854775808.0) return RangeEnd<int64_t>(rest);
    return static_cast<int64_t>(value);
}

int64_t SaturatingAdd(int64_t a, int64_t b) {
    int64_t sum = 0;
    if (!__builtin_add_overflow(a, b, &sum)) return sum;
    return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
}

int64_t SaturatingSub(int64_t a, int64_t b) {
    int64_t difference = 0;
    if (!__builtin_sub_overflow(a, b, &difference)) return difference;
    return b < 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
}

}  // namespace Game
