#include "engine/core/conversions.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>
#include <system_error>

namespace QRV {

namespace {

// The classic locale's white space, which is what a decimal stream skips.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    return v < base ? v : -1;
}

struct IntegerScan {
    bool digits = false;  // at least one digit was read
    bool negative = false;
    bool overflow = false;   // the magnitude does not fit 32 bits
    uint64_t magnitude = 0;  // saturates once it passes 32 bits
};

// Blanks, an optional sign, "0x" for base 16 (only when a hex digit follows), then digits.
IntegerScan ScanInteger(std::string_view text, int base) {
    IntegerScan scan;
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        scan.negative = text[i] == '-';
        ++i;
    }
    if (base == 16 && i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        DigitValue(text[i + 2], 16) >= 0) {
        i += 2;
    }
    for (; i < text.size(); ++i) {
        const int d = DigitValue(text[i], base);
        if (d < 0) break;
        scan.digits = true;
        if (!scan.overflow) {
            scan.magnitude = scan.magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
            if (scan.magnitude > std::numeric_limits<uint32_t>::max()) scan.overflow = true;
        }
    }
    return scan;
}

// Unsigned reading as strtoul does it on a 32-bit unsigned long: a minus sign negates modulo
// 2^32, and a magnitude that does not fit gives the largest value.
uint32_t ScanUnsignedWrapped(const IntegerScan& scan) {
    if (!scan.digits) return 0;
    if (scan.overflow) return std::numeric_limits<uint32_t>::max();
    const auto v = static_cast<uint32_t>(scan.magnitude);
    return scan.negative ? 0u - v : v;
}

enum class FloatScan { kNone, kOk, kOutOfRange };

// Blanks, an optional sign, then a decimal number (digits with an optional point and exponent).
// Words such as "inf" and "nan" are not numbers here, as for a decimal stream.
FloatScan ScanFloat(std::string_view text, float& out) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size()) return FloatScan::kNone;
    const char first = text[i];
    if (!((first >= '0' && first <= '9') || first == '.')) return FloatScan::kNone;

    const char* begin = text.data() + i;
    const char* end = text.data() + text.size();
    float value = 0.0f;
    auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Tell an underflow (a tiny value, readable as 0 or a denormal) from an overflow.
        double wide = 0.0;
        auto [wptr, wec] = std::from_chars(begin, end, wide, std::chars_format::general);
        if (wec != std::errc() || std::fabs(wide) > static_cast<double>(std::numeric_limits<float>::max())) {
            return FloatScan::kOutOfRange;
        }
        value = static_cast<float>(wide);
        ec = std::errc();
        (void)wptr;
    }
    if (ec != std::errc()) return FloatScan::kNone;
    (void)ptr;
    out = negative ? -value : value;
    return FloatScan::kOk;
}

template <typename Int>
std::string IntegerText(Int v) {
    char buffer[24];
    auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof(buffer), v);
    (void)ec;
    return std::string(buffer, ptr);
}

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

}  // namespace

std::string IntToString(int32_t v) { return IntegerText(v); }

std::string UIntToString(uint32_t v) { return IntegerText(v); }

std::string FloatToString(float v) {
    // Precision 6 in the general format is "%g": six significant digits, trailing zeros dropped.
    char buffer[64];
    auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof(buffer), v, std::chars_format::general, 6);
    if (ec != std::errc()) return std::string();
    return std::string(buffer, ptr);
}

std::string ByteToString(uint8_t v) { return IntegerText(static_cast<unsigned>(v)); }

bool ParseInt(const std::string& text, int32_t& out) {
    const IntegerScan scan = ScanInteger(text, 10);
    out = 0;
    if (!scan.digits || scan.overflow) return false;
    const int64_t value = scan.negative ? -static_cast<int64_t>(scan.magnitude) : static_cast<int64_t>(scan.magnitude);
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) return false;
    out = static_cast<int32_t>(value);
    return true;
}

bool ParseUInt(const std::string& text, uint32_t& out) {
    // A minus sign wraps ("-1" is 4294967295): that is how a value above 2^31 - 1, written as a
    // negative decimal, reads back as the same unsigned.
    const IntegerScan scan = ScanInteger(text, 10);
    out = 0;
    if (!scan.digits || scan.overflow) return false;
    out = ScanUnsignedWrapped(scan);
    return true;
}

bool ParseFloat(const std::string& text, float& out) {
    out = 0.0f;
    float value = 0.0f;
    if (ScanFloat(text, value) != FloatScan::kOk) return false;
    out = value;
    return true;
}

int32_t StringToInt(const std::string& text) {
    int32_t v = 0;
    ParseInt(text, v);
    return v;
}

bool StringToBool(const std::string& text) {
    if (text == "true") return true;
    if (text == "false") return false;
    return StringToInt(text) != 0;
}

bool IsTrueText(const char* text) {
    const char first = text != nullptr ? text[0] : '\0';
    return first == '1' || first == 't' || first == 'T' || first == 'y' || first == 'Y';
}

std::wstring IntToWString(int32_t v) { return Widen(IntToString(v)); }

std::wstring UIntToWString(uint32_t v) { return Widen(UIntToString(v)); }

