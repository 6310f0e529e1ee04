#pragma once
// The OpenGL drawing device: one context on the SDL window (3.3 core, else 2.1), one shader that
// multiplies the texture by the vertex colour, and CPU staging arrays for the dynamic buffers that
// are uploaded at each draw. Render targets are framebuffer objects with one texture each. Every
// call must come from the main thread.

#include <atomic>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "engine/platform/gl_functions.h"
#include "engine/platform/render_device.h"

struct SDL_Window;

namespace QRV::Platform {

// The anisotropy a texture of this many levels is sampled with under the filter: the device's
// maximum for the anisotropic filter on a mipmapped texture, else 1 (plain linear or point).
float AnisotropyFor(TextureFilter filter, uint32_t levels, float deviceMaximum);

class GlRenderDevice : public IRenderDevice {
public:
    explicit GlRenderDevice(SDL_Window* window);
    ~GlRenderDevice() override;

    GlRenderDevice(const GlRenderDevice&) = delete;
    GlRenderDevice& operator=(const GlRenderDevice&) = delete;

    bool Create(const PresentParams& params) override;
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
    // One channel where the context is 3.3 core (swizzled to white), else the white RGBA texture.
    uint32_t CreateAlphaTexture(uint32_t width, uint32_t height, const uint8_t* alpha) override;
    void DestroyTexture(uint32_t handle) override;
    void BindTexture(uint32_t handle) override;
    bool SupportsAnisotropy() const override { return anisotropyMax > 1.0f; }
    uint32_t MaxTextureSide() const override { return maxTextureSide.load(); }
    RenderTargetHandles CreateRenderTarget(uint32_t width, uint32_t height) override;
    bool SetRenderTarget(uint32_t target) override;
    void DestroyRenderTarget(uint32_t target) override;

    // The context made by Create: 33 for 3.3 core, 21 for 2.1; 0 before Create.
    int ContextVersion() const { return contextVersion; }

    // Buffer sizes, in vertices and indices.
    static constexpr uint32_t kVertexCapacity = 8192;
    static constexpr uint32_t kIndexCapacity = (8192 - 2) * 3;

private:
    // A texture of one level, point sampled and clamped, from RGBA bytes or (alphaOnly) one byte
    // a texel; pixels null: transparent.
    uint32_t MakeTexture(uint32_t width, uint32_t height, const uint8_t* pixels, bool alphaOnly);
    // Sampling parameters as the device states ask for them; applied to the texture that is
    // bound when a draw is made, since 2.1 has no sampler objects.
    struct Sampling {
        TextureFilter filter = TextureFilter::Point;
        AddressMode u = AddressMode::Clamp;
        AddressMode v = AddressMode::Clamp;
        bool operator==(const Sampling&) const = default;
    };

    // A render target: the framebuffer (its key in targets) draws into this texture.
    struct Target {
        uint32_t texture = 0;
        int32_t width = 0;
        int32_t height = 0;
    };

    bool MakeContext();
    bool HasExtension(const char* name);
    bool BuildProgram();
    bool BuildBuffers();
    void QueryAnisotropy();
    // Whether this context can make framebuffer objects.
    bool QueryFramebuffers();
    void UpdateViewport();
    void BindFramebuffer(uint32_t target);
    void PrepareDraw(uint32_t vertexCount);
    void ApplySampling(uint32_t texture);

    SDL_Window* window = nullptr;
    void* context = nullptr;
    int contextVersion = 0;
    GlFunctions gl;

    uint32_t program = 0;
    int32_t transformLocation = -1;
    uint32_t vertexArray = 0;
    uint32_t vertexBuffer = 0;
    uint32_t indexBuffer = 0;
    uint32_t whiteTexture = 0;

    std::vector<JS_VERTEX> vertices;
    std::vector<uint16_t> indices;

    int32_t drawableWidth = 0;
    int32_t drawableHeight = 0;

    Matrix4 world = Matrix4::Identity();
    Matrix4 view = Matrix4::Identity();
    Matrix4 projection = Matrix4::Identity();
    bool transformDirty = true;

    Sampling sampling;
    // The sampling last applied to each texture this device made.
    std::unordered_map<uint32_t, Sampling> textures;
    uint32_t boundTexture = 0;
    float anisotropyMax = 1.0f;
    // GL_MAX_TEXTURE_SIZE, read when the context is made (the loader thread asks for it).
    std::atomic<uint32_t> maxTextureSide{0};

    bool framebuffers = false;
    std::unordered_map<uint32_t, Target> targets;
    // The bound framebuffer; 0 is the window's back buffer.
    uint32_t boundTarget = 0;
};

}  // namespace QRV::Platform
