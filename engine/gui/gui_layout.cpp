// The widget elements of layouts and the trees built from them.
#include "engine/gui/gui_layout.h"

#include <pugixml.hpp>

#include <cstring>
#include <initializer_list>

#include "engine/core/conversions.h"
#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_checkbox5.h"
#include "engine/gui/gui_checkbox_ios.h"
#include "engine/gui/gui_image.h"
#include "engine/gui/gui_label.h"
#include "engine/gui/gui_layout_values.h"
#include "engine/gui/gui_page_number.h"
#include "engine/gui/gui_progress_bar.h"
#include "engine/gui/gui_root.h"
#include "engine/gui/gui_simple_slider.h"
#include "engine/gui/gui_slider13.h"

using namespace QRV;

namespace {

using LayoutValues::ToBool;
using LayoutValues::ToFloat;
using LayoutValues::ToInt;

const char* Text(const pugi::xml_node& element, const char* key) { return element.attribute(key).value(); }
int32_t Id(const pugi::xml_node& element) { return ToInt(element.attribute("ID")); }

JC_GUI_OBJECT* ReadLabel(const pugi::xml_node& element) {
    auto* label = new JC_GUI_WLABEL(Id(element), Text(element, "FONT"), Text(element, "FONT_TEXTURE"),
                                    Utf8ToWide(Text(element, "TEXT")));
    if (const pugi::xml_attribute height = element.attribute("LINE_HEIGHT")) label->lineHeight = ToInt(height);
    if (const pugi::xml_attribute spot = element.attribute("HOT_SPOT")) {
        const int32_t anchor = ToInt(spot);
        if (anchor >= 0 && anchor <= 8) label->textObject.anchor = anchor;
    }
    if (const pugi::xml_attribute color = element.attribute("FONT_COLOR")) {
        label->textObject.color = LayoutValues::HexColor(color);
    }
    return label;
}

JC_GUI_OBJECT* ReadImage(const pugi::xml_node& element) { return new JC_GUI_IMAGE(element); }

// "ENABLE" is one of the common keys: a false value disables the button, which shows frame 4.
JC_GUI_OBJECT* ReadButton(const pugi::xml_node& element) {
    return new JC_GUI_BUTTON5(Id(element), Text(element, "TEXTURE"));
}

JC_GUI_OBJECT* ReadCheckbox(const pugi::xml_node& element) {
    return new JC_GUI_CHECKBOX5(Id(element), Text(element, "TEXTURE"));
}

JC_GUI_OBJECT* ReadSwitch(const pugi::xml_node& element) {
    return new JC_GUI_CHECKBOX_IOS(Id(element), Text(element, "TX_PANEL"), Text(element, "TX_BTN"));
}

JC_GUI_OBJECT* ReadProgressBar(const pugi::xml_node& element) {
    auto* bar = new JC_GUI_PROGRESS_BAR();
    if (bar->Load(element)) return bar;
    delete bar;
    return nullptr;
}

JC_GUI_OBJECT* ReadSlider13(const pugi::xml_node& element) {
    float startX = 0.0f, startY = 0.0f, endX = 0.0f, endY = 0.0f;
    ParseVector2(LayoutValues::Blanks(Text(element, "START")), startX, startY);
    ParseVector2(LayoutValues::Blanks(Text(element, "END")), endX, endY);
    auto* slider = new JC_GUI_SLIDER13(
        Id(element), Text(element, "TEXTURE"), ToFloat(element.attribute("BTN_DISTANCE"), 1.5f),
        ToFloat(element.attribute("MIN"), 0.0f), ToFloat(element.attribute("MAX"), 100.0f),
        ToFloat(element.attribute("STEP"), 5.0f), ToFloat(element.attribute("VALUE"), 0.0f), startX, startY, endX,
        endY, ToFloat(element.attribute("RADIUS"), 20.0f));
    if (JS_CALLBACK* script = LayoutValues::ReadScript(element, "VALUE_CHANGED", slider)) {
        delete slider->valueChangedCallback;
        slider->valueChangedCallback = script;
    }
    return slider;
}

JC_GUI_OBJECT* ReadSimpleSlider(const pugi::xml_node& element) {
    return new JC_GUI_SIMPLE_SLIDER(Id(element), Text(element, "PROGRESS"), Text(element, "RUNNER"));
}

JC_GUI_OBJECT* ReadPageNumber(const pugi::xml_node& element) { return new JCGUI_PageNumber(element); }

struct ElementReader {
    const char* name;
    std::initializer_list<const char*> required;
    JC_GUI_OBJECT* (*read)(const pugi::xml_node& element);
};

// Matched in this order.
const ElementReader kReaders[] = {
    {"WLABEL", {"ID", "FONT", "FONT_TEXTURE"}, ReadLabel},
    {"IMAGE", {"ID"}, ReadImage},
    {"BUTTON5", {"ID", "TEXTURE"}, ReadButton},
    // PANEL and PANEL9 join when the panels land.
    {"CHECKBOX", {"ID", "TEXTURE"}, ReadCheckbox},
    {"CHECKBOX_IOS", {"ID", "TX_PANEL", "TX_BTN"}, ReadSwitch},
    // LINEBOX and LISTBOX join when the line box and the list land.
    {"PROGRESS_BAR", {"ID"}, ReadProgressBar},
    {"SLIDER13", {"ID", "TEXTURE", "START", "END"}, ReadSlider13},
    {"SIMPLESLIDER", {"ID", "PROGRESS", "RUNNER"}, ReadSimpleSlider},
    {"PAGE_NUMBER", {"ID"}, ReadPageNumber},
};

}  // namespace

JC_GUI_OBJECT* CreateGuiWidget(const pugi::xml_node& element) {
    if (element.type() != pugi::node_element) return nullptr;
    for (const ElementReader& reader : kReaders) {
        if (std::strcmp(element.name(), reader.name) != 0) continue;
        for (const char* key : reader.required) {
            if (!element.attribute(key)) return nullptr;
        }
        JC_GUI_OBJECT* widget = reader.read(element);
        ApplyCommonWidgetKeys(widget, element);
        return widget;
    }
    return nullptr;
}

void BuildGuiChildren(JC_GUI_ROOT* root, const pugi::xml_node& element) {
    if (root == nullptr || root->rootObject == nullptr) return;
    JC_GUI_OBJECT* top = root->rootObject;
    // The levels point into the old tree: emptied before it goes.
    root->levels.clear();
    for (JC_GUI_OBJECT* child : top->children) delete child;
    top->children.clear();
    for (const pugi::xml_node child : element.children()) {
        JC_GUI_OBJECT* widget = CreateGuiWidget(child);
        if (widget == nullptr) continue;
        widget->transform->parent = top->transform;
        top->AddChild(widget);
    }
    root->RebuildLevels();
}
