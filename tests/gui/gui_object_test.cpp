#include "engine/gui/gui_object.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/graphics/mesh.h"
#include "engine/gui/gui_alpha.h"
#include "tests/gui/gui_test_support.h"

namespace QRV {
namespace {

using GuiTest::ScriptedInput;
using GuiTest::ScriptedWidget;

// A root 0 with a panel 1 holding buttons 11 and 12 side by side, and a button 2 beside the panel.
class GuiTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        panel = new JC_GUI_OBJECT(1);
        left = new ScriptedWidget(11, 0, 0, 50, 50);
        right = new ScriptedWidget(12, 50, 0, 100, 50);
        panel->AddChild(left);
        panel->AddChild(right);
        other = new ScriptedWidget(2, 200, 0, 250, 50);
        root.AddChild(panel);
        root.AddChild(other);
    }

    JS_GUI_EVENT* PressAt(int32_t x, int32_t y) {
        input.Clear();
        input.MoveTo(x, y);
        input.Press();
        return root.DispatchMouseDown();
    }

    ScriptedInput input;
    JC_GUI_OBJECT root{0};
    JC_GUI_OBJECT* panel = nullptr;
    ScriptedWidget* left = nullptr;
    ScriptedWidget* right = nullptr;
    ScriptedWidget* other = nullptr;
};

TEST_F(GuiTreeTest, DisabledSubtreesTakeNoInputWhileHiddenOnesStillDo) {
    const struct {
        bool panelEnabled, panelVisible;
        int32_t expectedId;  // -1: nothing answers
    } cases[] = {
        {true, true, 11},
        {false, true, -1},  // the child would react, but the walk never reaches it
        {true, false, 11},  // hidden is not disabled
        {false, false, -1},
    };
    for (const auto& c : cases) {
        panel->SetEnabled(c.panelEnabled);
        panel->SetVisible(c.panelVisible);
        for (int walk = 0; walk < 4; ++walk) {
            input.Clear();
            input.MoveTo(10, 10);
            left->answersMoves = left->answersUpdates = true;
            JS_GUI_EVENT* record = nullptr;
            switch (walk) {
                case 0:
                    input.Press();
                    record = root.DispatchMouseDown();
                    break;
                case 1:
                    input.Release();
                    record = root.DispatchMouseUp();
                    break;
                case 2: record = root.DispatchMouseMove(); break;
                case 3: record = root.DispatchUpdate(); break;
            }
            if (c.expectedId < 0) {
                EXPECT_EQ(record, nullptr) << "walk " << walk;
            } else {
                ASSERT_NE(record, nullptr) << "walk " << walk;
                EXPECT_EQ(record->id, c.expectedId);
            }
        }
    }
}

// Leaves go straight to their own slot: a disabled one must still answer nothing, in every walk,
// and leave the point to the sibling under it.
TEST_F(GuiTreeTest, ADisabledLeafPassesEveryWalkToTheSiblingUnderIt) {
    right->left = 0;  // both cover (10, 10); the earlier one, left, would win
    right->answersMoves = right->answersUpdates = true;
    left->answersMoves = left->answersUpdates = true;
    const struct {
        bool leftEnabled;
        int32_t expectedId;
    } cases[] = {{true, 11}, {false, 12}};
    for (const auto& c : cases) {
        left->SetEnabled(c.leftEnabled);
        for (int walk = 0; walk < 4; ++walk) {
            input.Clear();
            input.MoveTo(10, 10);
            JS_GUI_EVENT* record = nullptr;
            switch (walk) {
                case 0:
                    input.Press();
                    record = root.DispatchMouseDown();
                    break;
                case 1:
                    input.Release();
                    record = root.DispatchMouseUp();
                    break;
                case 2: record = root.DispatchMouseMove(); break;
                case 3: record = root.DispatchUpdate(); break;
            }
            ASSERT_NE(record, nullptr) << "walk " << walk;
            EXPECT_EQ(record->id, c.expectedId) << "walk " << walk;
        }
    }
}

TEST_F(GuiTreeTest, TheEarlierOfOverlappingSiblingsTakesThePress) {
    right->left = 0;  // now both cover (10, 10)
    JS_GUI_EVENT* record = PressAt(10, 10);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->id, 11);
    EXPECT_EQ(record, &left->event);
}

