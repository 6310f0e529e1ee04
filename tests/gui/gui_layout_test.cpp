#include "engine/gui/gui_layout.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <memory>
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

// The first element of the text, read into a widget.
Widget Read(const std::string& xml) {
    pugi::xml_document document;
    EXPECT_TRUE(document.load_string(xml.c_str())) << xml;
    return Widget(CreateGuiWidget(document.document_element()));
}

template <typename T>
T& As(const Widget& widget) {
    T* typed = dynamic_cast<T*>(widget.get());
    EXPECT_NE(typed, nullptr);
    return *typed;
}

// Each element with only its required attributes, and those attributes.
struct ElementCase {
    const char* xml;
    std::vector<const char*> required;
    const std::type_info& type;
    int32_t kind;
};

const ElementCase kElements[] = {
    {R"(<WLABEL ID="1" FONT="f.xml" FONT_TEXTURE="f.png"/>)", {"ID", "FONT", "FONT_TEXTURE"}, typeid(JC_GUI_WLABEL),
     GUI_KIND::WLabel},
    {R"(<IMAGE ID="2"/>)", {"ID"}, typeid(JC_GUI_IMAGE), GUI_KIND::Image},
    {R"(<BUTTON5 ID="3" TEXTURE="b.png"/>)", {"ID", "TEXTURE"}, typeid(JC_GUI_BUTTON5), GUI_KIND::Button5},
    {R"(<PANEL ID="4" TEXTURE="p.png"/>)", {"ID", "TEXTURE"}, typeid(JC_GUI_PANEL), GUI_KIND::Panel},
    {R"(<PANEL9 ID="5"/>)", {"ID"}, typeid(JC_GUI_PANEL9), GUI_KIND::Panel9},
    {R"(<CHECKBOX ID="6" TEXTURE="c.png"/>)", {"ID", "TEXTURE"}, typeid(JC_GUI_CHECKBOX5), GUI_KIND::Checkbox5},
    {R"(<CHECKBOX_IOS ID="7" TX_PANEL="s.png" TX_BTN="k.png"/>)", {"ID", "TX_PANEL", "TX_BTN"},
     typeid(JC_GUI_CHECKBOX_IOS), GUI_KIND::CheckboxIos},
    {R"(<LINEBOX ID="8" TEXTURE="l.png" FONT="f.xml" FONT_TEXTURE="f.png"/>)",
     {"ID", "TEXTURE", "FONT", "FONT_TEXTURE"}, typeid(JC_GUI_LINEBOX), GUI_KIND::LineBox},
    {R"(<LISTBOX ID="9" LIST_TEXTURE="a" PANEL_TEXTURE="b" SLIDER12_TEXTURE="c" FONT="d" FONT_TEXTURE="e"/>)",
     {"ID", "LIST_TEXTURE", "PANEL_TEXTURE", "SLIDER12_TEXTURE", "FONT", "FONT_TEXTURE"}, typeid(JC_GUI_LISTBOX),
     GUI_KIND::ListBox},
    {R"(<PROGRESS_BAR ID="10"/>)", {"ID"}, typeid(JC_GUI_PROGRESS_BAR), GUI_KIND::ProgressBar},
    {R"(<SLIDER13 ID="11" TEXTURE="s.png" START="0 0" END="100 0"/>)", {"ID", "TEXTURE", "START", "END"},
     typeid(JC_GUI_SLIDER13), GUI_KIND::Slider13},
    {R"(<SIMPLESLIDER ID="12" PROGRESS="p.png" RUNNER="r.png"/>)", {"ID", "PROGRESS", "RUNNER"},
     typeid(JC_GUI_SIMPLE_SLIDER), GUI_KIND::Base},
    {R"(<PAGE_NUMBER ID="13"/>)", {"ID"}, typeid(JCGUI_PageNumber), GUI_KIND::Base},
};

