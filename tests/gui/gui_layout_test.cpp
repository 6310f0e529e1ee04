#include "engine/gui/gui_layout.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <memory>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <vector>

#include "engine/core/transform.h"
#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_checkbox5.h"
#include "engine/gui/gui_checkbox_ios.h"
#include "engine/gui/gui_image.h"
#include "engine/gui/gui_label.h"
#include "engine/gui/gui_linebox.h"
#include "engine/gui/gui_listbox.h"
#include "engine/gui/gui_page_number.h"
#include "engine/gui/gui_panel.h"
#include "engine/gui/gui_panel9.h"
#include "engine/gui/gui_progress_bar.h"
#include "engine/gui/gui_root.h"
#include "engine/gui/gui_simple_slider.h"
#include "engine/gui/gui_slider13.h"
#include "engine/resources/string_table.h"
#include "tests/gui/widget_scene.h"

namespace QRV {
namespace {

using Widget = std::unique_ptr<JC_GUI_OBJECT>;

Widget Read(const std::string& xml) {
    pugi::xml_document document;
    EXPECT_TRUE(document.load_string(xml.c_str())) << xml;
    return Widget(CreateGuiWidget(document.document_element()));
}

// Keeps what it reads for the test's length.
class GuiLayoutTest : public ::testing::Test {
protected:
    template <typename T>
    const T& As(const std::string& xml) {
        built.push_back(Read(xml));
        const T* typed = dynamic_cast<const T*>(built.back().get());
        if (typed == nullptr) throw std::runtime_error("not built: " + xml);
        return *typed;
    }
    std::vector<Widget> built;
};

TEST_F(GuiLayoutTest, EveryElementBuildsItsWidgetAndNeedsEachRequiredAttribute) {
    // Each element with only its required attributes; the id is the row number.
    const struct {
        const char* xml;
        std::vector<const char*> required;
        const std::type_info& type;
    } cases[] = {
        {R"(<WLABEL ID="1" FONT="f" FONT_TEXTURE="t"/>)", {"ID", "FONT", "FONT_TEXTURE"}, typeid(JC_GUI_WLABEL)},
        {R"(<IMAGE ID="2"/>)", {"ID"}, typeid(JC_GUI_IMAGE)},
        {R"(<BUTTON5 ID="3" TEXTURE="b"/>)", {"ID", "TEXTURE"}, typeid(JC_GUI_BUTTON5)},
        {R"(<PANEL ID="4" TEXTURE="p"/>)", {"ID", "TEXTURE"}, typeid(JC_GUI_PANEL)},
        {R"(<PANEL9 ID="5"/>)", {"ID"}, typeid(JC_GUI_PANEL9)},
        {R"(<CHECKBOX ID="6" TEXTURE="c"/>)", {"ID", "TEXTURE"}, typeid(JC_GUI_CHECKBOX5)},
        {R"(<CHECKBOX_IOS ID="7" TX_PANEL="s" TX_BTN="k"/>)",
         {"ID", "TX_PANEL", "TX_BTN"},
         typeid(JC_GUI_CHECKBOX_IOS)},
        {R"(<LINEBOX ID="8" TEXTURE="l" FONT="f" FONT_TEXTURE="t"/>)",
         {"ID", "TEXTURE", "FONT", "FONT_TEXTURE"},
         typeid(JC_GUI_LINEBOX)},
        {R"(<LISTBOX ID="9" LIST_TEXTURE="a" PANEL_TEXTURE="b" SLIDER12_TEXTURE="c" FONT="d" FONT_TEXTURE="e"/>)",
         {"ID", "LIST_TEXTURE", "PANEL_TEXTURE", "SLIDER12_TEXTURE", "FONT", "FONT_TEXTURE"},
         typeid(JC_GUI_LISTBOX)},
        {R"(<PROGRESS_BAR ID="10"/>)", {"ID"}, typeid(JC_GUI_PROGRESS_BAR)},
        {R"(<SLIDER13 ID="11" TEXTURE="s" START="0 0" END="9 0"/>)",
         {"ID", "TEXTURE", "START", "END"},
         typeid(JC_GUI_SLIDER13)},
        {R"(<SIMPLESLIDER ID="12" PROGRESS="p" RUNNER="r"/>)",
         {"ID", "PROGRESS", "RUNNER"},
         typeid(JC_GUI_SIMPLE_SLIDER)},
        {R"(<PAGE_NUMBER ID="13"/>)", {"ID"}, typeid(JCGUI_PageNumber)},
        {R"(<button5 ID="14" TEXTURE="b"/>)", {}, typeid(void)},  // names are exact
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xml);
        const Widget widget = Read(c.xml);
        if (c.type == typeid(void)) {
            EXPECT_EQ(widget, nullptr);
            continue;
        }
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(typeid(*widget), c.type);
        EXPECT_EQ(widget->GetId(), static_cast<int32_t>(&c - cases) + 1);
        for (const char* key : c.required) {
            pugi::xml_document document;
            document.load_string(c.xml);
            document.document_element().remove_attribute(key);
            EXPECT_EQ(CreateGuiWidget(document.document_element()), nullptr) << "without " << key;
        }
    }
}

TEST_F(GuiLayoutTest, KeysWithTheirOwnRulesAndAbsentOptionalKeys) {
    const auto& label =
        As<JC_GUI_WLABEL>(R"(<WLABEL ID="1" FONT="f" FONT_TEXTURE="t" HOT_SPOT="6" FONT_COLOR="FF00FF80"/>)");
    EXPECT_EQ(label.textObject.anchor, 6);
    EXPECT_EQ(label.textObject.color, 0xFF00FF80u);
    EXPECT_EQ(As<JC_GUI_WLABEL>(R"(<WLABEL ID="1" FONT="f" FONT_TEXTURE="t" HOT_SPOT="9"/>)").textObject.anchor, 4);

    const std::string box = R"(<LINEBOX ID="2" TEXTURE="l" FONT="f" FONT_TEXTURE="t" )";
    const auto& limited = As<JC_GUI_LINEBOX>(box + R"(MAXLEN="12" FONT_COLOR="255 10 20 30" ALIGNMENT="RIGHT"/>)");
    EXPECT_EQ(limited.maxLength, 12u);
    EXPECT_EQ(limited.GetAlignment(), 5);
    const auto& unlimited = As<JC_GUI_LINEBOX>(box + R"(MAXLEN="0" MAXLENPIX="0" ALIGNMENT="center"/>)");
    EXPECT_EQ(unlimited.maxLength, 0xFFFFFFFFu);
    EXPECT_EQ(unlimited.maxWidth, 0x7FFFFFFF);
    EXPECT_EQ(unlimited.GetAlignment(), 3);

    // The visible count gives way to a draw count only with a row texture; the row limit comes
    // after the layout's own rows. Absent: no limit, three rows shown.
    const std::string list = R"(<LISTBOX ID="3" LIST_TEXTURE="a" PANEL_TEXTURE="b" SLIDER12_TEXTURE="c" FONT="d"
                                          FONT_TEXTURE="e" )";
    const std::string items = "<ITEMS><I>1</I><I>2</I><I>3</I><I>4</I></ITEMS></LISTBOX>";
    const auto& limitedList = As<JC_GUI_LISTBOX>(list + R"(VISIBLE_COUNT="5" DRAW_COUNT="2" MAX_ROW="2">)" + items);
    EXPECT_EQ(limitedList.GetVisibleCount(), 5);
    EXPECT_EQ(limitedList.GetRowCount(), 4u);
    EXPECT_EQ(limitedList.GetMaxRows(), 2u);
    EXPECT_EQ(As<JC_GUI_LISTBOX>(list + R"(VISIBLE_COUNT="5" ROW_TEXTURE="r" DRAW_COUNT="2"/>)").GetVisibleCount(), 2);
    const auto& plainList = As<JC_GUI_LISTBOX>(list + ">" + items);
    EXPECT_EQ(plainList.GetRowCount(), 4u);
    EXPECT_EQ(plainList.GetVisibleCount(), 3);
    // The slider's distance: 1.5 by default, "SLIDER_DISTANCE" over "SLIDER_BTN_DIST".
    EXPECT_FLOAT_EQ(plainList.sliderDistance, 1.5f);
    EXPECT_FLOAT_EQ(As<JC_GUI_LISTBOX>(list + R"(SLIDER_BTN_DIST="6"/>)").sliderDistance, 6);
    EXPECT_FLOAT_EQ(As<JC_GUI_LISTBOX>(list + R"(SLIDER_BTN_DIST="6" SLIDER_DISTANCE="9"/>)").sliderDistance, 9);