TEST_F(GuiTreeTest, ActivatingCodesMarkTheWinningBranchAndClearTheOthers) {
    const struct {
        int32_t code;
        bool activates;
    } cases[] = {
        {GUI_EVENT::Click, true},  {GUI_EVENT::Press, true},  {GUI_EVENT::Activate, true}, {GUI_EVENT::KeepFocus, true},
        {GUI_EVENT::Enter, false}, {GUI_EVENT::Leave, false}, {GUI_EVENT::Drag, false},    {GUI_EVENT::Changed, false},
    };
    for (const auto& c : cases) {
        // Everything active but the root: only activating codes change flags.
        root.active = 0;
        panel->SetActive(true);
        other->SetActive(true);
        left->code = c.code;
        JS_GUI_EVENT* record = PressAt(10, 10);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->code, c.code);
        EXPECT_EQ(root.IsActive(), c.activates) << c.code;
        EXPECT_TRUE(panel->IsActive()) << c.code;
        EXPECT_TRUE(left->IsActive()) << c.code;  // the winner's own flag is left alone
        EXPECT_EQ(right->IsActive(), !c.activates) << c.code;
        EXPECT_EQ(other->IsActive(), !c.activates) << c.code;
    }
}

TEST_F(GuiTreeTest, AClickOnAGrandchildActivatesEveryAncestorOnly) {
    left->code = GUI_EVENT::Click;
    other->SetActive(true);
    right->SetActive(true);
    panel->active = 0;
    ASSERT_NE(PressAt(10, 10), nullptr);
    EXPECT_TRUE(root.IsActive());
    EXPECT_TRUE(panel->IsActive());
    EXPECT_FALSE(right->IsActive());
    EXPECT_FALSE(other->IsActive());
}

TEST_F(GuiTreeTest, ANodeAnswersItselfOnlyWhenNoChildDoes) {
    ScriptedWidget* holder = new ScriptedWidget(3, 300, 0, 400, 100);
    ScriptedWidget* inner = new ScriptedWidget(31, 300, 0, 350, 50);
    holder->AddChild(inner);
    root.AddChild(holder);
    EXPECT_EQ(PressAt(310, 10)->id, 31);
    EXPECT_EQ(PressAt(360, 60)->id, 3);
    EXPECT_EQ(PressAt(500, 60), nullptr);
}

// A pointer that jumps off one widget onto another reaches both on one move: the walk goes on
// past a leave, while any other answer still ends it.
TEST_F(GuiTreeTest, AMoveThatLeavesOneWidgetStillReachesTheOneItEnters) {
    int rightVisits = 0;
    for (ScriptedWidget* w : {left, right, other}) w->answersMoves = true;
    right->onAnswer = [&] { ++rightVisits; };
    left->right = 1000;  // answers every move below y 50
    right->code = GUI_EVENT::Enter;
    other->code = GUI_EVENT::Enter;
    const struct {
        int32_t leftCode, x;
        int32_t id, code;
        int rightVisits;
    } cases[] = {
        {GUI_EVENT::Leave, 60, 12, GUI_EVENT::Enter, 1},   // through the leave to the entry
        {GUI_EVENT::Leave, 210, 2, GUI_EVENT::Enter, 0},   // out of the panel to its sibling
        {GUI_EVENT::Leave, 150, 11, GUI_EVENT::Leave, 0},  // nothing else answers: the leave
        {GUI_EVENT::Enter, 60, 11, GUI_EVENT::Enter, 0},   // an entry ends the walk
        {GUI_EVENT::Drag, 60, 11, GUI_EVENT::Drag, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        left->code = c.leftCode;
        rightVisits = 0;
        input.Clear();
        input.MoveTo(c.x, 10);
        const JS_GUI_EVENT* record = root.DispatchMouseMove();
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->id, c.id);
        EXPECT_EQ(record->code, c.code);
        EXPECT_EQ(rightVisits, c.rightVisits);
    }
}

TEST_F(GuiTreeTest, TheMouseMoveWalkStoresThePointerInEveryNodeItVisits) {
    input.MoveTo(123, 45);
    root.DispatchMouseMove();
    for (const JC_GUI_OBJECT* node : {static_cast<JC_GUI_OBJECT*>(&root), panel, static_cast<JC_GUI_OBJECT*>(left),
                                      static_cast<JC_GUI_OBJECT*>(right), static_cast<JC_GUI_OBJECT*>(other)}) {
        EXPECT_FLOAT_EQ(node->lastMouseX, 123);
        EXPECT_FLOAT_EQ(node->lastMouseY, 45);
    }
}