TEST(GuiLayoutTest, EveryElementBuildsItsWidgetAndNeedsEachRequiredAttribute) {
    for (const ElementCase& c : kElements) {
        SCOPED_TRACE(c.xml);
        const Widget widget = Read(c.xml);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(typeid(*widget), c.type);
        EXPECT_EQ(widget->kind, c.kind);
        EXPECT_EQ(widget->GetId(), static_cast<int32_t>(&c - kElements) + 1);
        EXPECT_TRUE(widget->IsVisible());
        EXPECT_TRUE(widget->IsEnabled());
        for (const char* key : c.required) {
            pugi::xml_document document;
            document.load_string(c.xml);
            document.document_element().remove_attribute(key);
            EXPECT_EQ(CreateGuiWidget(document.document_element()), nullptr) << "without " << key;
        }
    }
    // Names are matched exactly.
    EXPECT_EQ(Read(R"(<wlabel ID="1" FONT="f" FONT_TEXTURE="t"/>)"), nullptr);
    EXPECT_EQ(Read(R"(<BUTTON ID="1" TEXTURE="b"/>)"), nullptr);
}

TEST(GuiLayoutTest, ElementKeysReachTheirWidgets) {
    const Widget label = Read(R"(<WLABEL ID="1" FONT="f" FONT_TEXTURE="t" TEXT="Gr&#xFC;&#xDF;e" LINE_HEIGHT="30"
                                         HOT_SPOT="6" FONT_COLOR="FF00FF80"/>)");
    EXPECT_EQ(As<JC_GUI_WLABEL>(label).GetText(), L"Gr\u00FC\u00DFe");
    EXPECT_EQ(As<JC_GUI_WLABEL>(label).lineHeight, 30);
    EXPECT_EQ(As<JC_GUI_WLABEL>(label).textObject.anchor, 6);
    EXPECT_EQ(As<JC_GUI_WLABEL>(label).textObject.color, 0xFF00FF80u);

    const Widget box = Read(R"(<LINEBOX ID="2" TEXTURE="l" FONT="f" FONT_TEXTURE="t" MAXLEN="12" MAXLENPIX="200"
                                        CARRY_BLINK_TIME="0.25" FONT_COLOR="255 10 20 30" ALIGNMENT="RIGHT">
                                   <INPUT_AREA>1 2  3
                                     4</INPUT_AREA></LINEBOX>)");
    const auto& line = As<JC_GUI_LINEBOX>(box);
    EXPECT_EQ(line.maxLength, 12u);
    EXPECT_EQ(line.maxWidth, 200);
    EXPECT_FLOAT_EQ(line.blinkTime, 0.25f);
    EXPECT_EQ(line.GetAlignment(), 5);
    EXPECT_FLOAT_EQ(line.marginLeft, 1);
    EXPECT_FLOAT_EQ(line.marginTop, 2);
    EXPECT_FLOAT_EQ(line.marginRight, 3);
    EXPECT_FLOAT_EQ(line.marginBottom, 4);
    const struct {
        const char* text;
        int32_t code;
    } alignments[] = {{"CENTER", 4}, {"LEFT", 3}, {"center", 3}};
    for (const auto& a : alignments) {
        const Widget aligned = Read(std::string(R"(<LINEBOX ID="2" TEXTURE="l" FONT="f" FONT_TEXTURE="t" ALIGNMENT=")") +
                                    a.text + "\"/>");
        EXPECT_EQ(As<JC_GUI_LINEBOX>(aligned).GetAlignment(), a.code) << a.text;
    }

    const Widget list = Read(R"(<LISTBOX ID="3" LIST_TEXTURE="a" PANEL_TEXTURE="b" SLIDER12_TEXTURE="c" FONT="d"
                                         FONT_TEXTURE="e" SLIDER_BTN_DIST="7" VISIBLE_COUNT="5" LEFT_MARGIN="6"
                                         UPPER_MARGIN="-2" ROW_TEXTURE="row.png" MAX_ROW="2">
                                   <ITEMS><I>one</I><I>two</I><I>three</I></ITEMS></LISTBOX>)");
    const auto& rows = As<JC_GUI_LISTBOX>(list);
    EXPECT_FLOAT_EQ(rows.sliderDistance, 7);
    EXPECT_EQ(rows.GetVisibleCount(), 5);  // ROW_TEXTURE without DRAW_COUNT is not read
    EXPECT_EQ(rows.leftMargin, 6);
    EXPECT_EQ(rows.upperMargin, -2);
    // The limit comes after the layout's own rows.
    EXPECT_EQ(rows.GetRowCount(), 3u);
    EXPECT_EQ(rows.GetMaxRows(), 2u);
    const Widget drawn = Read(R"(<LISTBOX ID="3" LIST_TEXTURE="a" PANEL_TEXTURE="b" SLIDER12_TEXTURE="c" FONT="d"
                                          FONT_TEXTURE="e" VISIBLE_COUNT="5" ROW_TEXTURE="row.png" DRAW_COUNT="2"/>)");
    EXPECT_EQ(As<JC_GUI_LISTBOX>(drawn).GetVisibleCount(), 2);

    const Widget slider = Read(R"(<SLIDER13 ID="4" TEXTURE="s" START="10 20" END="300 20" RADIUS="8" BTN_DISTANCE="2"
                                           MIN="-10" MAX="10" STEP="2" VALUE="4"/>)");
    const auto& s = As<JC_GUI_SLIDER13>(slider);
    EXPECT_FLOAT_EQ(s.startX, 10);
    EXPECT_FLOAT_EQ(s.startY, 20);
    EXPECT_FLOAT_EQ(s.endX, 300);
    EXPECT_FLOAT_EQ(s.radius, 8);
    EXPECT_FLOAT_EQ(s.buttonDistance, 2);
    EXPECT_FLOAT_EQ(s.minimum, -10);
    EXPECT_FLOAT_EQ(s.maximum, 10);
    EXPECT_FLOAT_EQ(s.step, 2);
    EXPECT_FLOAT_EQ(s.GetValue(), 4);

    const Widget panel = Read(R"(<PANEL ID="5" TEXTURE="p" MOVABLE="yes"/>)");
    EXPECT_EQ(As<JC_GUI_PANEL>(panel).movable, 1);
    const Widget nine = Read(R"(<PANEL9 ID="6" TX_1_1="ul" TX_2_2="c" TX_3_3="dr" MOVABLE="1"/>)");
    EXPECT_EQ(As<JC_GUI_PANEL9>(nine).movable, 1);
    EXPECT_EQ(As<JC_GUI_PANEL9>(nine).Piece(0).textureName, "ul");
    EXPECT_EQ(As<JC_GUI_PANEL9>(nine).Piece(4).textureName, "c");
    EXPECT_EQ(As<JC_GUI_PANEL9>(nine).Piece(8).textureName, "dr");
    EXPECT_EQ(As<JC_GUI_PANEL9>(nine).Piece(1).textureName, "");
}

