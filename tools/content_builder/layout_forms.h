// The value forms of layout files, as the engine reads them: numbers separated by single blanks
// (the readers split at every blank, so two blanks shift the numbers), booleans written as
// "true" or "false", colours as eight hexadecimal digits or as four decimal bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ContentBuilder {

enum class ValueForm {
    kId,            // a positive integer: widget ids, control ids
    kInt,           // a decimal integer
    kCount,         // an integer of at least 0
    kBool,          // "true" or "false"
    kSeconds,       // a number of at least 0
    kFloat,         // a number
    kFloatPair,     // "x y"
    kPoint,         // "x y", integers
    kFourNumbers,   // "a b c d"
    kTransform,     // 12 numbers: position x y z, pivot x y z, rotation x y z (radians), scale x y z
    kHexColour,     // AARRGGBB, exactly eight hexadecimal digits
    kArgbColour,    // "a r g b", four integers 0..255
    kHotSpotIndex,  // an integer 0..8
    kHotSpotName,   // HS_UL, HS_MU, HS_UR, HS_ML, HS_MID, HS_MR, HS_DL, HS_MD, HS_DR
    kAlignment,     // LEFT, CENTER, RIGHT
    kText,          // anything
};

// Empty when the text has the form, otherwise why it does not.
std::string CheckValueForm(std::string_view text, ValueForm form);

// Decimal numbers separated by single blanks, read without regard to the locale; nullopt when
// the text is anything else (empty, other separators, something that is no number).
std::optional<std::vector<double>> ParseNumberList(std::string_view text);

// A decimal integer and nothing else.
std::optional<long long> ParseInteger(std::string_view text);

}  // namespace ContentBuilder
