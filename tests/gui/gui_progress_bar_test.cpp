#include "engine/gui/gui_progress_bar.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cmath>
#include <vector>

#include "tests/gui/widget_test_support.h"

namespace QRV {
namespace {

using GuiTest::CallLog;

// A 200 x 20 texture: a 100 x 20 bar centred on (300, 200), from x 250 to 350.
class ProgressBarTest : public GuiTest::WidgetSceneTest {
protected:
    void SetUp() override {
        WidgetSceneTest::SetUp();
        LoadImages({{"bar.png", {200, 20}}});
    }
    JC_GUI_PROGRESS_BAR* Make(
        const char* xml = "<PROGRESS_BAR ID='5' TEXTURE='bar.png'><POS>300 200</POS></PROGRESS_BAR>") {
        pugi::xml_document doc;
        EXPECT_TRUE(doc.load_string(xml));
        auto* bar = new JC_GUI_PROGRESS_BAR();
        EXPECT_TRUE(bar->Load(doc.document_element()));
        bar->completionCallback = CallLog::Make();
        return Add(bar);
    }
    // The fill's corners as drawn (the second quad).
    std::vector<JS_VERTEX> Fill() {
        std::vector<JS_VERTEX> v = DrawnVertices([&] { root.DrawTree(); });
        return v.size() == 8 ? std::vector<JS_VERTEX>(v.begin() + 4, v.end()) : std::vector<JS_VERTEX>{};
    }
};

TEST_F(ProgressBarTest, LoadNeedsAnIdAndGivesThePlacementToTheWidget) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string("<PROGRESS_BAR TEXTURE='bar.png'/>"));
    JC_GUI_PROGRESS_BAR without;
    EXPECT_EQ(without.GetId(), -1);
    EXPECT_FALSE(without.Load(doc.document_element()));

    JC_GUI_PROGRESS_BAR* bar = Make();
    EXPECT_EQ(bar->GetId(), 5);
    EXPECT_FLOAT_EQ(bar->fullWidth, 100.0f);
    EXPECT_FLOAT_EQ(bar->height, 20.0f);
    const std::vector<JS_VERTEX> v = DrawnVertices([&] { root.DrawTree(); });
    ASSERT_EQ(v.size(), 8u);
    EXPECT_FLOAT_EQ(v[0].x, 250.0f);
    EXPECT_FLOAT_EQ(v[0].y, 190.0f);
    EXPECT_FLOAT_EQ(v[1].u, 0.5f);
    // A window transition moves the widget, and both sprites go along.
    bar->SetPosition(400, 200, 0);
    bar->value = 1;
    bar->ApplyValue();
    const std::vector<JS_VERTEX> fill = Fill();
    ASSERT_EQ(fill.size(), 4u);
    EXPECT_FLOAT_EQ(fill[0].x, 350.0f);
    EXPECT_FLOAT_EQ(fill[1].x, 450.0f);
}

TEST_F(ProgressBarTest, TheValueIsClampedToTheBar) {
    JC_GUI_PROGRESS_BAR* bar = Make();
    const struct {
        float value, shown;
    } cases[] = {{0.5f, 0.5f}, {1.5f, 1.0f}, {-0.2f, 0.0f}, {NAN, 0.0f}, {0.25f, 0.25f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        bar->value = c.value;
        bar->ApplyValue();
        EXPECT_FLOAT_EQ(bar->value, c.shown);
        const std::vector<JS_VERTEX> fill = Fill();
        ASSERT_EQ(fill.size(), 4u);
        EXPECT_FLOAT_EQ(fill[0].x, 250.0f);  // from the bar's left edge
        EXPECT_FLOAT_EQ(fill[1].x, 250.0f + 100.0f * c.shown);
        EXPECT_FLOAT_EQ(fill[0].u, 0.5f);
        EXPECT_FLOAT_EQ(fill[1].u, 0.5f + 0.5f * c.shown);
    }
}

TEST_F(ProgressBarTest, CompletionCallsBackOnceEachTimeItCompletes) {
    JC_GUI_PROGRESS_BAR* bar = Make();
    const struct {
        bool complete;
        size_t calls;
    } applies[] = {{true, 1}, {true, 1}, {false, 1}, {false, 1}, {true, 2}, {true, 2}};
    for (size_t i = 0; i < std::size(applies); ++i) {
        bar->complete = applies[i].complete ? 1 : 0;
        bar->ApplyValue();
        EXPECT_EQ(CallLog::calls.size(), applies[i].calls) << i;
    }
    EXPECT_EQ(CallLog::calls.front(), reinterpret_cast<uintptr_t>(bar));
}

}  // namespace
}  // namespace QRV