TEST(GuiLayoutTest, AbsentOptionalKeysChangeNothing) {
    const Widget label = Read(R"(<WLABEL ID="1" FONT="f" FONT_TEXTURE="t"/>)");
    EXPECT_EQ(As<JC_GUI_WLABEL>(label).GetText(), L"");
    EXPECT_EQ(As<JC_GUI_WLABEL>(label).lineHeight, 0);
    EXPECT_EQ(As<JC_GUI_WLABEL>(label).textObject.anchor, 4);
    EXPECT_EQ(As<JC_GUI_WLABEL>(label).textObject.color, 0xFFFFFFFFu);
    // An alignment outside 0..8 is no hot spot.
    EXPECT_EQ(As<JC_GUI_WLABEL>(Read(R"(<WLABEL ID="1" FONT="f" FONT_TEXTURE="t" HOT_SPOT="9"/>)")).textObject.anchor,
              4);

    const Widget box = Read(R"(<LINEBOX ID="2" TEXTURE="l" FONT="f" FONT_TEXTURE="t" MAXLEN="0" MAXLENPIX="0"/>)");
    EXPECT_EQ(As<JC_GUI_LINEBOX>(box).maxLength, 0xFFFFFFFFu);
    EXPECT_EQ(As<JC_GUI_LINEBOX>(box).maxWidth, 0x7FFFFFFF);
    EXPECT_EQ(As<JC_GUI_LINEBOX>(box).GetAlignment(), 3);
    EXPECT_FLOAT_EQ(As<JC_GUI_LINEBOX>(box).blinkTime, 0.5f);

    // No row limit and three rows shown.
    const Widget list = Read(R"(<LISTBOX ID="3" LIST_TEXTURE="a" PANEL_TEXTURE="b" SLIDER12_TEXTURE="c" FONT="d"
                                         FONT_TEXTURE="e"><ITEMS><I>1</I><I>2</I><I>3</I><I>4</I></ITEMS></LISTBOX>)");
    EXPECT_EQ(As<JC_GUI_LISTBOX>(list).GetRowCount(), 4u);
    EXPECT_EQ(As<JC_GUI_LISTBOX>(list).GetVisibleCount(), 3);
    EXPECT_FLOAT_EQ(As<JC_GUI_LISTBOX>(list).sliderDistance, 1.5f);

    const Widget slider = Read(R"(<SLIDER13 ID="4" TEXTURE="s" START="0 0" END="300 0"/>)");
    const auto& s = As<JC_GUI_SLIDER13>(slider);
    EXPECT_FLOAT_EQ(s.radius, 20);
    EXPECT_FLOAT_EQ(s.buttonDistance, 1.5f);
    EXPECT_FLOAT_EQ(s.minimum, 0);
    EXPECT_FLOAT_EQ(s.maximum, 100);
    EXPECT_FLOAT_EQ(s.step, 5);
    EXPECT_FLOAT_EQ(s.GetValue(), 0);

    EXPECT_EQ(As<JC_GUI_PANEL>(Read(R"(<PANEL ID="5" TEXTURE="p"/>)")).movable, 0);
    EXPECT_EQ(As<JC_GUI_PANEL>(Read(R"(<PANEL ID="5" TEXTURE="p"/>)")).dragCallback, nullptr);
    EXPECT_EQ(As<JCGUI_PageNumber>(Read(R"(<PAGE_NUMBER ID="6"/>)")).record.drawMarks, 1);
    EXPECT_EQ(As<JCGUI_PageNumber>(Read(R"(<PAGE_NUMBER ID="6" DRAW_PAGINATION="false"/>)")).record.drawMarks, 0);
}

