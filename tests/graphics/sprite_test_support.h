#pragma once
// A temporary Resources tree with a renderer on the null device installed as the global one, and
// helpers to read back what was drawn.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/graphics/render.h"
#include "tests/platform/test_images.h"
#include "tests/resources/resource_test_support.h"
#include "tests/test_kit/null_renderer.h"

namespace QRV::TestSupport {

class SpriteSceneTest : public ResourceTreeTest {
protected:
    void SetUp() override {
        ResourceTreeTest::SetUp();
        ASSERT_EQ(renderer.created, 1);
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
        return renderer.DrawnVertices(draw);
    }

    // A member, so it outlives TearDown: the records free their textures while it still exists.
    TestKit::NullRenderer renderer{1000.0f};
    Platform::NullRenderDevice* device = renderer.device;
    JC_RENDER* render = renderer.render.get();
};

}  // namespace QRV::TestSupport
