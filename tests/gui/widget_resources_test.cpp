// What every button, check box, slider and bar shares: textures taken by name when built and
// given back when released, nothing drawn without them or while hidden, and a missing texture
// drawn with the default one.

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <functional>

#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_checkbox5.h"
#include "engine/gui/gui_checkbox_ios.h"
#include "engine/gui/gui_progress_bar.h"
#include "engine/gui/gui_simple_slider.h"
#include "engine/gui/gui_slider13.h"
#include "tests/gui/widget_test_support.h"

namespace QRV {
namespace {

class WidgetResourcesTest : public GuiTest::WidgetSceneTest {
protected:
    void SetUp() override {
        WidgetSceneTest::SetUp();
        LoadImages({{"strip.png", {260, 20}}, {"knob.png", {20, 20}}});
    }
    int32_t Users() { return Record("strip.png")->refCount + Record("knob.png")->refCount; }
    size_t Drawn() {
        return DrawnVertices([&] { root.DrawTree(); }).size();
    }
};

JC_GUI_OBJECT* MakeBar(const std::string& texture) {
    pugi::xml_document doc;
    doc.append_child("PROGRESS_BAR").append_attribute("ID") = 1;
    doc.document_element().append_attribute("TEXTURE") = texture.c_str();
    auto* bar = new JC_GUI_PROGRESS_BAR();
    bar->Load(doc.document_element());
    return bar;
}

TEST_F(WidgetResourcesTest, TexturesAreTakenByNameAndGivenBack) {
    using Factory = std::function<JC_GUI_OBJECT*(const std::string&, const std::string&)>;
    const struct {
        const char* what;
        Factory make;
        size_t quads;
        int32_t users;
    } cases[] = {
        {"button", [](auto& a, auto&) { return new JC_GUI_BUTTON5(1, a); }, 1, 1},
        {"check box", [](auto& a, auto&) { return new JC_GUI_CHECKBOX5(1, a); }, 1, 1},
        {"switch", [](auto& a, auto& b) { return new JC_GUI_CHECKBOX_IOS(1, a, b); }, 2, 2},
        {"slider", [](auto& a, auto&) { return new JC_GUI_SLIDER13(1, a, 1.5f, 0, 10, 1, 5, 0, 0, 200, 0, 20); }, 7, 1},
        {"simple slider", [](auto& a, auto& b) { return new JC_GUI_SIMPLE_SLIDER(1, a, b); }, 2, 2},
        {"progress bar", [](auto& a, auto&) { return MakeBar(a); }, 2, 2},  // a user per sprite
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        JC_GUI_OBJECT* widget = Add(c.make("strip.png", "knob.png"), 300, 300);
        EXPECT_EQ(Users(), c.users);
        EXPECT_EQ(Drawn(), 4 * c.quads);
        widget->RestoreResources();
        EXPECT_EQ(Users(), c.users);
        widget->SetVisible(false);
        EXPECT_EQ(Drawn(), 0u);
        widget->SetVisible(true);
        widget->ReleaseResources();
        widget->ReleaseResources();
        EXPECT_EQ(Users(), 0);
        EXPECT_EQ(Drawn(), 0u);
        widget->RestoreResources();
        EXPECT_EQ(Users(), c.users);
        EXPECT_EQ(Drawn(), 4 * c.quads);
        ClearRoot();

        JC_GUI_OBJECT* missing = Add(c.make("none.png", "none.png"), 300, 300);
        EXPECT_EQ(Drawn(), 4 * c.quads);
        missing->ReleaseResources();
        EXPECT_EQ(Drawn(), 0u);
        ClearRoot();
    }
}

}  // namespace
}  // namespace QRV
