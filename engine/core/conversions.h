#pragma once
// Text and number conversions. Every reader and writer here is independent of the user's locale.

#include <cstdint>
#include <deque>
#include <string>

namespace QRV {

std::string IntToString(int32_t v);
std::string UIntToString(uint32_t v);
// Six significant digits, no trailing zeros (the stream's default format).
std::string FloatToString(float v);
// The byte as a decimal number: 1 gives "1".
std::string ByteToString(uint8_t v);

// Each reads one number from the start of the text; true when the read did not fail.
bool ParseInt(const std::string& text, int32_t& out);
bool ParseUInt(const std::string& text, uint32_t& out);
bool ParseFloat(const std::string& text, float& out);

int32_t StringToInt(const std::string& text);
// "true" gives true, "false" false, anything else is read as an integer (non-zero is true).
bool StringToBool(const std::string& text);
// The flag form of layout, window and catalogue attributes: true when the first character is 1,
// t, T, y or Y; an empty text (or null) is false.
bool IsTrueText(const char* text);

std::wstring IntToWString(int32_t v);
std::wstring UIntToWString(uint32_t v);
std::wstring FloatToWString(float v);

uint32_t ParseHex(const std::string& text);

// Four colour bytes, lowest first: for an ARGB word, b[0] is blue and b[3] alpha.
struct JS_COLOR_BYTES {
    uint8_t b[4] = {0, 0, 0, 0};
};

JS_COLOR_BYTES HexToColor(const std::string& text);
uint32_t PackARGB(const JS_COLOR_BYTES& bytes);
// "a r g b" as four decimal pieces; fewer pieces leave the colour unchanged.
void ParseColor(const std::string& text, JS_COLOR_BYTES& color);

// Two numbers separated by blanks; fewer than two leave x and y unchanged.
void ParseVector2(const std::string& text, float& x, float& y);
// Three numbers; missing pieces read as 0.
void ParseVector3(const std::string& text, float& x, float& y, float& z);
// Two integers; (0, 0) unless there are at least two pieces.
void ParsePoint(const std::string& text, int32_t& x, int32_t& y);

// Cuts at every delimiter. With drop, the delimiter is in no piece; without, each piece but the
// last ends with it. Empty pieces are kept.
std::deque<std::string> SplitString(const char* text, char delimiter, bool drop);
std::deque<std::string> SplitStdString(const std::string& text, char delimiter, bool drop);

std::string ReplaceBackslashes(std::string text);

// Locale-independent stand-ins for the C library's atoi and atof.
int32_t AsciiToInt(const std::string& text);
float AsciiToFloat(const std::string& text);

// UTF-8 <-> wide text at the program's edges. Invalid bytes become U+FFFD.
std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

}  // namespace QRV
