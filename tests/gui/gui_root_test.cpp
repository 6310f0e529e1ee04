#include "engine/gui/gui_root.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/graphics/mesh.h"
#include "engine/graphics/texture.h"
#include "tests/gui/gui_test_support.h"
#include "tests/test_kit/null_renderer.h"

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

// A node drawing one quad of the renderer's default texture, placed by the node's transform.
class QuadNode : public JC_GUI_OBJECT {
public:
    explicit QuadNode(int32_t id) : JC_GUI_OBJECT(id) {
        quad.SetWholeTexture(g_render->defaultTexture, transform);
        quad.SetSize(30.0f, 20.0f);
        quad.SetHotSpot(4);
    }
    void Draw() override { quad.Draw(); }
    JC_MESH quad;
};

TEST(GuiRootTest, DrawPlacesEveryVertexAsEachNodeDrawnAloneDoes) {
    TestKit::NullRenderer renderer;
    ASSERT_EQ(renderer.created, 1);
    JC_GUI_ROOT root;
    root.rootObject->transform->positionX = 12.0f;
    root.rootObject->transform->rotationZ = 0.1f;
    std::vector<QuadNode*> nodes;
    // Panels rotated and scaled, each with widgets and one widget with a child of its own.
    for (int p = 0; p < 3; ++p) {
        auto* panel = new QuadNode(10 + p);
        panel->SetPosition(100.0f + 150.0f * static_cast<float>(p), 90.0f, 0.0f);
        panel->transform->rotationZ = 0.3f * static_cast<float>(p);
        panel->transform->scaleX = panel->transform->scaleY = 1.0f + 0.25f * static_cast<float>(p);
        panel->transform->parent = root.rootObject->transform;
        root.rootObject->AddChild(panel);
        nodes.push_back(panel);
        for (int i = 0; i < 3; ++i) {
            auto* widget = new QuadNode(100 + p * 10 + i);
            widget->SetPosition(-40.0f + 33.3f * static_cast<float>(i), -0.0f, 0.0f);
            widget->transform->rotationZ = -0.2f * static_cast<float>(i);
            widget->transform->parent = panel->transform;
            panel->AddChild(widget);
            nodes.push_back(widget);
        }
        auto* inner = new QuadNode(200 + p);
        inner->SetPosition(7.5f, 5.25f, 0.0f);
        inner->transform->parent = panel->children[0]->transform;
        panel->children[0]->AddChild(inner);
        nodes.push_back(inner);
    }
    root.RebuildLevels();
    const auto alone = [&] {
        return renderer.DrawnVertices([&] {
            for (const auto& level : root.levels) {
                for (JC_GUI_OBJECT* node : level) {
                    auto* quadNode = static_cast<QuadNode*>(node);
                    quadNode->quad.worldCache.valid = false;
                    quadNode->Draw();
                }
            }
        });
    };
    const auto same = [](const std::vector<JS_VERTEX>& a, const std::vector<JS_VERTEX>& b) {
        return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(JS_VERTEX)) == 0;
    };
    // Twice, the second time after panels and the root moved: nothing of a pass outlives it.
    for (int frame = 0; frame < 2; ++frame) {
        const std::vector<JS_VERTEX> drawn = renderer.DrawnVertices([&] { root.Draw(); });
        ASSERT_EQ(drawn.size(), nodes.size() * 4);
        EXPECT_TRUE(same(drawn, alone())) << "frame " << frame;
        root.rootObject->transform->positionY += 3.0f;
        nodes[0]->transform->rotationZ += 0.5f;
        nodes[5]->transform->scaleX = 0.5f;
    }
}

}  // namespace
}  // namespace QRV
