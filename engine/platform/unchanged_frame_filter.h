#pragma once
// A device in front of another that keeps a resting picture from being drawn and presented again.
// What a scene asks for (clear, buffers, draws, states, transforms, textures bound, render targets)
// is written down instead of drawn; at the end of the scene it is compared with what the last
// presented scene asked for. The same list draws nothing and presents nothing (the window still
// shows that picture); a different one is handed to the device in order and presented. Calls that
// make or free device objects, and any call outside a scene, go straight through and make the
// next scene present. A window system that lost the picture (uncovered, resized) asks for the
// next scene to be presented with RequestFullFrame.

#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "engine/platform/render_device.h"

namespace QRV::Platform {

// Any thread: the next scene is drawn and presented whatever it holds.
void RequestFullFrame();

class UnchangedFrameFilter : public IRenderDevice {
public:
    // The device stays the caller's and must outlive the filter.
    explicit UnchangedFrameFilter(IRenderDevice* device) : device(device) {}

    // Scenes presented and scenes found the same as the last presented one.
    uint64_t PresentedFrames() const { return presented; }
    uint64_t SkippedFrames() const { return skipped; }
    // Whether the last scene ended was presented.
    bool LastFramePresented() const { return lastPresented; }

    bool Create(const PresentParams& params) override;
    bool Reset(const PresentParams& params) override;
    DeviceStatus TestCooperativeLevel() override { return device->TestCooperativeLevel(); }
    void GetBackBufferSize(int32_t& width, int32_t& height) const override { device->GetBackBufferSize(width, height); }

    bool BeginScene() override;
    bool Clear(uint32_t argb) override;
    void EndScene() override;
    void Present() override;

    JS_VERTEX* LockVertices(uint32_t first, uint32_t count, LockMode mode) override;
    void UnlockVertices() override;
    uint16_t* LockIndices(uint32_t first, uint32_t count, LockMode mode) override;
    void UnlockIndices() override;
    void DrawPrimitive(PrimitiveType type, uint32_t primitiveCount) override;
    void DrawIndexedPrimitive(PrimitiveType type, uint32_t vertexCount, uint32_t primitiveCount) override;

    void SetBlendEnabled(bool enabled) override;
    void SetBlendFunc(BlendFactor dest) override;
    void SetTextureFilter(TextureFilter filter) override;
    void SetAddressing(AddressMode u, AddressMode v) override;
    void SetDepthTest(bool enabled) override;
    void SetLighting(bool enabled) override;
    void SetAntialias(bool enabled) override;
    void SetTransform(TransformKind kind, const Matrix4& matrix) override;

    uint32_t CreateTexture(uint32_t width, uint32_t height, const uint8_t* rgba) override;
    uint32_t CreateAlphaTexture(uint32_t width, uint32_t height, const uint8_t* alpha) override;
    void DestroyTexture(uint32_t handle) override;
    void BindTexture(uint32_t handle) override;
    bool SupportsAnisotropy() const override { return device->SupportsAnisotropy(); }
    RenderTargetHandles CreateRenderTarget(uint32_t width, uint32_t height) override;
    bool SetRenderTarget(uint32_t target) override;
    void DestroyRenderTarget(uint32_t target) override;

private:
    enum class Op : uint32_t {
        Clear,
        Vertices,
        Indices,
        Draw,
        DrawIndexed,
        Blend,
        BlendFunc,
        Filter,
        Addressing,
        DepthTest,
        Lighting,
        Antialias,
        Transform,
        BindTexture,
        RenderTarget,
    };

    // Whether calls are written down now (inside a scene).
    bool Recording() const { return inScene; }
    void Write(Op op, uint32_t a = 0, uint32_t b = 0, uint32_t c = 0);
    // Room for count items of size bytes after a header; the memory until the next call.
    void* WriteData(Op op, uint32_t first, uint32_t count, LockMode mode, size_t size);
    // Hands what is written and not yet replayed to the device.
    void Replay();
    // A call that cannot wait: what the scene wrote so far goes to the device first, and the
    // scene will be presented.
    void PassThrough();

    IRenderDevice* device;
    bool inScene = false;
    bool mustPresent = true;
    bool presentPending = false;
    bool lastPresented = false;
    std::vector<uint32_t> current;
    std::vector<uint32_t> previous;
    size_t replayed = 0;
    std::unordered_set<uint32_t> targets;
    uint64_t presented = 0;
    uint64_t skipped = 0;
};

}  // namespace QRV::Platform
