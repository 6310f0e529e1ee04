#pragma once
// A trophy: an achievement earned from one play statistic, with an open picture (earned), a closed
// picture (not yet earned) and a money bonus. Its conditions compare a named value (the probe) with
// a target in one of four forms; only a trophy with exactly one condition is ever met.
//
// Trophy element (any name) of the trophies file:
//   attributes "name", "gc_id", "desc" (texts), "bonus" (decimal, 0 when absent), "image_open" and
//   "image_close" (the pictures' texture keys);
//   children "image_open" and "image_close": sprite descriptions of the pictures, read first, so
//   that the attributes (when present) name the textures; a description without an "ANIMATION"
//   block gives a one-frame picture;
//   conditions: every element from the first child named "condition" on, each with "name",
//   "value_type" ("bool", "float", "int", "uint"; any other text is bool), "value" and "operator"
//   (">", "<", "==", "!=", ">=", "<="; any other text is ">="). A condition lacking "value_type",
//   "value" or "operator" is skipped.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/graphics/animation.h"

namespace pugi {
class xml_node;
}
struct JSProperty;
class JCPropertyMap;

namespace QRV {

// Value types of a condition.
constexpr int32_t kTrophyTypeBool = 0;
constexpr int32_t kTrophyTypeFloat = 1;
constexpr int32_t kTrophyTypeInt = 2;
constexpr int32_t kTrophyTypeUInt = 3;

// Operators of a condition.
constexpr int32_t kTrophyGreater = 0;
constexpr int32_t kTrophyLess = 1;
constexpr int32_t kTrophyEqual = 2;
constexpr int32_t kTrophyNotEqual = 3;
constexpr int32_t kTrophyAtLeast = 4;
constexpr int32_t kTrophyAtMost = 5;

// A named value in the four forms a condition may compare.
struct JS_TROPHY_PROBE {
    std::string name;
    uint8_t boolValue = 0;
    float floatValue = 0.0f;
    int32_t intValue = 0;
    uint32_t uintValue = 0;
};

// A condition: its statistic's name and target (in the probe's fields), the form compared and the
// operator.
struct JS_TROPHY_CONDITION : JS_TROPHY_PROBE {
    int32_t valueType = kTrophyTypeBool;
    int32_t op = kTrophyAtLeast;
};

// Reads a condition element; false (and out untouched) when "value_type", "value" or "operator"
// is missing.
bool ReadTrophyCondition(const pugi::xml_node& element, JS_TROPHY_CONDITION& out);

// The probe of a property: bool is true when the integer form is not 0 or the text begins with
// one of 1, t, T, y, Y.
JS_TROPHY_PROBE MakeTrophyProbe(const std::string& name, const JSProperty& value);

// How far the probe has come towards the condition; met at 1.0 or more. 0.0 when the names differ.
// "==" and ">=" on float, int and uint measure p / c (truncating for the integers), except that an
// int or uint target of 0 or below is compared directly (1.0 when p >= c); bool ">" compares the
// bytes, bool ">=" is "=="; every other case is 1.0 when the comparison holds, else 0.0.
double TrophyProgress(const JS_TROPHY_CONDITION& condition, const JS_TROPHY_PROBE& probe);

class G_TROPHY {
public:
    explicit G_TROPHY(const pugi::xml_node& element);
    G_TROPHY(const G_TROPHY&) = delete;
    G_TROPHY& operator=(const G_TROPHY&) = delete;

    size_t ConditionCount() const { return conditions.size(); }

    // The one condition holds for the probe; false without a condition or with more than one.
    // Awards nothing.
    bool IsMet(const JS_TROPHY_PROBE& probe) const;
    // As above, the probe being the value of the map named by the condition; false when the map
    // has no such value.
    bool IsMet(const JCPropertyMap& values) const;

    std::string name;
    std::string gcId;
    std::string desc;
    G_ANIMATION openPicture;
    G_ANIMATION closedPicture;
    int32_t bonus = 0;
    bool awarded = false;
    std::vector<JS_TROPHY_CONDITION> conditions;
};

}  // namespace QRV
