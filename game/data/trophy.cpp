#include "game/data/trophy.h"

#include <pugixml.hpp>

#include "engine/core/conversions.h"
#include "engine/core/property_map.h"

namespace QRV {
namespace {

int32_t ValueTypeOf(const std::string& text) {
    if (text == "float") return kTrophyTypeFloat;
    if (text == "int") return kTrophyTypeInt;
    if (text == "uint") return kTrophyTypeUInt;
    return kTrophyTypeBool;
}

int32_t OperatorOf(const std::string& text) {
    if (text == ">") return kTrophyGreater;
    if (text == "<") return kTrophyLess;
    if (text == "==") return kTrophyEqual;
    if (text == "!=") return kTrophyNotEqual;
    if (text == "<=") return kTrophyAtMost;
    return kTrophyAtLeast;
}

double Holds(bool holds) { return holds ? 1.0 : 0.0; }

// The comparisons every numeric form shares; "==" and ">=" are measured by the caller.
template <typename T>
double Compare(int32_t op, T p, T c) {
    switch (op) {
        case kTrophyGreater: return Holds(p > c);
        case kTrophyLess: return Holds(p < c);
        case kTrophyNotEqual: return Holds(p != c);
        case kTrophyAtMost: return Holds(p <= c);
        default: return 0.0;
    }
}

bool Measured(int32_t op) { return op == kTrophyEqual || op == kTrophyAtLeast; }

// A picture: the child description first, then the attribute names the texture.
void LoadPicture(G_ANIMATION& picture, const pugi::xml_node& trophy, const char* key) {
    // Without an "ANIMATION" block the load reports false and the picture keeps its one frame.
    if (const pugi::xml_node description = trophy.child(key)) picture.Load(description);
    if (const pugi::xml_attribute texture = trophy.attribute(key)) picture.textureName = texture.value();
}

}  // namespace

bool ReadTrophyCondition(const pugi::xml_node& element, JS_TROPHY_CONDITION& out) {
    const pugi::xml_attribute type = element.attribute("value_type");
    const pugi::xml_attribute value = element.attribute("value");
    const pugi::xml_attribute op = element.attribute("operator");
    if (!type || !value || !op) return false;
    out.name = element.attribute("name").as_string();
    out.valueType = ValueTypeOf(type.value());
    out.op = OperatorOf(op.value());
    const std::string text = value.value();
    out.boolValue = IsTrueText(text.c_str()) ? 1 : 0;
    out.floatValue = AsciiToFloat(text);
    out.intValue = AsciiToInt(text);
    ParseUInt(text, out.uintValue);
    return true;
}

JS_TROPHY_PROBE MakeTrophyProbe(const std::string& name, const JSProperty& value) {
    JS_TROPHY_PROBE probe;
    probe.name = name;
    probe.boolValue = value.intValue != 0 || IsTrueText(value.text.c_str()) ? 1 : 0;
    probe.floatValue = value.floatValue;
    probe.intValue = value.intValue;
    probe.uintValue = value.uintValue;
    return probe;
}

double TrophyProgress(const JS_TROPHY_CONDITION& condition, const JS_TROPHY_PROBE& probe) {
    if (probe.name != condition.name) return 0.0;
    const int32_t op = condition.op;
    switch (condition.valueType) {
        case kTrophyTypeFloat: {
            const float p = probe.floatValue, c = condition.floatValue;
            if (!Measured(op)) return Compare(op, p, c);
            // As for integers: no division by a target of 0 or below.
            if (!(c > 0.0f)) return Holds(p >= c);
            return static_cast<double>(p / c);
        }
        case kTrophyTypeInt: {
            const int32_t p = probe.intValue, c = condition.intValue;
            if (!Measured(op)) return Compare(op, p, c);
            // A target of 0 would divide by zero, and a negative one would turn the measure around.
            if (c <= 0) return Holds(p >= c);
            return static_cast<double>(p / c);
        }
        case kTrophyTypeUInt: {
            const uint32_t p = probe.uintValue, c = condition.uintValue;
            if (!Measured(op)) return Compare(op, p, c);
            if (c == 0) return 1.0;
            return static_cast<double>(p / c);
        }
        default: {
            const uint8_t p = probe.boolValue, c = condition.boolValue;
            if (Measured(op)) return Holds(p == c);
            return Compare(op, p, c);
        }
    }
}

G_TROPHY::G_TROPHY(const pugi::xml_node& element)
    : name(element.attribute("name").as_string()), gcId(element.attribute("gc_id").as_string()),
      desc(element.attribute("desc").as_string()), bonus(AsciiToInt(element.attribute("bonus").as_string())) {
    LoadPicture(openPicture, element, "image_open");
    LoadPicture(closedPicture, element, "image_close");
    for (pugi::xml_node child = element.child("condition"); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        JS_TROPHY_CONDITION condition;
        if (ReadTrophyCondition(child, condition)) conditions.push_back(condition);
    }
}

bool G_TROPHY::IsMet(const JS_TROPHY_PROBE& probe) const {
    if (conditions.size() != 1) return false;
    return TrophyProgress(conditions.front(), probe) >= 1.0;
}

bool G_TROPHY::IsMet(const JCPropertyMap& values) const {
    if (conditions.size() != 1) return false;
    const JSProperty* value = values.Find(conditions.front().name);
    if (value == nullptr) return false;
    return IsMet(MakeTrophyProbe(conditions.front().name, *value));
}

}  // namespace QRV
