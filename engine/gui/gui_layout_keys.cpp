// The keys every widget element may carry, the value forms of layout keys, and transforms placed
// by screen fractions.
#include <pugixml.hpp>

#include <cstring>

#include "engine/core/callback.h"
#include "engine/core/conversions.h"
#include "engine/graphics/render.h"
#include "engine/graphics/transform.h"
#include "engine/gui/gui_layout.h"
#include "engine/gui/gui_layout_values.h"
#include "engine/gui/gui_object.h"

using namespace QRV;

namespace LayoutValues {

bool ToBool(const pugi::xml_attribute& attribute) { return IsTrueText(attribute.value()); }

int32_t ToInt(const pugi::xml_attribute& attribute) { return AsciiToInt(attribute.value()); }

uint32_t ToUInt(const pugi::xml_attribute& attribute) {
    uint32_t value = 0;
    ParseUInt(attribute.value(), value);
    return value;
}

float ToFloat(const pugi::xml_attribute& attribute, float fallback) {
    return attribute ? AsciiToFloat(attribute.value()) : fallback;
}

std::string Blanks(const char* text) {
    std::string out;
    bool gap = false;
    for (const char* c = text; c != nullptr && *c != 0; ++c) {
        if (*c == ' ' || *c == '\t' || *c == '\n' || *c == '\r') {
            gap = true;
            continue;
        }
        if (gap && !out.empty()) out.push_back(' ');
        gap = false;
        out.push_back(*c);
    }
    return out;
}

uint32_t HexColor(const pugi::xml_attribute& attribute) { return PackARGB(HexToColor(Blanks(attribute.value()))); }

uint32_t DecimalColor(const pugi::xml_attribute& attribute) {
    JS_COLOR_BYTES color = HexToColor("FF000000");
    ParseColor(Blanks(attribute.value()), color);
    return PackARGB(color);
}

JS_CALLBACK* ReadScript(const pugi::xml_node& element, const char* event, JC_GUI_OBJECT* widget) {
    JS_CALLBACK* record = nullptr;
    for (const pugi::xml_node script : element.child("SCRIPTS").children()) {
        if (script.type() != pugi::node_element) continue;
        const char* name = script.text().as_string();
        if (std::strcmp(script.attribute("EVENT").value(), event) != 0 || name[0] == 0) continue;
        delete record;
        record = new JS_CALLBACK();
        record->name = name;
        record->argument = reinterpret_cast<uintptr_t>(widget);
    }
    return record;
}

}  // namespace LayoutValues

namespace {

// Turns the flag on (or off) through the widget's own setter. Off runs after the nested widgets
// exist so that it covers them; on runs before, so that it reaches only the widget itself and a
// nested widget that says otherwise keeps its own flag.
void ApplyFlags(JC_GUI_OBJECT* widget, const pugi::xml_node& element, bool value) {
    const pugi::xml_attribute enable = element.attribute("ENABLE");
    if (enable && LayoutValues::ToBool(enable) == value) widget->SetEnabled(value);
    const pugi::xml_attribute visible = element.attribute("VISIBLE");
    if (visible && LayoutValues::ToBool(visible) == value) widget->SetVisible(value);
}

void BuildNested(JC_GUI_OBJECT* widget, const pugi::xml_node& context) {
    for (const pugi::xml_node child : context.children()) {
        if (child.type() != pugi::node_element) continue;
        JC_GUI_OBJECT* nested = CreateGuiWidget(child);
        if (nested == nullptr) continue;
        nested->transform->parent = widget->transform;
        widget->AddChild(nested);
    }
}

float LogicalWidth() { return g_render != nullptr ? static_cast<float>(g_render->width) : 1024.0f; }
float LogicalHeight() { return g_render != nullptr ? static_cast<float>(g_render->height) : 768.0f; }

}  // namespace

void ApplyCommonWidgetKeys(JC_GUI_OBJECT* widget, const pugi::xml_node& element) {
    if (widget == nullptr) return;
    ApplyFlags(widget, element, true);
    if (const pugi::xml_node placement = element.child("TRANSFORM")) {
        Parse(*widget->transform, LayoutValues::Blanks(placement.text().as_string()));
    }
    if (const pugi::xml_node size = element.child("SIZE")) {
        int32_t w = 0, h = 0;
        ParsePoint(LayoutValues::Blanks(size.text().as_string()), w, h);
        widget->SetSize(w, h);
    }
    if (const pugi::xml_node position = element.child("POSITION")) {
        int32_t x = 0, y = 0;
        ParsePoint(LayoutValues::Blanks(position.text().as_string()), x, y);
        widget->SetPosition(static_cast<float>(x), static_cast<float>(y), 0.0f);
    }
    if (const pugi::xml_node context = element.child("CONTEXT")) BuildNested(widget, context);
    ApplyFlags(widget, element, false);
}

void ReadAutoTransform(JS_TRANSFORM3_AUTO& transform, const pugi::xml_node& element) {
    Parse(transform, LayoutValues::Blanks(element.text().as_string()));
    if (const pugi::xml_attribute x = element.attribute("auto_x")) {
        transform.fractionX = AsciiToFloat(x.value());
        transform.positionX = transform.fractionX * LogicalWidth();
    }
    if (const pugi::xml_attribute y = element.attribute("auto_y")) {
        transform.fractionY = AsciiToFloat(y.value());
        transform.positionY = transform.fractionY * LogicalHeight();
    }
}
