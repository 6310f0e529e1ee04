#pragma once
// The benchmarks' renderer: the null device counting calls only, made the program's renderer
// while it lives. `ok` when the device was created.

#include <cstdint>
#include <memory>

#include "engine/graphics/render.h"
#include "engine/platform/null_device.h"

namespace QRV::Bench {

class NullRenderer {
public:
    // With a texture side above 0, a blank texture of that size is made for the benchmark.
    explicit NullRenderer(uint32_t textureSide = 0) {
        auto owned = std::make_unique<Platform::NullRenderDevice>();
        owned->SetRecording(Platform::NullRenderDevice::Recording::CountsOnly);
        device = owned.get();
        render = std::make_unique<JC_RENDER>(std::move(owned));
        ok = render->CreateDevice(nullptr, 0.1f, 0.0f) == 1;
        if (ok && textureSide > 0) texture = render->CreateBlankTexture(textureSide, textureSide);
        previous = g_render;
        g_render = render.get();
    }
    ~NullRenderer() { g_render = previous; }
    NullRenderer(const NullRenderer&) = delete;
    NullRenderer& operator=(const NullRenderer&) = delete;

    Platform::NullRenderDevice* device = nullptr;
    std::unique_ptr<JC_RENDER> render;
    JS_TEXTURE* texture = nullptr;
    JC_RENDER* previous = nullptr;
    bool ok = false;
};

}  // namespace QRV::Bench
