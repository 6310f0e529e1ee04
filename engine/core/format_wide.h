#pragma once
// The engine's own printf-style formatters. Data from files is never used as a format.

#include <cstdarg>
#include <cstddef>

namespace QRV {

// Wide formatter: %%, optional 0 flag, width, ".digits" precision (used by f, default 6), optional
// l, and the conversions s (wide string), d, i, u, f. An unknown conversion ends the output. The
// output is always terminated within capacity.
void FormatWide(wchar_t* buffer, size_t capacity, const wchar_t* format, ...);
void FormatWideV(wchar_t* buffer, size_t capacity, const wchar_t* format, va_list args);

// Narrow formatted print into a buffer (the C library's, which is locale-free for our formats).
void FormatString(char* buffer, size_t size, const char* format, ...) __attribute__((format(printf, 3, 4)));

}  // namespace QRV