TEST(GuiLayoutTest, ScriptsBecomeNamedRecordsOnTheWidget) {
    const Widget panel = Read(R"(<PANEL ID="5" TEXTURE="p"><SCRIPTS>
                                   <S EVENT="VALUE_CHANGED">wrong_event</S><S EVENT="GRAB"></S>
                                   <S EVENT="GRAB">on_grab</S></SCRIPTS></PANEL>)");
    const JS_CALLBACK* grab = As<JC_GUI_PANEL>(panel).dragCallback;
    ASSERT_NE(grab, nullptr);
    EXPECT_EQ(grab->name, "on_grab");
    EXPECT_EQ(grab->argument, reinterpret_cast<uintptr_t>(panel.get()));
    EXPECT_EQ(grab->fn, nullptr);

    const Widget slider = Read(R"(<SLIDER13 ID="4" TEXTURE="s" START="0 0" END="300 0">
                                    <SCRIPTS><S EVENT="VALUE_CHANGED">volume</S></SCRIPTS></SLIDER13>)");
    const JS_CALLBACK* changed = As<JC_GUI_SLIDER13>(slider).valueChangedCallback;
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(changed->name, "volume");
    EXPECT_EQ(changed->argument, reinterpret_cast<uintptr_t>(slider.get()));
}

