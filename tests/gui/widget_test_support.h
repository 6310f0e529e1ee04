#pragma once
// A scene for widget tests: a renderer on the null device, a Resources tree with strips of known
// size, a scripted input object, and a root node whose walks drive one widget at a time.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/callback.h"
#include "engine/graphics/mesh.h"
#include "engine/gui/gui_object.h"
#include "engine/platform/clock.h"
#include "tests/graphics/sprite_test_support.h"
#include "tests/gui/gui_test_support.h"

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

class WidgetSceneTest : public TestSupport::SpriteSceneTest {
protected:
    void SetUp() override {
        SpriteSceneTest::SetUp();
        savedFrameTime = g_frameTime.load();
        CallLog::calls.clear();
    }
    void TearDown() override {
        // The widgets give their textures back while the cache still exists.
        root.ReleaseTree();
        for (JC_GUI_OBJECT* child : root.children) delete child;
        root.children.clear();
        g_frameTime.store(savedFrameTime);
        SpriteSceneTest::TearDown();
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

    ScriptedInput input;
    JC_GUI_OBJECT root{0};
    float savedFrameTime = 0.0f;
};

}  // namespace QRV::GuiTest
