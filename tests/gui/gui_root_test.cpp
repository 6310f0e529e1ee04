#include "engine/gui/gui_root.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/graphics/texture.h"
#include "tests/gui/gui_test_support.h"

namespace QRV {
namespace {

using GuiTest::ScriptedWidget;

std::vector<int32_t> Ids(const std::vector<JC_GUI_OBJECT*>& level) {
    std::vector<int32_t> ids;
    for (const JC_GUI_OBJECT* node : level) ids.push_back(node->GetId());
    return ids;
}

TEST(GuiRootTest, LevelsHoldTheTreeByDepthWithAnEmptyLevelBelow) {
    {
        JC_GUI_ROOT root;
        root.BuildLevels(-1, root.rootObject);
        ASSERT_EQ(root.levels.size(), 1u);
        EXPECT_TRUE(root.levels[0].empty());
    }
    {
        JC_GUI_ROOT root;
        root.rootObject->AddChild(new JC_GUI_OBJECT(1));
        root.rootObject->AddChild(new JC_GUI_OBJECT(2));
        root.BuildLevels(-1, root.rootObject);
        ASSERT_EQ(root.levels.size(), 2u);
        EXPECT_EQ(Ids(root.levels[0]), (std::vector<int32_t>{1, 2}));
        EXPECT_TRUE(root.levels[1].empty());
    }
    {
        // 1 (11 (111), 12), 2 (21): depth first, each level in the order the walk met it.
        JC_GUI_ROOT root;
        auto* n1 = new JC_GUI_OBJECT(1);
        auto* n11 = new JC_GUI_OBJECT(11);
        n11->AddChild(new JC_GUI_OBJECT(111));
        n1->AddChild(n11);
        n1->AddChild(new JC_GUI_OBJECT(12));
        auto* n2 = new JC_GUI_OBJECT(2);
        n2->AddChild(new JC_GUI_OBJECT(21));
        root.rootObject->AddChild(n1);
        root.rootObject->AddChild(n2);
        root.RebuildLevels();
        ASSERT_EQ(root.levels.size(), 4u);
        EXPECT_EQ(Ids(root.levels[0]), (std::vector<int32_t>{1, 2}));
        EXPECT_EQ(Ids(root.levels[1]), (std::vector<int32_t>{11, 12, 21}));
        EXPECT_EQ(Ids(root.levels[2]), (std::vector<int32_t>{111}));
        EXPECT_TRUE(root.levels[3].empty());
    }
}

TEST(GuiRootTest, SortingGroupsEachLevelByTextureInOrderOfFirstAppearance) {
    JS_TEXTURE a, b, c;
    const struct {
        std::vector<JS_TEXTURE*> textures;
        std::vector<int32_t> expected;  // ids = original positions
    } cases[] = {
        {{&a, &b, &a, &c, &b}, {0, 2, 1, 4, 3}},
        {{&a, &a, &b}, {0, 1, 2}},
        {{nullptr, &a, nullptr}, {0, 2, 1}},
        {{}, {}},
    };
    for (const auto& test : cases) {
        JC_GUI_ROOT root;
        for (size_t i = 0; i < test.textures.size(); ++i) {
            auto* widget = new ScriptedWidget(static_cast<int32_t>(i), 0, 0, 1, 1);
            widget->texture = test.textures[i];
            root.rootObject->AddChild(widget);
        }
        root.RebuildLevels();
        EXPECT_EQ(Ids(root.levels[0]), test.expected);
    }
}

TEST(GuiRootTest, DrawGoesLevelByLevelAndSkipsHiddenWidgets) {
    JC_GUI_ROOT root;
    std::vector<int32_t> order;
    struct Recorder : ScriptedWidget {
        Recorder(int32_t id, std::vector<int32_t>& order) : ScriptedWidget(id, 0, 0, 1, 1), order(order) {}
        void Draw() override { order.push_back(GetId()); }
        std::vector<int32_t>& order;
    };
    auto* panel = new Recorder(1, order);
    panel->AddChild(new Recorder(11, order));
    auto* hidden = new Recorder(2, order);
    auto* shownBelowHidden = new Recorder(21, order);
    hidden->AddChild(shownBelowHidden);
    root.rootObject->AddChild(panel);
    root.rootObject->AddChild(hidden);
    root.rootObject->AddChild(new Recorder(3, order));
    root.RebuildLevels();

    hidden->SetVisible(false);
    root.Draw();
    EXPECT_EQ(order, (std::vector<int32_t>{1, 3, 11}));

    // A widget hidden on its own is skipped; its shown children still draw.
    order.clear();
    hidden->SetVisible(true);
    hidden->visible = 0;
    root.Draw();
    EXPECT_EQ(order, (std::vector<int32_t>{1, 3, 11, 21}));
}

}  // namespace
}  // namespace QRV