TEST(GuiLayoutTest, TransformSizeAndPositionKeys) {
    const struct {
        const char* keys;
        float position[3], pivot[3], rotation[3], scale[3];
    } cases[] = {
        // Position first, then pivot, rotation and scale.
        {"<TRANSFORM>1 2 3 4 5 6 7 8 9 10 11 12</TRANSFORM>", {1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}},
        {"<TRANSFORM>100 50 0  0 0 0  0 0 0  1 1 1</TRANSFORM>", {100, 50, 0}, {0, 0, 0}, {0, 0, 0}, {1, 1, 1}},
        {"<TRANSFORM>\n  100 50 0\n\t0 0 0 0 0 0.5 2 2 1\n</TRANSFORM>", {100, 50, 0}, {0, 0, 0}, {0, 0, 0.5f},
         {2, 2, 1}},
        // Eleven numbers leave the transform alone.
        {"<TRANSFORM>1 2 3 4 5 6 7 8 9 10 11</TRANSFORM>", {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {1, 1, 1}},
        {"<TRANSFORM>1 2 3 4 5 6 7 8 9 10 11 12</TRANSFORM><POSITION>7  8</POSITION>", {7, 8, 0}, {4, 5, 6}, {7, 8, 9},
         {10, 11, 12}},
    };
    for (const auto& c : cases) {
        const Widget widget = Read(std::string(R"(<BUTTON5 ID="1" TEXTURE="b">)") + c.keys + "</BUTTON5>");
        const JS_TRANSFORM3& t = *widget->transform;
        SCOPED_TRACE(c.keys);
        EXPECT_FLOAT_EQ(t.positionX, c.position[0]);
        EXPECT_FLOAT_EQ(t.positionY, c.position[1]);
        EXPECT_FLOAT_EQ(t.positionZ, c.position[2]);
        EXPECT_FLOAT_EQ(t.pivotX, c.pivot[0]);
        EXPECT_FLOAT_EQ(t.pivotZ, c.pivot[2]);
        EXPECT_FLOAT_EQ(t.rotationX, c.rotation[0]);
        EXPECT_FLOAT_EQ(t.rotationZ, c.rotation[2]);
        EXPECT_FLOAT_EQ(t.scaleX, c.scale[0]);
        EXPECT_FLOAT_EQ(t.scaleY, c.scale[1]);
        EXPECT_FLOAT_EQ(t.scaleZ, c.scale[2]);
    }
    const Widget panel = Read(R"(<PANEL ID="1" TEXTURE="p"><SIZE>120 40</SIZE></PANEL>)");
    EXPECT_FLOAT_EQ(As<JC_GUI_PANEL>(panel).width, 120);
    EXPECT_FLOAT_EQ(As<JC_GUI_PANEL>(panel).height, 40);
}

// Flags of a panel and of the button nested in it, after reading.
TEST(GuiLayoutTest, EnableAndVisibleCoverNestedWidgetsOnlyWhenFalse) {
    const struct {
        const char* panel;
        const char* button;
        bool panelVisible, buttonVisible, panelEnabled, buttonEnabled;
    } cases[] = {
        {"", "", true, true, true, true},
        {R"(VISIBLE="false")", "", false, false, true, true},
        {R"(VISIBLE="0")", R"(VISIBLE="true")", false, false, true, true},
        {R"(VISIBLE="true")", R"(VISIBLE="no")", true, false, true, true},
        {R"(ENABLE="false")", "", true, true, false, false},
        {R"(ENABLE="")", "", true, true, false, false},
        {R"(ENABLE="Yes")", R"(ENABLE="false")", true, true, true, false},
        {R"(ENABLE="f" VISIBLE="n")", R"(ENABLE="t" VISIBLE="T")", false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.panel) + " / " + c.button);
        const Widget panel = Read(std::string(R"(<PANEL ID="1" TEXTURE="p" )") + c.panel +
                                  R"(><CONTEXT><BUTTON5 ID="2" TEXTURE="b" )" + c.button + "/></CONTEXT></PANEL>");
        ASSERT_EQ(panel->children.size(), 1u);
        const auto* button = dynamic_cast<JC_GUI_BUTTON5*>(panel->children[0]);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(panel->IsVisible(), c.panelVisible);
        EXPECT_EQ(button->IsVisible(), c.buttonVisible);
        EXPECT_EQ(panel->IsEnabled(), c.panelEnabled);
        EXPECT_EQ(button->IsEnabled(), c.buttonEnabled);
        // A disabled button shows its disabled frame.
        EXPECT_EQ(button->GetState(), c.buttonEnabled ? 0 : 4);
    }
}