    const auto& slider = As<JC_GUI_SLIDER13>(R"(<SLIDER13 ID="4" TEXTURE="s" START="0 0" END="300 0" MAX="50"/>)");
    EXPECT_FLOAT_EQ(slider.radius, 20);
    EXPECT_FLOAT_EQ(slider.buttonDistance, 1.5f);
    EXPECT_FLOAT_EQ(slider.maximum, 50);
    EXPECT_FLOAT_EQ(slider.step, 5);
    EXPECT_EQ(As<JC_GUI_PANEL>(R"(<PANEL ID="5" TEXTURE="p"/>)").movable, 0);
    EXPECT_EQ(As<JC_GUI_PANEL>(R"(<PANEL ID="5" TEXTURE="p" MOVABLE="y"/>)").movable, 1);

    // Scripts: the last record of the widget's own event with a text.
    const auto& panel = As<JC_GUI_PANEL>(R"(<PANEL ID="5" TEXTURE="p"><SCRIPTS><S EVENT="VALUE_CHANGED">x</S>
                                              <S EVENT="GRAB">grab</S><S EVENT="GRAB"/></SCRIPTS></PANEL>)");
    ASSERT_NE(panel.dragCallback, nullptr);
    EXPECT_EQ(panel.dragCallback->name, "grab");
    EXPECT_EQ(panel.dragCallback->argument, reinterpret_cast<uintptr_t>(&panel));
    // The nine-patch panel binds its drag callback the same way.
    const auto& panel9 = As<JC_GUI_PANEL9>(R"(<PANEL9 ID="6"><SCRIPTS><S EVENT="GRAB">drag9</S></SCRIPTS></PANEL9>)");
    ASSERT_NE(panel9.dragCallback, nullptr);
    EXPECT_EQ(panel9.dragCallback->name, "drag9");
    EXPECT_EQ(panel9.dragCallback->argument, reinterpret_cast<uintptr_t>(&panel9));
}

