#include "engine/gui/gui_label.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/resources/resource.h"
#include "tests/graphics/bmfont_test_support.h"
#include "tests/graphics/sprite_test_support.h"

namespace QRV {
namespace {

class GuiLabelTest : public TestSupport::SpriteSceneTest {
protected:
    void SetUp() override {
        SpriteSceneTest::SetUp();
        PutImage("atlas.png", 128, 64);
        Put("label.xml", TestSupport::kTestFontXml);
        ASSERT_EQ(manager.LoadMain(), 1);
    }

    // The quads drawn by the label, as (left, top) pairs.
    std::vector<std::pair<float, float>> Corners(JC_GUI_WLABEL& label) {
        std::vector<std::pair<float, float>> out;
        const std::vector<JS_VERTEX> vertices = DrawnVertices([&] { label.Draw(); });
        for (size_t i = 0; i + 3 < vertices.size(); i += 4) out.emplace_back(vertices[i].x, vertices[i].y);
        return out;
    }
};

TEST_F(GuiLabelTest, DrawsItsTextAtTheWidgetAnchoredAsTheLayoutSaid) {
    JC_GUI_WLABEL label(5, "label.xml", "atlas.png", L"AB");
    EXPECT_EQ(label.kind, GUI_KIND::WLabel);
    // Set by the layout before any load; the load must not wipe them.
    label.textObject.anchor = 0;
    label.textObject.color = 0xFF00FF00;
    label.SetPosition(100, 50, 0);
    label.RestoreResources();
    ASSERT_EQ(label.loaded, 1);
    EXPECT_EQ(label.textObject.anchor, 0);
    EXPECT_EQ(label.textObject.color, 0xFF00FF00u);
    const auto corners = Corners(label);
    ASSERT_EQ(corners.size(), 2u);
    EXPECT_FLOAT_EQ(corners[0].first, 101);  // A's x offset 1
    EXPECT_FLOAT_EQ(corners[0].second, 52);
    EXPECT_FLOAT_EQ(corners[1].first, 110);

    label.SetVisible(false);
    EXPECT_TRUE(Corners(label).empty());
}

TEST_F(GuiLabelTest, TextsAreDrawnLiterallyNeverAsFormats) {
    // Only '%' has a glyph among these; a format would have read arguments that are not there.
    JC_GUI_WLABEL label(1, "label.xml", "atlas.png", L"%s%d%%");
    label.RestoreResources();
    EXPECT_EQ(Corners(label).size(), 4u);  // every '%' of the text, "%%" as two
    label.SetText(std::string("100%"));
    EXPECT_EQ(Corners(label).size(), 1u);
}

TEST_F(GuiLabelTest, SettersStoreWideTextAndMakeRoomForIt) {
    JC_GUI_WLABEL label(1, "label.xml", "atlas.png", L"");
    label.SetText(std::string("\xC5\x81\xC5\x81\xC5\x81\xC5\x81\xC5\x81"));  // five times U+0141
    EXPECT_EQ(label.GetText(), std::wstring(5, L'\x0141'));
    EXPECT_EQ(label.textObject.Capacity(), 10u);

    label.SetText(std::wstring(L"ABABABABABABAB"));
    EXPECT_EQ(label.GetText(), L"ABABABABABABAB");
    EXPECT_GE(label.textObject.Capacity(), 14u);
    label.RestoreResources();
    EXPECT_EQ(Corners(label).size(), 14u);

    // Text longer than the room made so far, put straight into the field, still draws.
    label.text = std::wstring(40, L'B');
    EXPECT_EQ(Corners(label).size(), 40u);
}

TEST_F(GuiLabelTest, LineHeightZeroKeepsTheFontsOwn) {
    JC_GUI_WLABEL keeps(1, "label.xml", "atlas.png", L"A");
    keeps.RestoreResources();
    EXPECT_EQ(keeps.textObject.lineHeight, 20);
    JC_GUI_WLABEL set(1, "label.xml", "atlas.png", L"A");
    set.lineHeight = 33;
    set.RestoreResources();
    EXPECT_EQ(set.textObject.lineHeight, 33);
}

TEST_F(GuiLabelTest, RestoreAndReleaseCountOneUserOfTheFontTexture) {
    JS_RESOURCE* atlas = Record("atlas.png");
    JS_RESOURCE* description = Record("label.xml");
    {
        JC_GUI_WLABEL label(1, "label.xml", "atlas.png", L"A");
        label.RestoreResources();
        EXPECT_EQ(atlas->refCount, 1);
        EXPECT_EQ(description->refCount, 0);  // the description is read and given back
        label.RestoreResources();
        EXPECT_EQ(atlas->refCount, 1);
        label.ReleaseResources();
        EXPECT_EQ(atlas->refCount, 0);
        EXPECT_TRUE(Corners(label).empty());
        label.ReleaseResources();
        EXPECT_EQ(atlas->refCount, 0);
        label.RestoreResources();
        EXPECT_EQ(atlas->refCount, 1);
        EXPECT_EQ(Corners(label).size(), 1u);
    }
    EXPECT_EQ(atlas->refCount, 0);  // the destructor gives it back

    // Without its description the label stays unloaded and holds nothing.
    JC_GUI_WLABEL lost(1, "missing.xml", "atlas.png", L"A");
    lost.RestoreResources();
    EXPECT_EQ(lost.loaded, 0);
    EXPECT_EQ(atlas->refCount, 0);
    EXPECT_TRUE(Corners(lost).empty());
}

TEST_F(GuiLabelTest, AlphaChangesOnlyTheAlphaOfTheTextColour) {
    JC_GUI_WLABEL label(1, "label.xml", "atlas.png", L"A");
    label.textObject.color = 0xFF336699;
    for (const auto& [alpha, expected] :
         std::vector<std::pair<float, uint32_t>>{{0.0f, 0x00336699}, {0.5f, 0x80336699}, {2.0f, 0xFF336699}}) {
        label.SetAlphaTree(alpha);
        EXPECT_EQ(label.textObject.color, expected) << alpha;
    }
}

}  // namespace
}  // namespace QRV
