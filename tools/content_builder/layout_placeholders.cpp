#include "tools/content_builder/layout_placeholders.h"

#include <cstdio>
#include <span>

#include "tools/content_builder/theme.h"
#include "tools/content_builder/xml_number.h"

namespace ContentBuilder {
namespace {

const Theme::LayoutColour* FindColour(std::string_view name) {
    for (const Theme::LayoutColour& c : Theme::kLayoutColours)
        if (c.name == name) return &c;
    for (const Theme::LayoutColour& c : Theme::kTitleLayoutColours)
        if (c.name == name) return &c;
    return nullptr;
}

const Theme::LayoutValue* FindValue(std::string_view name) {
    for (const std::span<const Theme::LayoutValue> values :
         {std::span<const Theme::LayoutValue>(Theme::kLayoutValues),
          std::span<const Theme::LayoutValue>(Theme::kGameWindowValues),
          std::span<const Theme::LayoutValue>(Theme::kTitleWindowValues)})
        for (const Theme::LayoutValue& v : values)
            if (v.name == name) return &v;
    return nullptr;
}

// The text of one placeholder body "<kind>:<name>", or empty when it names nothing.
std::string Resolve(std::string_view body) {
    const size_t colon = body.find(':');
    if (colon == std::string_view::npos) return {};
    const std::string_view kind = body.substr(0, colon), name = body.substr(colon + 1);
    if (kind == "value") {
        const Theme::LayoutValue* v = FindValue(name);
        return v != nullptr ? XmlNumber(v->value) : std::string();
    }
    const Theme::LayoutColour* c = FindColour(name);
    if (c == nullptr) return {};
    if (kind == "hex") {
        char text[9];
        std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(Theme::Argb(c->colour, c->alpha)));
        return text;
    }
    if (kind == "argb") {
        return XmlNumber(int{c->alpha}) + " " + XmlNumber(int{c->colour.r}) + " " + XmlNumber(int{c->colour.g}) + " " +
               XmlNumber(int{c->colour.b});
    }
    return {};
}

}  // namespace

std::string ExpandLayoutPlaceholders(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (true) {
        const size_t open = text.find("{{", pos);
        if (open == std::string_view::npos) break;
        out.append(text.substr(pos, open - pos));
        const size_t close = text.find("}}", open + 2);
        if (close == std::string_view::npos || text.substr(open, close - open).find('\n') != std::string_view::npos)
            throw PlaceholderError(open, "\"{{\" without \"}}\" on the same line");
        const std::string_view body = text.substr(open + 2, close - open - 2);
        const std::string value = Resolve(body);
        if (value.empty()) throw PlaceholderError(open, "unknown placeholder {{" + std::string(body) + "}}");
        out += value;
        pos = close + 2;
    }
    out.append(text.substr(pos));
    return out;
}

}  // namespace ContentBuilder