TEST_F(GuiLayoutTest, TransformNumbersArePositionPivotRotationScale) {
    const struct {
        const char* keys;
        float position[2], pivotX, rotationZ, scaleY;
    } cases[] = {
        {"<TRANSFORM>1 2 3 4 5 6 7 8 9 10 11 12</TRANSFORM>", {1, 2}, 4, 9, 11},
        {"<TRANSFORM>\n 100 50 0  0 0 0\t0 0 0  1 2 1\n</TRANSFORM>", {100, 50}, 0, 0, 2},
        {"<TRANSFORM>1 2 3 4 5 6 7 8 9 10 11</TRANSFORM>", {0, 0}, 0, 0, 1},  // too few: unchanged
        {"<TRANSFORM>1 2 3 4 5 6 7 8 9 10 11 12</TRANSFORM><POSITION>7 8</POSITION>", {7, 8}, 4, 9, 11},
    };
    for (const auto& c : cases) {
        const JS_TRANSFORM3& t =
            *As<JC_GUI_BUTTON5>(std::string(R"(<BUTTON5 ID="1" TEXTURE="b">)") + c.keys + "</BUTTON5>").transform;
        EXPECT_EQ(std::vector<float>({t.positionX, t.positionY, t.pivotX, t.rotationZ, t.scaleY}),
                  std::vector<float>({c.position[0], c.position[1], c.pivotX, c.rotationZ, c.scaleY}))
            << c.keys;
    }
    EXPECT_FLOAT_EQ(As<JC_GUI_PANEL>(R"(<PANEL ID="1" TEXTURE="p"><SIZE>120 40</SIZE></PANEL>)").height, 40);

    // Screen fractions of 1024 x 768.
    pugi::xml_document document;
    document.load_string(R"(<T auto_x="0.5">10 20 0 0 0 0 0 0 0 1 1 1</T>)");
    JS_TRANSFORM3_AUTO placed;
    ReadAutoTransform(placed, document.document_element());
    EXPECT_EQ(std::vector<float>({placed.positionX, placed.positionY, placed.fractionX, placed.fractionY}),
              std::vector<float>({512, 20, 0.5f, 0}));
}

