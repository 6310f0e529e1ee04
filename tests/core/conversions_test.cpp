#include "engine/core/conversions.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>
#include <utility>

namespace {

using namespace QRV;

TEST(ConversionsParse, ReadsOneNumberLikeADecimalStream) {
    const struct {
        const char* text;
        bool intOk;
        int32_t i;
        bool uintOk;
        uint32_t u;
        bool floatOk;
        float f;
    } cases[] = {
        {"12.5", true, 12, true, 12, true, 12.5f},
        {" \t-7x", true, -7, true, 4294967289u, true, -7.0f},
        {"+3", true, 3, true, 3, true, 3.0f},
        {"abc", false, 0, false, 0, false, 0.0f},
        {"", false, 0, false, 0, false, 0.0f},
        {"-", false, 0, false, 0, false, 0.0f},
        {".5", false, 0, false, 0, true, 0.5f},
        {"2147483648", false, 0, true, 2147483648u, true, 2147483648.0f},
        {"-2147483648", true, INT32_MIN, true, 2147483648u, true, -2147483648.0f},
        {"4294967296", false, 0, false, 0, true, 4294967296.0f},
        {"1e3", true, 1, true, 1, true, 1000.0f},
        {"1e60", true, 1, true, 1, false, 0.0f},  // float overflow fails
        {"inf", false, 0, false, 0, false, 0.0f},
        {"0x1A", true, 0, true, 0, true, 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        int32_t i = 99;
        uint32_t u = 99;
        float f = 99.0f;
        EXPECT_EQ(ParseInt(c.text, i), c.intOk);
        EXPECT_EQ(i, c.i);
        EXPECT_EQ(ParseUInt(c.text, u), c.uintOk);
        EXPECT_EQ(u, c.u);
        EXPECT_EQ(ParseFloat(c.text, f), c.floatOk);
        EXPECT_FLOAT_EQ(f, c.f);
    }
}

TEST(ConversionsWrite, NumbersInTheDefaultStreamFormat) {
    const struct {
        float v;
        const char* text;
    } floats[] = {
        {0.1f, "0.1"},       {100.0f, "100"},       {-2.25f, "-2.25"},         {1234567.0f, "1.23457e+06"},
        {0.00001f, "1e-05"}, {123456.0f, "123456"}, {1.0f / 3.0f, "0.333333"}, {0.0f, "0"},
    };
    for (const auto& c : floats) EXPECT_EQ(FloatToString(c.v), c.text);
    EXPECT_EQ(IntToString(INT32_MIN), "-2147483648");
    EXPECT_EQ(UIntToString(UINT32_MAX), "4294967295");
    EXPECT_EQ(ByteToString(1), "1");
    EXPECT_EQ(ByteToString(255), "255");
    EXPECT_EQ(IntToWString(-5), L"-5");
    EXPECT_EQ(UIntToWString(7), L"7");
    EXPECT_EQ(FloatToWString(0.5f), L"0.5");
}

TEST(ConversionsBool, OnlyExactWordsThenIntegers) {
    const struct {
        const char* text;
        bool want;
    } cases[] = {{"true", true}, {"false", false}, {"TRUE", false}, {"2", true},
                 {"0", false},   {"x", false},     {"", false},     {"-1", true}};
    for (const auto& c : cases) EXPECT_EQ(StringToBool(c.text), c.want) << c.text;
    EXPECT_EQ(StringToInt("42abc"), 42);
    EXPECT_EQ(StringToInt("abc"), 0);
}

TEST(ConversionsBool, FlagTextsAreReadByTheirFirstCharacter) {
    for (const char* text : {"1", "t", "T", "y", "Y", "true", "yes", "Yellow", "10"}) {
        EXPECT_TRUE(IsTrueText(text)) << text;
    }
    for (const char* text : {"", "0", "f", "false", "n", "no", " t", "2", "-1", "x"}) {
        EXPECT_FALSE(IsTrueText(text)) << text;
    }
    EXPECT_FALSE(IsTrueText(nullptr));
}

TEST(ConversionsSplit, KeepsEmptyPiecesAndOptionallyTheDelimiter) {
    using Pieces = std::deque<std::string>;
    const struct {
        const char* text;
        bool drop;
        Pieces want;
    } cases[] = {
        {"a b", true, {"a", "b"}},
        {"a b", false, {"a ", "b"}},
        {"a  b", true, {"a", "", "b"}},
        {"a b ", true, {"a", "b", ""}},
        {"", true, {""}},
        {"ab", false, {"ab"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitStdString(c.text, ' ', c.drop), c.want) << c.text << " drop " << c.drop;
        EXPECT_EQ(SplitString(c.text, ' ', c.drop), c.want) << c.text << " drop " << c.drop;
    }
    EXPECT_TRUE(SplitString(nullptr, ' ', true).empty());
    EXPECT_EQ(SplitStdString("x|y", '|', true), (Pieces{"x", "y"}));
    EXPECT_EQ(ReplaceBackslashes("a\\b\\c/d"), "a/b/c/d");
}

TEST(ConversionsColor, HexAndDecimalFormsAgree) {
    EXPECT_EQ(PackARGB(HexToColor("FF102030")), 0xFF102030u);
    EXPECT_EQ(HexToColor("FF102030").b[0], 0x30);  // lowest byte first
    EXPECT_EQ(PackARGB(HexToColor("0x80ff00")), 0x0080FF00u);
    EXPECT_EQ(PackARGB(HexToColor("zz")), 0u);
    EXPECT_EQ(PackARGB(HexToColor("1FF102030")), 0xFFFFFFFFu);  // too long saturates, as strtoul

    JS_COLOR_BYTES color;
    ParseColor("255 16 32 48", color);
    EXPECT_EQ(PackARGB(color), 0xFF102030u);
    ParseColor("1 2 3", color);  // too few pieces: unchanged
    EXPECT_EQ(PackARGB(color), 0xFF102030u);

    EXPECT_EQ(ParseHex("ff"), 255u);
    EXPECT_EQ(ParseHex("0x10"), 16u);
    EXPECT_EQ(ParseHex("-1"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseHex("g"), 0u);
}

TEST(ConversionsVectors, MissingPiecesAreHandled) {
    float x = 7.0f, y = 8.0f, z = 9.0f;
    ParseVector2("1.5", x, y);  // fewer than two: unchanged
    EXPECT_EQ((std::pair{x, y}), (std::pair{7.0f, 8.0f}));
    ParseVector2("1.5 -2 5", x, y);
    EXPECT_EQ((std::pair{x, y}), (std::pair{1.5f, -2.0f}));

    ParseVector3("1 2", x, y, z);  // must not read past the pieces
    EXPECT_EQ((std::tuple{x, y, z}), (std::tuple{1.0f, 2.0f, 0.0f}));
    ParseVector3("4 5 6", x, y, z);
    EXPECT_EQ((std::tuple{x, y, z}), (std::tuple{4.0f, 5.0f, 6.0f}));

    int32_t px = 5, py = 5;
    ParsePoint("12", px, py);
    EXPECT_EQ((std::pair{px, py}), (std::pair{0, 0}));
    ParsePoint("12 -3", px, py);
    EXPECT_EQ((std::pair{px, py}), (std::pair{12, -3}));

    EXPECT_EQ(AsciiToInt(" 12px"), 12);
    EXPECT_EQ(AsciiToInt("x"), 0);
    EXPECT_EQ(AsciiToInt("99999999999"), INT32_MAX);
    EXPECT_EQ(AsciiToFloat("2.5e1z"), 25.0f);
    EXPECT_EQ(AsciiToFloat("nope"), 0.0f);
}

TEST(ConversionsUtf8, RoundTripAndReplacement) {
    const std::string text = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // A, e-acute, euro, emoji
    const std::wstring wide = Utf8ToWide(text);
    EXPECT_EQ(wide, (std::wstring{L'A', 0xE9, 0x20AC, 0x1F600}));
    EXPECT_EQ(WideToUtf8(wide), text);

    const struct {
        const char* bytes;
        std::wstring want;
    } broken[] = {
        {"\xFFx", {0xFFFD, L'x'}},
        {"\xC3", {0xFFFD}},                          // cut short
        {"\xE2\x82x", {0xFFFD, L'x'}},               // one replacement for the broken sequence
        {"\xC0\xAF", {0xFFFD, 0xFFFD}},              // overlong
        {"\xED\xA0\x80", {0xFFFD, 0xFFFD, 0xFFFD}},  // surrogate
    };
    for (const auto& c : broken) EXPECT_EQ(Utf8ToWide(c.bytes), c.want) << c.bytes;
    EXPECT_EQ(WideToUtf8(std::wstring{static_cast<wchar_t>(0xD800)}), "\xEF\xBF\xBD");
}

}  // namespace
