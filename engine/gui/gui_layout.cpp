// The widget elements of layouts and the trees built from them.
#include "engine/gui/gui_layout.h"

#include <pugixml.hpp>

#include <array>
#include <cstring>
#include <initializer_list>
#include <string>

#include "engine/core/conversions.h"
#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_checkbox5.h"
#include "engine/gui/gui_checkbox_ios.h"
#include "engine/gui/gui_image.h"
#include "engine/gui/gui_label.h"
#include "engine/gui/gui_layout_values.h"
#include "engine/gui/gui_linebox.h"
#include "engine/gui/gui_listbox.h"
#include "engine/gui/gui_page_number.h"
#include "engine/gui/gui_panel.h"
#include "engine/gui/gui_panel9.h"
#include "engine/gui/gui_progress_bar.h"
#include "engine/gui/gui_root.h"
#include "engine/gui/gui_simple_slider.h"
#include "engine/gui/gui_slider13.h"
#include "engine/resources/text_parsers.h"

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

// Not movable unless the layout says so.
JC_GUI_OBJECT* ReadPanel(const pugi::xml_node& element) {
    auto* panel = new JC_GUI_PANEL(Id(element), Text(element, "TEXTURE"));
    panel->movable = ToBool(element.attribute("MOVABLE")) ? 1 : 0;
    panel->SetDragCallback(LayoutValues::ReadScript(element, "GRAB", panel));
    return panel;
}

JC_GUI_OBJECT* ReadPanel9(const pugi::xml_node& element) {
    static const char* const kKeys[JC_GUI_PANEL9::kPieceCount] = {"TX_1_1", "TX_1_2", "TX_1_3", "TX_2_1", "TX_2_2",
                                                                  "TX_2_3", "TX_3_1", "TX_3_2", "TX_3_3"};
    std::array<std::string, JC_GUI_PANEL9::kPieceCount> names;
    for (int32_t i = 0; i < JC_GUI_PANEL9::kPieceCount; ++i) names[i] = Text(element, kKeys[i]);
    auto* panel = new JC_GUI_PANEL9(Id(element), names);
    panel->movable = ToBool(element.attribute("MOVABLE")) ? 1 : 0;
    panel->SetDragCallback(LayoutValues::ReadScript(element, "GRAB", panel));
    return panel;
}

JC_GUI_OBJECT* ReadCheckbox(const pugi::xml_node& element) {
    return new JC_GUI_CHECKBOX5(Id(element), Text(element, "TEXTURE"));
}

JC_GUI_OBJECT* ReadSwitch(const pugi::xml_node& element) {
    return new JC_GUI_CHECKBOX_IOS(Id(element), Text(element, "TX_PANEL"), Text(element, "TX_BTN"),
                                   Text(element, "TX_PANEL_OFF"));
}

// Alignment codes: 5 right, 4 centred, 3 left.
int32_t LineAlignment(const char* text) {
    if (std::strcmp(text, "RIGHT") == 0) return 5;
    if (std::strcmp(text, "CENTER") == 0) return 4;
    return 3;
}

JC_GUI_OBJECT* ReadLineBox(const pugi::xml_node& element) {
    auto* box =
        new JC_GUI_LINEBOX(Id(element), Text(element, "TEXTURE"), Text(element, "FONT_TEXTURE"), Text(element, "FONT"));
    // 0 means no limit, as does the box's own default.
    if (const pugi::xml_attribute length = element.attribute("MAXLEN")) {
        const int32_t limit = ToInt(length);
        box->maxLength = limit == 0 ? 0xFFFFFFFFu : static_cast<uint32_t>(limit);
    }
    if (const pugi::xml_attribute pixels = element.attribute("MAXLENPIX")) {
        const int32_t limit = ToInt(pixels);
        box->maxWidth = limit == 0 ? 0x7FFFFFFF : limit;
    }
    if (const pugi::xml_attribute text = element.attribute("TEXT")) box->SetText(Utf8ToWide(text.value()));
    if (const pugi::xml_attribute blink = element.attribute("CARRY_BLINK_TIME"))
        box->SetBlinkTime(ToFloat(blink, 0.0f));
    if (const pugi::xml_attribute color = element.attribute("FONT_COLOR")) {
        box->SetTextColor(LayoutValues::DecimalColor(color));
    }
    if (const pugi::xml_attribute alignment = element.attribute("ALIGNMENT")) {
        box->SetAlignment(LineAlignment(alignment.value()));
    }
    if (const pugi::xml_node area = element.child("INPUT_AREA")) {
        float margins[4] = {box->marginLeft, box->marginTop, box->marginRight, box->marginBottom};
        ParseNumberList(LayoutValues::Blanks(area.text().as_string()), margins);
        box->SetInputArea(margins[0], margins[1], margins[2], margins[3]);
    }
    return box;
}