// Flags of a panel and the button nested in it: a false value covers the nested widgets, a true
// one leaves their own.
TEST_F(GuiLayoutTest, EnableAndVisibleAfterTheNestedWidgets) {
    const struct {
        const char* panel;
        const char* button;
        bool panelVisible, buttonVisible, panelEnabled, buttonEnabled;
    } cases[] = {
        {"", "", true, true, true, true},
        {R"(VISIBLE="false")", R"(VISIBLE="true")", false, false, true, true},
        {R"(VISIBLE="true")", R"(VISIBLE="no")", true, false, true, true},
        {R"(ENABLE="")", "", true, true, false, false},
        {R"(ENABLE="Yes")", R"(ENABLE="false")", true, true, true, false},
    };
    for (const auto& c : cases) {
        const auto& panel =
            As<JC_GUI_PANEL>(std::string(R"(<PANEL ID="1" TEXTURE="p" )") + c.panel +
                             R"(><CONTEXT><BUTTON5 ID="2" TEXTURE="b" )" + c.button + "/></CONTEXT></PANEL>");
        ASSERT_EQ(panel.children.size(), 1u);
        const auto* button = static_cast<const JC_GUI_BUTTON5*>(panel.children[0]);
        EXPECT_EQ(std::vector<bool>({panel.IsVisible(), button->IsVisible(), panel.IsEnabled(), button->IsEnabled()}),
                  std::vector<bool>({c.panelVisible, c.buttonVisible, c.panelEnabled, c.buttonEnabled}))
            << c.panel << " / " << c.button;
        EXPECT_EQ(button->GetState(), c.buttonEnabled ? 0 : 4);  // the disabled frame
    }
}

// Trees in a root: a 200 x 100 panel, a strip of 20 x 20 button frames, a 10 x 10 dot, the font.
class GuiLayoutTreeTest : public GuiTest::TextWidgetSceneTest {
protected:
    void SetUp() override {
        TextWidgetSceneTest::SetUp();
        PutImage("panel.png", 200, 100);
        PutImage("button.png", 100, 20);
        PutImage("dot.png", 10, 10);
        LoadContent();
    }
    void Build(const std::string& xml) {
        ASSERT_TRUE(document.load_string(xml.c_str())) << xml;
        BuildGuiChildren(&root, document.document_element());
        root.RestoreResources();
    }
    size_t DrawnQuads() {
        device->ClearRecord();
        EXPECT_EQ(render->BeginFrame(), 1);
        root.Draw();
        EXPECT_EQ(render->EndFrame(), 0);
        size_t quads = 0;
        for (const Platform::DeviceCall* call : device->Draws()) quads += call->vertices.size() / 4;
        return quads;
    }

    pugi::xml_document document;
    JC_GUI_ROOT root;
};

