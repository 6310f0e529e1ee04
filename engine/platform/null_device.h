#pragma once
// A device that draws nothing and records what it is asked to do: for unit tests, benchmarks and
// headless runs. It can also pretend to lose the device, which OpenGL never does.

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "engine/platform/render_device.h"

namespace QRV::Platform {

enum class CallKind {
    Create,
    Reset,
    BeginScene,
    Clear,
    EndScene,
    Present,
    LockVertices,
    UnlockVertices,
    LockIndices,
    UnlockIndices,
    DrawPrimitive,
    DrawIndexedPrimitive,
    SetBlendEnabled,
    SetBlendFunc,
    SetTextureFilter,
    SetAddressing,
    SetDepthTest,
    SetLighting,
    SetAntialias,
    SetTransform,
    CreateTexture,
    DestroyTexture,
    BindTexture,
    CreateRenderTarget,
    SetRenderTarget,
    DestroyRenderTarget,
    Count
};

// The device states as last set.
struct NullDeviceState {
    bool blend = false;
    BlendFactor dest = BlendFactor::InvSrcAlpha;
    TextureFilter filter = TextureFilter::Point;
    AddressMode addressU = AddressMode::Clamp, addressV = AddressMode::Clamp;
    bool depthTest = false;
    bool lighting = false;
    bool antialias = false;
    uint32_t texture = 0;
    uint32_t target = 0;  // the bound render target, 0 for the back buffer
    Matrix4 world = Matrix4::Identity();
    Matrix4 view = Matrix4::Identity();
    Matrix4 projection = Matrix4::Identity();
};

// One recorded call. Only the fields of its kind are meaningful.
struct DeviceCall {
    CallKind kind = CallKind::Create;
    PresentParams params;                                // Create, Reset
    uint32_t color = 0;                                  // Clear
    uint32_t first = 0, count = 0;                       // Lock*
    LockMode lockMode = LockMode::Discard;               // Lock*
    PrimitiveType primitive = PrimitiveType::Triangles;  // Draw*
    uint32_t primitiveCount = 0;                         // Draw*
    uint32_t vertexCount = 0;                            // DrawIndexedPrimitive
    bool enabled = false;                                // SetBlendEnabled, SetDepthTest, SetLighting, SetAntialias
    BlendFactor dest = BlendFactor::InvSrcAlpha;         // SetBlendFunc
    TextureFilter filter = TextureFilter::Point;         // SetTextureFilter
    AddressMode addressU = AddressMode::Clamp, addressV = AddressMode::Clamp;  // SetAddressing
    TransformKind transform = TransformKind::World;                            // SetTransform
    Matrix4 matrix = Matrix4::Identity();                                      // SetTransform
    uint32_t handle = 0;             // CreateTexture, CreateRenderTarget (the new one), DestroyTexture,
                                     // BindTexture, SetRenderTarget, DestroyRenderTarget
    uint32_t targetTexture = 0;      // CreateRenderTarget (its texture)
    uint32_t width = 0, height = 0;  // CreateTexture, CreateRenderTarget
    uint32_t channels = 4;           // CreateTexture: 1 when made by CreateAlphaTexture
    bool succeeded = true;           // SetRenderTarget
    // Draw*: the device states the draw ran under, and the vertices and indices it reads.
    NullDeviceState state;
    std::vector<JS_VERTEX> vertices;
    std::vector<uint16_t> indices;
};

class NullRenderDevice : public IRenderDevice {
public:
    enum class Recording {
        Full,        // every call with its arguments, and copies of the drawn geometry
        CountsOnly,  // only the number of calls of each kind (no allocation per call)
    };

    NullRenderDevice();

