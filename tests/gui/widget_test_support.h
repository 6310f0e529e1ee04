#pragma once
// A scene for widget tests: the text-widget scene (a renderer on the null device, a Resources tree
// with the GUI font, a scripted input object, the frame time given back) with strips of known size,
// and a root node whose walks drive one widget at a time.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/callback.h"
#include "engine/graphics/mesh.h"
#include "engine/gui/gui_object.h"
#include "engine/platform/clock.h"
#include "tests/gui/gui_test_support.h"
#include "tests/gui/widget_scene.h"

namespace QRV::GuiTest {

// Callback records that log the word each call receives.
struct CallLog {
    static inline std::vector<uintptr_t> calls;
    static int Log(uintptr_t word) {
        calls.push_back(word);
        return 0;
    }
    static JS_CALLBACK* Make(uintptr_t argument = 0) {
        JS_CALLBACK* record = JS_CALLBACK::Create(&Log);
        record->argument = argument;
        return record;
    }
};

class WidgetSceneTest : public TextWidgetSceneTest {
protected:
    void SetUp() override {
        TextWidgetSceneTest::SetUp();
        CallLog::calls.clear();
    }
    void TearDown() override {
        // The widgets give their textures back while the cache still exists.
        ClearRoot();
        TextWidgetSceneTest::TearDown();
    }

    // Releases and deletes every widget under the root.
    void ClearRoot() {
        root.ReleaseTree();
        for (JC_GUI_OBJECT* child : root.children) delete child;
        root.children.clear();
    }

    // Writes the images, then loads the main repository.
    void LoadImages(const std::vector<std::pair<std::string, std::pair<int, int>>>& images) {
        for (const auto& [name, size] : images) PutImage(name, size.first, size.second);
        ASSERT_EQ(manager.LoadMain(), 1);
    }

    // Puts the widget under the parent (the root when none; the parent owns it), moved to
    // (x, y) when given, and builds it.
    template <typename Widget>
    Widget* Add(Widget* widget, JC_GUI_OBJECT* parent = nullptr) {
        if (parent == nullptr) parent = &root;
        widget->transform->parent = parent->transform;
        parent->AddChild(widget);
        widget->RestoreTree();
        return widget;
    }
    template <typename Widget>
    Widget* Add(Widget* widget, float x, float y) {
        widget->transform->positionX = x;
        widget->transform->positionY = y;
        return Add(widget);
    }

    // One frame of input through the root's walks; the code of the record, or -1 for none.
    int32_t Move(int32_t x, int32_t y) {
        input.Clear();
        input.MoveTo(x, y);
        return Code(root.DispatchMouseMove());
    }
    int32_t Down(int32_t vk = VK_LBUTTON) {
        input.Clear();
        input.Press(vk);
        return Code(root.DispatchMouseDown());
    }
    int32_t Up(int32_t vk = VK_LBUTTON) {
        input.Clear();
        input.Release(vk);
        return Code(root.DispatchMouseUp());
    }
    // One scripted frame: kWarp only moves the pointer (no walk), kDrag moves it with the left
    // button held.
    enum Op { kMove, kWarp, kDrag, kDown, kUp, kRightDown, kRightUp, kKeyDown, kKeyUp };
    int32_t Do(Op op, int32_t x, int32_t y) {
        switch (op) {
            case kMove: return Move(x, y);
            case kWarp: input.MoveTo(x, y); return -1;
            case kDrag:
                input.Clear();
                input.MoveTo(x, y);
                input.SetKey(VK_LBUTTON, 2);
                return Code(root.DispatchMouseMove());
            case kDown: return Down();
            case kUp: return Up();
            case kRightDown: return Down(VK_RBUTTON);
            case kRightUp: return Up(VK_RBUTTON);
            case kKeyDown: return Down(VK_SPACE);
            case kKeyUp: return Up(VK_SPACE);
        }
        return -1;
    }

    // Ticks of the update walk, each `dt` seconds long.
    void Tick(int frames, float dt) {
        g_frameTime.store(dt);
        for (int i = 0; i < frames; ++i) root.DispatchUpdate();
    }
    static int32_t Code(const JS_GUI_EVENT* record) { return record != nullptr ? record->code : -1; }

    // The strip frame a quad shows, from its left texture coordinate.
    static int32_t Frame(const JC_MESH* quad, int32_t frames) {
        return static_cast<int32_t>(quad->vertices[0].u * static_cast<float>(frames) + 0.5f);
    }

    JC_GUI_OBJECT root{0};
};

}  // namespace QRV::GuiTest