std::wstring FloatToWString(float v) { return Widen(FloatToString(v)); }

uint32_t ParseHex(const std::string& text) { return ScanUnsignedWrapped(ScanInteger(text, 16)); }

JS_COLOR_BYTES HexToColor(const std::string& text) {
    const uint32_t v = ScanUnsignedWrapped(ScanInteger(text, 16));
    JS_COLOR_BYTES color;
    for (int i = 0; i < 4; ++i) color.b[i] = static_cast<uint8_t>(v >> (8 * i));
    return color;
}

uint32_t PackARGB(const JS_COLOR_BYTES& bytes) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | bytes.b[i];
    return v;
}

void ParseColor(const std::string& text, JS_COLOR_BYTES& color) {
    const std::deque<std::string> pieces = SplitStdString(text, ' ', true);
    if (pieces.size() < 4) return;
    // Alpha, red, green, blue in the text; the bytes run blue, green, red, alpha.
    for (int i = 0; i < 4; ++i) color.b[3 - i] = static_cast<uint8_t>(AsciiToInt(pieces[static_cast<size_t>(i)]));
}

void ParseVector2(const std::string& text, float& x, float& y) {
    const std::deque<std::string> pieces = SplitStdString(text, ' ', true);
    if (pieces.size() < 2) return;
    x = AsciiToFloat(pieces[0]);
    y = AsciiToFloat(pieces[1]);
}

void ParseVector3(const std::string& text, float& x, float& y, float& z) {
    // Malformed data may give fewer than three pieces: the missing ones read as 0.
    const std::deque<std::string> pieces = SplitStdString(text, ' ', true);
    float* outs[3] = {&x, &y, &z};
    for (size_t i = 0; i < 3; ++i) *outs[i] = i < pieces.size() ? AsciiToFloat(pieces[i]) : 0.0f;
}

void ParsePoint(const std::string& text, int32_t& x, int32_t& y) {
    x = 0;
    y = 0;
    const std::deque<std::string> pieces = SplitStdString(text, ' ', true);
    if (pieces.size() < 2) return;
    x = AsciiToInt(pieces[0]);
    y = AsciiToInt(pieces[1]);
}

std::deque<std::string> SplitString(const char* text, char delimiter, bool drop) {
    if (text == nullptr) return {};
    return SplitStdString(std::string(text), delimiter, drop);
}

std::deque<std::string> SplitStdString(const std::string& text, char delimiter, bool drop) {
    std::deque<std::string> pieces;
    size_t start = 0;
    for (size_t pos = text.find(delimiter); pos != std::string::npos; pos = text.find(delimiter, start)) {
        pieces.push_back(text.substr(start, pos - start + (drop ? 0 : 1)));
        start = pos + 1;
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

std::string ReplaceBackslashes(std::string text) {
    for (char& c : text) {
        if (c == '\\') c = '/';
    }
    return text;
}

int32_t AsciiToInt(const std::string& text) {
    const IntegerScan scan = ScanInteger(text, 10);
    if (!scan.digits) return 0;
    // atoi leaves overflow undefined; clamping keeps it harmless.
    const uint64_t limit = scan.negative ? 2147483648ull : 2147483647ull;
    const uint64_t magnitude = scan.overflow || scan.magnitude > limit ? limit : scan.magnitude;
    return static_cast<int32_t>(scan.negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude));
}

float AsciiToFloat(const std::string& text) {
    float value = 0.0f;
    return ScanFloat(text, value) == FloatScan::kOk ? value : 0.0f;
}

std::wstring Utf8ToWide(const std::string& text) {
    std::wstring out;
    out.reserve(text.size());
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char lead = s[i];
        if (lead < 0x80) {
            out.push_back(static_cast<wchar_t>(lead));
            ++i;
            continue;
        }
        // Length and the allowed range of the second byte (which rules out overlong forms,
        // surrogates and values above U+10FFFF).
        size_t length = 0;
        uint32_t cp = 0;
        unsigned char lo = 0x80, hi = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            cp = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            cp = lead & 0x0Fu;
            if (lead == 0xE0) lo = 0xA0;
            if (lead == 0xED) hi = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            cp = lead & 0x07u;
            if (lead == 0xF0) lo = 0x90;
            if (lead == 0xF4) hi = 0x8F;
        }
        if (length == 0) {
            out.push_back(static_cast<wchar_t>(0xFFFD));
            ++i;
            continue;
        }
        // One U+FFFD for the longest valid beginning of a broken sequence.
        size_t used = 1;
        bool valid = true;
        for (; used < length; ++used) {
            if (i + used >= n) {
                valid = false;
                break;
            }
            const unsigned char c = s[i + used];
            const unsigned char min = used == 1 ? lo : 0x80;
            const unsigned char max = used == 1 ? hi : 0xBF;
            if (c < min || c > max) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (c & 0x3Fu);
        }
        out.push_back(static_cast<wchar_t>(valid ? cp : 0xFFFDu));
        i += used;
    }
    return out;
}

std::string WideToUtf8(const std::wstring& text) {
    static_assert(sizeof(wchar_t) == 4, "wide text is UTF-32");
    std::string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        auto cp = static_cast<uint32_t>(wc);
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

}  // namespace QRV