    // --- what tests configure
    void SetRecording(Recording mode) { recording = mode; }
    void SetBackBufferSize(int32_t width, int32_t height);
    // The next TestCooperativeLevel reports "needs reset", once.
    void SimulateDeviceLoss() { needsReset = true; }
    // While set, TestCooperativeLevel reports "lost".
    void SetLost(bool lost) { isLost = lost; }
    void SetFailBeginScene(bool fail) { failBeginScene = fail; }
    void SetFailClear(bool fail) { failClear = fail; }
    void SetSupportsAnisotropy(bool supported) { anisotropy = supported; }
    // While set, CreateRenderTarget makes nothing.
    void SetFailRenderTargets(bool fail) { failRenderTargets = fail; }

    // --- what tests read
    const std::vector<DeviceCall>& Calls() const { return calls; }
    size_t CountOf(CallKind kind) const { return counts[static_cast<size_t>(kind)]; }
    // The recorded calls of one kind, in order.
    std::vector<const DeviceCall*> CallsOf(CallKind kind) const;
    // The draw calls (indexed or not), in order.
    std::vector<const DeviceCall*> Draws() const;
    // Forgets the recorded calls and counts (the device's own state stays).
    void ClearRecord();

    const NullDeviceState& State() const { return state; }
    uint32_t BoundTexture() const { return state.texture; }
    size_t LiveTextureCount() const { return textures.size(); }
    bool IsLiveTexture(uint32_t handle) const { return textures.count(handle) != 0; }
    // The pixels a live texture was created with (empty when unknown).
    const std::vector<uint8_t>& TexturePixels(uint32_t handle) const;
    // The largest vertex and index ranges ever locked (first + count).
    uint32_t HighestVertexLocked() const { return highestVertex; }
    uint32_t HighestIndexLocked() const { return highestIndex; }
    bool InScene() const { return inScene; }
    size_t LiveTargetCount() const { return targets.size(); }
    bool IsLiveTarget(uint32_t handle) const { return targets.count(handle) != 0; }
    // The texture of a live target (0 when unknown).
    uint32_t TargetTexture(uint32_t handle) const;

    // --- IRenderDevice
    bool Create(const PresentParams& params) override;
    // Fails while any render target is alive (they must be released before a reset).
    bool Reset(const PresentParams& params) override;
    DeviceStatus TestCooperativeLevel() override;
    void GetBackBufferSize(int32_t& width, int32_t& height) const override;
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
    // Kept as its white RGBA texture; recorded as a CreateTexture of one channel.
    uint32_t CreateAlphaTexture(uint32_t width, uint32_t height, const uint8_t* alpha) override;
    void DestroyTexture(uint32_t handle) override;
    void BindTexture(uint32_t handle) override;
    bool SupportsAnisotropy() const override { return anisotropy; }
    RenderTargetHandles CreateRenderTarget(uint32_t width, uint32_t height) override;
    bool SetRenderTarget(uint32_t target) override;
    void DestroyRenderTarget(uint32_t target) override;

private:
    // Counts the call; returns the record to fill, or null when only counting.
    DeviceCall* Record(CallKind kind);

    struct TextureData {
        uint32_t width = 0, height = 0;
        std::vector<uint8_t> pixels;
    };

    Recording recording = Recording::Full;
    std::vector<DeviceCall> calls;
    std::array<size_t, static_cast<size_t>(CallKind::Count)> counts{};

    int32_t backBufferWidth = 1024;
    int32_t backBufferHeight = 768;
    bool needsReset = false;
    bool isLost = false;
    bool failBeginScene = false;
    bool failClear = false;
    bool anisotropy = true;
    bool failRenderTargets = false;
    bool inScene = false;

    // The locked buffers live here; the end of the last written range bounds a plain draw.
    std::vector<JS_VERTEX> vertexBuffer;
    std::vector<uint16_t> indexBuffer;
    uint32_t vertexEnd = 0;
    uint32_t highestVertex = 0;
    uint32_t highestIndex = 0;

    std::map<uint32_t, TextureData> textures;
    uint32_t nextTexture = 1;
    // Live render targets and their textures (which are also in textures).
    std::map<uint32_t, uint32_t> targets;
    uint32_t nextTarget = 1;
    NullDeviceState state;
};

}  // namespace QRV::Platform