TEST(GuiLayoutTest, AutoTransformsPlaceByScreenFractions) {
    const struct {
        const char* xml;
        float x, y, fx, fy;
    } cases[] = {
        {R"(<T auto_x="0.5">10 20 0 0 0 0 0 0 0 1 1 1</T>)", 512, 20, 0.5f, 0},
        {R"(<T auto_y="0.25">10 20 0 0 0 0 0 0 0 1 1 1</T>)", 10, 192, 0, 0.25f},
        {R"(<T auto_x="1" auto_y="1">10 20 0 0 0 0 0 0 0 1 1 1</T>)", 1024, 768, 1, 1},
        {R"(<T>10 20 0 0 0 0 0 0 0 1 1 1</T>)", 10, 20, 0, 0},
    };
    for (const auto& c : cases) {
        pugi::xml_document document;
        ASSERT_TRUE(document.load_string(c.xml));
        JS_TRANSFORM3_AUTO transform;
        ReadAutoTransform(transform, document.document_element());
        EXPECT_FLOAT_EQ(transform.positionX, c.x) << c.xml;
        EXPECT_FLOAT_EQ(transform.positionY, c.y) << c.xml;
        EXPECT_FLOAT_EQ(transform.fractionX, c.fx) << c.xml;
        EXPECT_FLOAT_EQ(transform.fractionY, c.fy) << c.xml;
        EXPECT_FLOAT_EQ(transform.scaleX, 1) << c.xml;
    }
}