TEST_F(GuiTreeTest, ACallbackThatEditsTheTreeDuringAWalkIsSafe) {
    // A callback run by a child that answers nothing (a hover re-test) detaches its siblings and
    // adds new ones; the walk goes on over the children as they are now.
    for (const int32_t code : {GUI_EVENT::None, GUI_EVENT::Click}) {
        std::vector<JC_GUI_OBJECT*> detached;
        left->code = code;
        left->answersUpdates = true;
        ScriptedWidget* added = nullptr;
        left->onAnswer = [&] {
            for (JC_GUI_OBJECT* child : panel->children) {
                if (child != left) detached.push_back(child);
            }
            panel->children.assign(1, left);
            for (int i = 0; i < 20; ++i) panel->AddChild(added = new ScriptedWidget(100 + i, 0, 0, 50, 50));
            added->answersUpdates = true;
            added->code = GUI_EVENT::Changed;
            left->onAnswer = nullptr;
        };
        input.MoveTo(10, 10);
        JS_GUI_EVENT* record = root.DispatchUpdate();
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->id, code == GUI_EVENT::None ? 119 : 11);
        EXPECT_EQ(panel->children.size(), 21u);
        for (JC_GUI_OBJECT* child : detached) delete child;
    }
}

TEST(GuiObjectTest, FindChildByIdSearchesDescendantsInPreOrder) {
    JC_GUI_OBJECT root(0);
    auto* a = new JC_GUI_OBJECT(5);
    auto* aChild = new JC_GUI_OBJECT(7);
    auto* b = new JC_GUI_OBJECT(7);
    auto* zero = new JC_GUI_OBJECT(0);
    a->AddChild(aChild);
    root.AddChild(a);
    root.AddChild(b);
    b->AddChild(zero);
    EXPECT_EQ(root.FindChildById(7), aChild);  // a's subtree comes before the later sibling
    EXPECT_EQ(root.FindChildById(5), a);
    EXPECT_EQ(root.FindChildById(0), zero);  // never the root itself
    EXPECT_EQ(a->FindChildById(5), nullptr);
    EXPECT_EQ(root.FindChildById(99), nullptr);
}

// A widget with one quad that shows its alpha the way every widget does.
class QuadWidget : public JC_GUI_OBJECT {
public:
    QuadWidget() : JC_GUI_OBJECT(1) { SetMeshColor(&quad, 0xFF102030); }
    void SetAlpha(float a) override { SetMeshAlpha(&quad, AlphaByte(a)); }
    JC_MESH quad;
};

TEST(GuiObjectTest, SetAlphaTreeStoresTheValueAndWritesTheClampedByte) {
    const struct {
        float alpha;
        uint32_t expectedAlphaByte;
    } cases[] = {{1.5f, 255}, {1.0f, 255}, {0.5f, 128}, {0.0f, 0}, {-0.2f, 0}, {0.25f, 64}};
    for (const auto& c : cases) {
        JC_GUI_OBJECT root(0);
        auto* widget = new QuadWidget();
        root.AddChild(widget);
        root.SetAlphaTree(c.alpha);
        EXPECT_FLOAT_EQ(root.alpha, c.alpha);
        EXPECT_FLOAT_EQ(widget->alpha, c.alpha);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(widget->quad.vertices[i].color, (c.expectedAlphaByte << 24) | 0x102030u) << c.alpha;
        }
    }
}

TEST(GuiObjectTest, DrawTreeSkipsAHiddenSubtree) {
    JC_GUI_OBJECT root(0);
    auto* shown = new ScriptedWidget(1, 0, 0, 1, 1);
    auto* hidden = new ScriptedWidget(2, 0, 0, 1, 1);
    auto* belowHidden = new ScriptedWidget(3, 0, 0, 1, 1);
    hidden->AddChild(belowHidden);
    root.AddChild(shown);
    root.AddChild(hidden);
    hidden->visible = 0;
    root.DrawTree();
    EXPECT_EQ(shown->draws, 1);
    EXPECT_EQ(hidden->draws, 0);
    EXPECT_EQ(belowHidden->draws, 0);
}

TEST(GuiObjectTest, CallbacksGetTheWholeWidgetAddress) {
    // A widget that reports its enter callback the way a button does.
    struct Caller : JC_GUI_OBJECT {
        Caller() : JC_GUI_OBJECT(4) {}
        void Enter() { CallCallback(enterCallback); }
    };
    static uintptr_t seen = 0;
    Caller widget;
    widget.enterCallback = JS_CALLBACK::Create([](uintptr_t argument) {
        seen = argument;
        return 0;
    });
    widget.Enter();
    EXPECT_EQ(seen, reinterpret_cast<uintptr_t>(&widget));
    EXPECT_EQ(reinterpret_cast<Caller*>(seen)->GetId(), 4);
}

}  // namespace
}  // namespace QRV
