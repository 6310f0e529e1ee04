#include "engine/core/format_wide.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

using QRV::FormatWide;

// Formats into a buffer of the given capacity that is pre-filled with a marker, so a missing
// terminator or a write past capacity - 1 shows up.
std::wstring Format(size_t capacity, const wchar_t* format, ...) {
    wchar_t buffer[64];
    for (wchar_t& c : buffer) c = L'#';
    va_list args;
    va_start(args, format);
    QRV::FormatWideV(buffer, capacity, format, args);
    va_end(args);
    EXPECT_EQ(buffer[capacity], L'#') << "wrote past the capacity";
    return std::wstring(buffer);
}

TEST(FormatWide, Conversions) {
    const struct {
        std::wstring got;
        const wchar_t* want;
    } cases[] = {
        {Format(32, L"%05d", 42), L"00042"},
        {Format(32, L"%5d|%-", 42), L"   42|"},  // "-" is no flag here: it ends the output
        {Format(32, L"%05d", -42), L"-0042"},
        {Format(32, L"%i and %u", INT_MIN, 4000000000u), L"-2147483648 and 4000000000"},
        {Format(32, L"%ld", 7), L"7"},
        {Format(32, L"%3s", L"ab"), L" ab"},
        {Format(32, L"%1s!", L"abc"), L"abc!"},
        {Format(32, L"[%s]", L""), L"[]"},
        {Format(32, L"100%%"), L"100%"},
        {Format(32, L"a%xb", 5), L"a"},
        {Format(32, L"a%"), L"a"},
        {Format(32, L"x%sy", static_cast<const wchar_t*>(nullptr)), L"x"},
        {Format(32, L"%f", 1.5), L"1.500000"},
        {Format(32, L"%.2f", 2.345), L"2.35"},
        {Format(32, L"%.0f", 2.5), L"2"},
        {Format(32, L"%08.3f", -3.14159), L"-003.142"},
        {Format(32, L"%d:%02d", 3, 5), L"3:05"},
        {Format(32, L"\x00e9t\x00e9 %s", L"\x20ac"), L"\x00e9t\x00e9 \x20ac"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST(FormatWide, StaysWithinCapacity) {
    const struct {
        std::wstring got;
        const wchar_t* want;
    } cases[] = {
        {Format(1, L"abc"), L""},
        {Format(4, L"abcdef"), L"abc"},
        {Format(4, L"%10d", 5), L"   "},
        {Format(4, L"%05d", 123456), L"123"},
        {Format(5, L"%s%s", L"abc", L"def"), L"abcd"},
        {Format(3, L"%f", 1.0), L"1."},
        {Format(6, L"%999999999999d", 1), L"     "},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST(FormatWide, MissingBufferOrFormatDoesNothing) {
    wchar_t buffer[4] = {L'#', L'#', L'#', L'#'};
    FormatWide(buffer, 0, L"abc");
    EXPECT_EQ(buffer[0], L'#');
    FormatWide(buffer, 4, nullptr);
    EXPECT_EQ(buffer[0], L'#');
    FormatWide(nullptr, 4, L"abc");  // must not crash

    char narrow[8];
    QRV::FormatString(narrow, sizeof(narrow), "%d-%s", 12, "abcdefgh");
    EXPECT_STREQ(narrow, "12-abcd");
}

}  // namespace