// Trees in a root, drawn and clicked: a 200 x 100 panel, a 100 x 20 strip of 20 x 20 button
// frames, a 10 x 10 dot, and the scene's font.
class GuiLayoutTreeTest : public GuiTest::WidgetSceneTest {
protected:
    void SetUp() override {
        WidgetSceneTest::SetUp();
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
    // The quads the level draw sent.
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
    Build(R"(<GUI>
               <PANEL ID="1" TEXTURE="panel.png"><TRANSFORM>300 300 0 0 0 0 0 0 0 1 1 1</TRANSFORM>
                 <CONTEXT>
                   <SPINNER ID="9"/>
                   <BUTTON5 ID="2" TEXTURE="button.png"><TRANSFORM>50 0 0 0 0 0 0 0 0 1 1 1</TRANSFORM></BUTTON5>
                   <BUTTON5 ID="3"/>
                 </CONTEXT>
               </PANEL>
               <IMAGE/>
               <IMAGE ID="4" TEXTURE="dot.png"/>
             </GUI>)");
    JC_GUI_OBJECT* top = root.rootObject;
    ASSERT_EQ(top->children.size(), 2u);
    JC_GUI_OBJECT* panel = top->children[0];
    EXPECT_EQ(panel->GetId(), 1);
    EXPECT_EQ(panel->transform->parent, top->transform);
    ASSERT_EQ(panel->children.size(), 1u);
    JC_GUI_OBJECT* button = panel->children[0];
    EXPECT_EQ(button->GetId(), 2);
    EXPECT_EQ(button->transform->parent, panel->transform);
    EXPECT_EQ(top->children[1]->GetId(), 4);
    // Depth levels: the panel and the image, the button, then the empty last one.
    ASSERT_EQ(root.levels.size(), 3u);
    EXPECT_EQ(root.levels[0].size(), 2u);
    EXPECT_EQ(root.levels[1], std::vector<JC_GUI_OBJECT*>{button});
    EXPECT_TRUE(root.levels[2].empty());
    EXPECT_EQ(DrawnQuads(), 3u);

    MoveTo(*top, 350, 300);
    const JS_GUI_EVENT* pressed = Press(*top);
    ASSERT_NE(pressed, nullptr);
    EXPECT_EQ(pressed->id, 2);
    EXPECT_EQ(pressed->code, GUI_EVENT::Press);
}

TEST_F(GuiLayoutTreeTest, AHiddenContainerHidesItsNestedWidgetsFromTheLevelDraw) {
    Build(R"(<GUI>
               <PANEL ID="1" TEXTURE="panel.png" VISIBLE="false"><CONTEXT>
                 <IMAGE ID="2" TEXTURE="dot.png"/>
                 <PANEL ID="3" TEXTURE="panel.png"><CONTEXT><BUTTON5 ID="4" TEXTURE="button.png"/></CONTEXT></PANEL>
               </CONTEXT></PANEL>
               <IMAGE ID="5" TEXTURE="dot.png"/>
             </GUI>)");
    EXPECT_EQ(DrawnQuads(), 1u);
    root.rootObject->children[0]->SetVisible(true);
    EXPECT_EQ(DrawnQuads(), 5u);
}

// Notes when it is deleted.
class Tracked : public JC_GUI_OBJECT {
public:
    explicit Tracked(bool* deleted) : JC_GUI_OBJECT(77), deleted(deleted) {}
    ~Tracked() override { *deleted = true; }
    bool* deleted;
};

TEST_F(GuiLayoutTreeTest, RebuildingARootDeletesItsOldWidgets) {
    bool deleted = false;
    root.rootObject->AddChild(new Tracked(&deleted));
    Build(R"(<GUI><IMAGE ID="1" TEXTURE="dot.png"/></GUI>)");
    EXPECT_TRUE(deleted);
    Build(R"(<GUI><IMAGE ID="2" TEXTURE="dot.png"/><IMAGE ID="3" TEXTURE="dot.png"/></GUI>)");
    ASSERT_EQ(root.rootObject->children.size(), 2u);
    EXPECT_EQ(root.rootObject->children[0]->GetId(), 2);
    EXPECT_EQ(root.levels[0].size(), 2u);
    EXPECT_EQ(DrawnQuads(), 2u);
}

TEST_F(GuiLayoutTreeTest, LocalisingReplacesKeysOfNestedLabelsOnly) {
    const std::string longText(300, 'w');
    JC_STRING_TABLE table;
    const std::string rows =
        std::string("<Workbook><Worksheet><Table>"
                    "<Row><Cell><Data></Data></Cell><Cell><Data>blank</Data></Cell></Row>"
                    "<Row><Cell><Data>k_hello</Data></Cell><Cell><Data>hello</Data></Cell></Row>"
                    "<Row><Cell><Data>k_long</Data></Cell><Cell><Data>" + longText + "</Data></Cell></Row>"
                    "</Table></Worksheet></Workbook>");
    ASSERT_TRUE(table.LoadFromMemory(rows.data(), rows.size()));
    Build(R"(<GUI>
               <WLABEL ID="1" FONT="gui_font.xml" FONT_TEXTURE="gui_font.png" TEXT="k_hello"/>
               <WLABEL ID="2" FONT="gui_font.xml" FONT_TEXTURE="gui_font.png" TEXT="no key"/>
               <WLABEL ID="3" FONT="gui_font.xml" FONT_TEXTURE="gui_font.png"/>
               <PANEL ID="4" TEXTURE="panel.png"><CONTEXT>
                 <WLABEL ID="5" FONT="gui_font.xml" FONT_TEXTURE="gui_font.png" TEXT="k_long"/>
               </CONTEXT></PANEL>
             </GUI>)");
    LocaliseGuiTree(root.rootObject, nullptr);
    const auto text = [&](int32_t id) {
        return static_cast<JC_GUI_WLABEL*>(root.rootObject->FindChildById(id))->GetText();
    };
    EXPECT_EQ(text(1), L"k_hello");

    LocaliseGuiTree(root.rootObject, &table);
    EXPECT_EQ(text(1), L"hello");
    EXPECT_EQ(text(2), L"no key");
    EXPECT_EQ(text(3), L"");
    EXPECT_EQ(text(5), std::wstring(longText.begin(), longText.end()));
    // The long translation draws whole.
    auto* nested = static_cast<JC_GUI_WLABEL*>(root.rootObject->FindChildById(5));
    EXPECT_EQ(Spelled(Quads(*nested)), std::wstring(longText.begin(), longText.end()));
}

}  // namespace
}  // namespace QRV