// Keys in this order: the visible count gives the row height before a draw count changes how
// many rows are drawn, and the row limit leaves the layout's own rows alone. The slider's distance
// is "SLIDER_BTN_DIST" (1.5 when absent), or "SLIDER_DISTANCE" when that is given.
JC_GUI_OBJECT* ReadListBox(const pugi::xml_node& element) {
    const float sliderDistance =
        ToFloat(element.attribute("SLIDER_DISTANCE"), ToFloat(element.attribute("SLIDER_BTN_DIST"), 1.5f));
    auto* list = new JC_GUI_LISTBOX(Id(element), Text(element, "LIST_TEXTURE"), Text(element, "PANEL_TEXTURE"),
                                    Text(element, "SLIDER12_TEXTURE"), Text(element, "FONT"),
                                    Text(element, "FONT_TEXTURE"), sliderDistance);
    for (const pugi::xml_node item : element.child("ITEMS").children()) {
        if (item.type() == pugi::node_element) list->AddItem(std::string(item.text().as_string()));
    }
    if (const pugi::xml_attribute count = element.attribute("VISIBLE_COUNT")) {
        list->SetVisibleCount(static_cast<int32_t>(LayoutValues::ToUInt(count)));
    }
    if (const pugi::xml_attribute left = element.attribute("LEFT_MARGIN")) list->leftMargin = ToInt(left);
    if (const pugi::xml_attribute upper = element.attribute("UPPER_MARGIN")) list->upperMargin = ToInt(upper);
    if (const pugi::xml_attribute color = element.attribute("FONT_COLOR")) {
        list->SetColors(LayoutValues::DecimalColor(color));
    }
    if (const pugi::xml_attribute color = element.attribute("FONT_SELECTED_COLOR")) {
        list->SetSelectedColor(LayoutValues::DecimalColor(color));
    }
    const pugi::xml_attribute rowTexture = element.attribute("ROW_TEXTURE");
    const pugi::xml_attribute drawCount = element.attribute("DRAW_COUNT");
    if (rowTexture && drawCount) list->SetRowTexture(rowTexture.value(), ToInt(drawCount));
    if (const pugi::xml_attribute rows = element.attribute("MAX_ROW")) list->SetMaxRows(LayoutValues::ToUInt(rows));
    return list;
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
    auto* slider =
        new JC_GUI_SLIDER13(Id(element), Text(element, "TEXTURE"), ToFloat(element.attribute("BTN_DISTANCE"), 1.5f),
                            ToFloat(element.attribute("MIN"), 0.0f), ToFloat(element.attribute("MAX"), 100.0f),
                            ToFloat(element.attribute("STEP"), 5.0f), ToFloat(element.attribute("VALUE"), 0.0f), startX,
                            startY, endX, endY, ToFloat(element.attribute("RADIUS"), 20.0f));
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
    {"PANEL", {"ID", "TEXTURE"}, ReadPanel},
    {"PANEL9", {"ID"}, ReadPanel9},
    {"CHECKBOX", {"ID", "TEXTURE"}, ReadCheckbox},
    {"CHECKBOX_IOS", {"ID", "TX_PANEL", "TX_BTN"}, ReadSwitch},
    {"LINEBOX", {"ID", "TEXTURE", "FONT", "FONT_TEXTURE"}, ReadLineBox},
    {"LISTBOX", {"ID", "LIST_TEXTURE", "PANEL_TEXTURE", "SLIDER12_TEXTURE", "FONT", "FONT_TEXTURE"}, ReadListBox},
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
