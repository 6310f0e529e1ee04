#pragma once
// A renderer on the null device, made the program's renderer (g_render) for as long as it lives,
// and what was drawn read back from the device's record.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/graphics/render.h"
#include "engine/platform/null_device.h"
#include "tests/test_kit/global_guard.h"

namespace QRV::TestKit {

class NullRenderer {
public:
    explicit NullRenderer(float farPlane = 0.0f) {
        auto owned = std::make_unique<Platform::NullRenderDevice>();
        device = owned.get();
        render = std::make_unique<JC_RENDER>(std::move(owned));
        created = render->CreateDevice(nullptr, 0.1f, farPlane);
        guard.Set(g_render, render.get());
    }
    NullRenderer(const NullRenderer&) = delete;
    NullRenderer& operator=(const NullRenderer&) = delete;

    // Runs draw inside a frame; the vertices the device was handed, draw after draw, as placed by
    // the world matrix in force for each.
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

    // What the device was handed in one frame, draw by draw, and the renderer's counters after it.
    struct Frame {
        std::vector<std::vector<JS_VERTEX>> vertices;
        std::vector<std::vector<uint16_t>> indices;
        uint32_t drawCalls = 0;
        uint32_t batches = 0;
    };
    template <typename Draw>
    Frame RecordFrame(Draw draw) {
        device->ClearRecord();
        EXPECT_EQ(render->BeginFrame(), 1);
        draw();
        EXPECT_EQ(render->EndFrame(), 0);
        Frame frame;
        for (const Platform::DeviceCall* call : device->Draws()) {
            frame.vertices.push_back(call->vertices);
            frame.indices.push_back(call->indices);
        }
        frame.drawCalls = render->drawCalls;
        frame.batches = render->batches;
        return frame;
    }

    Platform::NullRenderDevice* device = nullptr;
    std::unique_ptr<JC_RENDER> render;
    // What CreateDevice returned (1 made).
    int created = 0;

private:
    // Declared last: g_render is given back before the renderer goes.
    GlobalGuard guard;
};

}  // namespace QRV::TestKit
