#include "engine/core/format_wide_checked.h"

#include <gtest/gtest.h>

#include <string>

namespace QRV {
namespace {

TEST(FormatWideChecked, ConversionsMatchingTheirArgumentsAreFormatted) {
    const struct {
        std::wstring got;
        const wchar_t* want;
    } cases[] = {
        {FormatWideChecked(L"%s has %d stars", {std::wstring(L"Ann"), 3}), L"Ann has 3 stars"},
        {FormatWideChecked(L"%05d|%u|%i", {-42, 4000000000u, 7}), L"-0042|4000000000|7"},
        {FormatWideChecked(L"%u of %d", {-1, 5u}), L"4294967295 of 5"},  // any integer for d, i, u
        {FormatWideChecked(L"%.2f%%", {12.345}), L"12.35%"},
        {FormatWideChecked(L"[%4s]", {std::wstring(L"ab")}), L"[  ab]"},
        {FormatWideChecked(L"%ld", {9}), L"9"},
        {FormatWideChecked(L"plain", {1, 2}), L"plain"},  // arguments left over are ignored
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST(FormatWideChecked, MismatchedMissingAndUnknownConversionsAreWrittenLiterally) {
    const struct {
        std::wstring got;
        const wchar_t* want;
    } cases[] = {
        // Each conversion uses up its argument, so the later ones keep their partners.
        {FormatWideChecked(L"%s has %d", {5, std::wstring(L"x")}), L"%s has %d"},
        {FormatWideChecked(L"%s has %d", {5, 6}), L"%s has 6"},
        {FormatWideChecked(L"%d and %05.1f", {1}), L"1 and %05.1f"},
        {FormatWideChecked(L"%f", {3}), L"%f"},
        {FormatWideChecked(L"%d", {2.5}), L"%d"},
        {FormatWideChecked(L"%x then %d", {1, 2}), L"%x then 2"},
        {FormatWideChecked(L"50%", {}), L"50%"},
        {FormatWideChecked(L"50%0", {}), L"50%0"},
        {FormatWideChecked(L"%s", {}), L"%s"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST(FormatWideChecked, ResultsAreCutAtTheCapacity) {
    EXPECT_EQ(FormatWideChecked(L"abcdef", {}, 4), L"abc");
    EXPECT_EQ(FormatWideChecked(L"a%sz", {std::wstring(L"bcdef")}, 4), L"abc");
    EXPECT_EQ(FormatWideChecked(L"ab%xyz", {}, 4), L"ab%");
    EXPECT_EQ(FormatWideChecked(L"x", {}, 0), L"");
    const std::wstring longText(600, L'w');
    EXPECT_EQ(FormatWideChecked(L"%s!", {longText}).size(), 511u);
}

}  // namespace
}  // namespace QRV
