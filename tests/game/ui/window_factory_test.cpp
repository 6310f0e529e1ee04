#include "game/ui/window_factory.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <memory>
#include <string>
#include <typeinfo>

#include "engine/gui/gui_label.h"
#include "engine/resources/string_table.h"
#include "engine/windows/window_editbox.h"
#include "engine/windows/window_simple.h"
#include "tests/test_kit/parsed_xml.h"

namespace QRV {
namespace {

std::unique_ptr<JCWindow> Create(const std::string& xml) {
    const TestKit::ParsedXml parsed(xml);
    return std::unique_ptr<JCWindow>(CreateWindowByType(parsed.document));
}

TEST(WindowFactory, KnownTypesMakeTheirClassLoadedAndPlaced) {
    const struct {
        const char* type;
        const std::type_info& made;
    } cases[] = {{"G_WINDOW_EDITBOX", typeid(JCWindow_Editbox)}, {"G_WINDOW_SIMPLE", typeid(JCWindow_Simple)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        const auto window = Create(std::string("<W _type=\"") + c.type + R"(" _name="Named" _typeOpen="SH_MOVE_UP"/>)");
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(typeid(*window), c.made);
        EXPECT_EQ(window->name, "Named");
        EXPECT_FLOAT_EQ(window->windowTransform->positionY, 3.0f * 384.0f);  // placed at its start
    }
}

TEST(WindowFactory, UnknownTypesAndFilesWithoutTypeOrNameMakeNothing) {
    for (const char* xml :
         {R"(<W _type="GG_WINDOW_NOPE" _name="A"/>)", R"(<W _type="g_window_simple" _name="A"/>)",
          R"(<W _type="G_WINDOW_SIMPLE"/>)", R"(<W _name="A"/>)", R"(<W _type="G_WINDOW_CONFIRM" _name="A"/>)"}) {
        EXPECT_EQ(Create(xml), nullptr) << xml;
    }
}

TEST(RefreshGuiTexts, ReplacesKeysDepthFirstAndLeavesOtherTextsAlone) {
    JC_STRING_TABLE table;
    const std::string strings =
        "<Workbook><Worksheet><Table>"
        "<Row><Cell><Data>k_title</Data></Cell><Cell><Data>Title</Data></Cell></Row>"
        "<Row><Cell><Data>k_inner</Data></Cell><Cell><Data>Inner \xC3\xA9</Data></Cell></Row>"
        "</Table></Worksheet></Workbook>";
    ASSERT_TRUE(table.LoadFromMemory(strings.data(), strings.size()));
    JC_GUI_OBJECT root(0);
    auto* title = new JC_GUI_WLABEL(1, "f.xml", "f.png", L"k_title");
    auto* plain = new JC_GUI_WLABEL(2, "f.xml", "f.png", L"plain");
    auto* inner = new JC_GUI_WLABEL(3, "f.xml", "f.png", L"k_inner");
    root.AddChild(title);
    root.AddChild(plain);
    plain->AddChild(inner);
    RefreshGuiTexts(&root, &table);
    EXPECT_EQ(title->GetText(), L"Title");
    EXPECT_EQ(plain->GetText(), L"plain");
    EXPECT_EQ(inner->GetText(), L"Inner \x00e9");
    RefreshGuiTexts(nullptr, &table);
    RefreshGuiTexts(&root, nullptr);
    EXPECT_EQ(title->GetText(), L"Title");
}

}  // namespace
}  // namespace QRV
