#pragma once
// A temporary Resources tree with a renderer on the null device installed as the global one, and
// helpers to read back what was drawn.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/platform/null_device.h"
#include "engine/graphics/render.h"
#include "tests/platform/test_images.h"
#include "tests/resources/resource_test_support.h"

namespace QRV::TestSupport {

class SpriteSceneTest : public ResourceTreeTest {
protected:
    void SetUp() override {
        ResourceTreeTest::SetUp();
        auto owned = std::make_unique<Platform::NullRenderDevice>();
        device = owned.get();
        render = std::make_unique<JC_RENDER>(std::move(owned));
        ASSERT_EQ(render->CreateDevice(nullptr, 0.1f, 1000.0f), 1);
        previousRender = g_render;
        g_render = render.get();
    }

    void TearDown() override {
        // The records free their textures while the renderer still exists.
        ResourceTreeTest::TearDown();
        g_render = previousRender;
        render.reset();
    }

    // A solid w x h PNG below Resources.
    void PutImage(const std::string& relative, int w, int h, uint8_t r = 255, uint8_t g = 255, uint8_t b = 255) {
        const std::vector<uint8_t> png = TestImages::SolidPng(w, h, r, g, b, 255);
        Put(relative, std::string(png.begin(), png.end()));
    }

    JS_RESOURCE* Record(const std::string& key) {
        JS_RESOURCE* record = manager.GetResource(key);
        EXPECT_NE(record, nullptr) << key;
        return record;
    }

    // Runs draw inside a frame and returns the vertices the device was handed, as placed by the
    // world matrix in force for each draw.
    template <typename Draw>
    std::vector<JS_VERTEX> DrawnVertices(Draw draw) {
        device->ClearRecord();
        EXPECT_EQ(render->BeginFrame(), 1);
        draw();
        EXPECT_EQ(render->EndFrame(), 0);
        std::vector<JS_VERTEX> out;
        for (const Platform::DeviceCall* call : device->Draws()) {
            out.insert(out.end(), call->vertices.begin(), call->vertices.end());
        }
        return out;
    }

    Platform::NullRenderDevice* device = nullptr;
    std::unique_ptr<JC_RENDER> render;
    JC_RENDER* previousRender = nullptr;
};

}  // namespace QRV::TestSupport