TEST_F(GuiLayoutTreeTest, NestedWidgetsHangOffTheirContainerAndTakeTheirOwnPresses) {
    Build(R"(<GUI><PANEL ID="1" TEXTURE="panel.png"><TRANSFORM>300 300 0 0 0 0 0 0 0 1 1 1</TRANSFORM>
                 <CONTEXT><SPINNER ID="9"/><BUTTON5 ID="3"/>
                   <BUTTON5 ID="2" TEXTURE="button.png"><TRANSFORM>50 0 0 0 0 0 0 0 0 1 1 1</TRANSFORM></BUTTON5>
                 </CONTEXT></PANEL>
               <IMAGE/><IMAGE ID="4" TEXTURE="dot.png"/></GUI>)");
    JC_GUI_OBJECT* top = root.rootObject;
    ASSERT_EQ(top->children.size(), 2u);
    JC_GUI_OBJECT* panel = top->children[0];
    ASSERT_EQ(panel->children.size(), 1u);
    JC_GUI_OBJECT* button = panel->children[0];
    EXPECT_EQ(panel->transform->parent, top->transform);
    EXPECT_EQ(button->transform->parent, panel->transform);
    EXPECT_EQ(root.levels, (std::vector<std::vector<JC_GUI_OBJECT*>>{{panel, top->children[1]}, {button}, {}}));
    MoveTo(*top, 350, 300);
    const JS_GUI_EVENT* pressed = Press(*top);
    ASSERT_NE(pressed, nullptr);
    EXPECT_EQ(pressed->id, 2);
}

// Notes when it is deleted.
class Tracked : public JC_GUI_OBJECT {
public:
    explicit Tracked(bool* deleted) : JC_GUI_OBJECT(77), deleted(deleted) {}
    ~Tracked() override { *deleted = true; }
    bool* deleted;
};

TEST_F(GuiLayoutTreeTest, HiddenContainersAreNotDrawnAndRebuildsDeleteTheOldTree) {
    bool deleted = false;
    root.rootObject->AddChild(new Tracked(&deleted));
    Build(R"(<GUI><PANEL ID="1" TEXTURE="panel.png" VISIBLE="false"><CONTEXT><IMAGE ID="2" TEXTURE="dot.png"/>
                 <PANEL ID="3" TEXTURE="panel.png"><CONTEXT><BUTTON5 ID="4" TEXTURE="button.png"/></CONTEXT></PANEL>
               </CONTEXT></PANEL><IMAGE ID="5" TEXTURE="dot.png"/></GUI>)");
    EXPECT_TRUE(deleted);
    EXPECT_EQ(DrawnQuads(), 1u);
    root.rootObject->children[0]->SetVisible(true);
    EXPECT_EQ(DrawnQuads(), 5u);
}

TEST_F(GuiLayoutTreeTest, LocalisingReplacesKeysOfNestedLabelsOnly) {
    const std::string longText(300, 'w');
    const std::string rows =
        "<Workbook><Worksheet><Table><Row><Cell><Data></Data></Cell><Cell><Data>x</Data></Cell>"
        "</Row><Row><Cell><Data>k_hi</Data></Cell><Cell><Data>hi</Data></Cell></Row><Row><Cell>"
        "<Data>k_long</Data></Cell><Cell><Data>" +
        longText +
        "</Data></Cell></Row></Table>"
        "</Worksheet></Workbook>";
    JC_STRING_TABLE table;
    ASSERT_TRUE(table.LoadFromMemory(rows.data(), rows.size()));
    const std::string label = R"(<WLABEL FONT="gui_font.xml" FONT_TEXTURE="gui_font.png" )";
    Build("<GUI>" + label + R"(ID="1" TEXT="k_hi"/>)" + label + R"(ID="2" TEXT="no key"/>)" + label + R"(ID="3"/>
           <PANEL ID="4" TEXTURE="panel.png"><CONTEXT>)" +
          label + R"(ID="5" TEXT="k_long"/></CONTEXT></PANEL></GUI>)");
    const auto text = [&](int32_t id) { return static_cast<JC_GUI_WLABEL*>(root.rootObject->FindChildById(id)); };
    LocaliseGuiTree(root.rootObject, nullptr);
    EXPECT_EQ(text(1)->GetText(), L"k_hi");
    LocaliseGuiTree(root.rootObject, &table);
    EXPECT_EQ(text(1)->GetText() + L"|" + text(2)->GetText() + L"|" + text(3)->GetText(), L"hi|no key|");
    EXPECT_EQ(Spelled(Quads(*text(5))), std::wstring(longText.begin(), longText.end()));  // drawn whole
}

}  // namespace
}  // namespace QRV
