#include "engine/core/format_wide.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <system_error>

namespace QRV {

namespace {

// Writes into the caller's buffer, keeping one place for the terminator.
class WideWriter {
public:
    WideWriter(wchar_t* buffer, size_t capacity) : buffer_(buffer), limit_(capacity - 1) {}
    ~WideWriter() { buffer_[pos_] = L'\0'; }

    bool Full() const { return pos_ >= limit_; }
    void Put(wchar_t c) {
        if (!Full()) buffer_[pos_++] = c;
    }
    void Repeat(wchar_t c, size_t count) {
        for (size_t i = 0; i < count && !Full(); ++i) Put(c);
    }

private:
    wchar_t* buffer_;
    size_t limit_;
    size_t pos_ = 0;
};

// Upper bounds that keep a silly format harmless; the buffer limits the output anyway.
constexpr size_t kMaxWidth = 1u << 20;
constexpr int kMaxPrecision = 100;

size_t ReadNumber(const wchar_t*& p, size_t cap) {
    size_t n = 0;
    while (*p >= L'0' && *p <= L'9') {
        n = n * 10 + static_cast<size_t>(*p - L'0');
        if (n > cap) n = cap;
        ++p;
    }
    return n;
}

// A number already written as ASCII (sign first when negative), padded on the left to the width.
void PutPadded(WideWriter& out, const char* begin, const char* end, size_t width, bool zeroPad) {
    const auto length = static_cast<size_t>(end - begin);
    const size_t padding = width > length ? width - length : 0;
    if (zeroPad) {
        // Zeros go between the sign and the digits, as printf does.
        if (begin != end && *begin == '-') out.Put(static_cast<wchar_t>(*begin++));
        out.Repeat(L'0', padding);
    } else {
        out.Repeat(L' ', padding);
    }
    for (const char* c = begin; c != end; ++c) out.Put(static_cast<wchar_t>(*c));
}

}  // namespace

void FormatWideV(wchar_t* buffer, size_t capacity, const wchar_t* format, va_list args) {
    if (buffer == nullptr || format == nullptr || capacity == 0) return;
    WideWriter out(buffer, capacity);

    for (const wchar_t* p = format; *p != L'\0' && !out.Full();) {
        if (*p != L'%') {
            out.Put(*p++);
            continue;
        }
        ++p;
        if (*p == L'%') {
            out.Put(L'%');
            ++p;
            continue;
        }
        bool zeroPad = false;
        if (*p == L'0') {
            zeroPad = true;
            ++p;
        }
        const size_t width = ReadNumber(p, kMaxWidth);
        int precision = 6;
        if (*p == L'.') {
            ++p;
            precision = static_cast<int>(ReadNumber(p, kMaxPrecision));
        }
        // Integer arguments are int-sized whatever the "l" says.
        if (*p == L'l') ++p;

        char digits[512];
        switch (*p++) {
            case L's': {
                const wchar_t* s = va_arg(args, const wchar_t*);
                if (s == nullptr) return;
                size_t length = 0;
                while (s[length] != L'\0') ++length;
                if (width > length) out.Repeat(L' ', width - length);
                for (size_t i = 0; i < length && !out.Full(); ++i) out.Put(s[i]);
                break;
            }
            case L'd':
            case L'i': {
                const int v = va_arg(args, int);
                auto [end, ec] = std::to_chars(digits, digits + sizeof(digits), v);
                (void)ec;
                PutPadded(out, digits, end, width, zeroPad);
                break;
            }
            case L'u': {
                const unsigned v = va_arg(args, unsigned);
                auto [end, ec] = std::to_chars(digits, digits + sizeof(digits), v);
                (void)ec;
                PutPadded(out, digits, end, width, zeroPad);
                break;
            }
            case L'f': {
                const double v = va_arg(args, double);
                auto [end, ec] = std::to_chars(digits, digits + sizeof(digits), v, std::chars_format::fixed, precision);
                if (ec != std::errc()) end = digits;
                PutPadded(out, digits, end, width, zeroPad && std::isfinite(v));
                break;
            }
            default:
                // An unknown conversion (or the end of the format) ends the output.
                return;
        }
    }
}

void FormatWide(wchar_t* buffer, size_t capacity, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    FormatWideV(buffer, capacity, format, args);
    va_end(args);
}

void FormatString(char* buffer, size_t size, const char* format, ...) {
    if (buffer == nullptr || size == 0) return;
    if (format == nullptr) {
        buffer[0] = '\0';
        return;
    }
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, size, format, args);
    va_end(args);
}

}  // namespace QRV
