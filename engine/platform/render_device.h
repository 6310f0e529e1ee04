#pragma once
// The drawing device under the renderer: what the renderer needs of a graphics API, and nothing
// more. Two backends implement it: OpenGL (gl_device) and a recording null device (null_device).

#include <cstdint>

#include "engine/core/matrix4.h"

namespace QRV {

// The quad and triangle vertex: 36 bytes. The colour is ARGB (stored B, G, R, A in memory).
struct JS_VERTEX {
    float x, y, z;
    float nx, ny, nz;
    uint32_t color;
    float u, v;
};
static_assert(sizeof(JS_VERTEX) == 36, "the vertex layout is fixed at 36 bytes");

namespace Platform {

enum class DeviceStatus { Ok, Lost, NeedsReset };
enum class PrimitiveType { Points, Lines, Triangles };
enum class TransformKind { World, View, Projection };
enum class LockMode { Discard, NoOverwrite };
enum class BlendFactor { One, InvSrcAlpha };
enum class TextureFilter { Point, Linear, Anisotropic };
enum class AddressMode { Clamp, Wrap };

// What the device makes for a render target: the surface that is drawn into and the texture that
// shows what was drawn. target is 0 when none could be made.
struct RenderTargetHandles {
    uint32_t target = 0;
    uint32_t texture = 0;
};

struct PresentParams {
    int32_t backBufferWidth = 1024;
    int32_t backBufferHeight = 768;
    bool fullscreen = false;
};

class IRenderDevice {
public:
    virtual ~IRenderDevice() = default;

    // Creates the device (the GL context on the window, or nothing for the null device).
    virtual bool Create(const PresentParams& params) = 0;
    // Re-creates the size-dependent resources after a mode change or a lost device. Render
    // targets do not survive it: release every one first and make them again afterwards.
    virtual bool Reset(const PresentParams& params) = 0;
    virtual DeviceStatus TestCooperativeLevel() = 0;
    // The real size of the back buffer in pixels (the drawable), used for the letterbox.
    virtual void GetBackBufferSize(int32_t& width, int32_t& height) const = 0;

    virtual bool BeginScene() = 0;
    virtual bool Clear(uint32_t argb) = 0;
    virtual void EndScene() = 0;
    virtual void Present() = 0;

    // Dynamic buffers: the renderer appends with NoOverwrite and restarts with Discard. The
    // pointer is valid until the matching unlock.
    virtual JS_VERTEX* LockVertices(uint32_t first, uint32_t count, LockMode mode) = 0;
    virtual void UnlockVertices() = 0;
    virtual uint16_t* LockIndices(uint32_t first, uint32_t count, LockMode mode) = 0;
    virtual void UnlockIndices() = 0;
    // Draws from the start of the buffers. primitiveCount is in primitives (triangles, lines,
    // points); vertexCount is the number of vertices the draw may reference.
    virtual void DrawPrimitive(PrimitiveType type, uint32_t primitiveCount) = 0;
    virtual void DrawIndexedPrimitive(PrimitiveType type, uint32_t vertexCount, uint32_t primitiveCount) = 0;

    // Device states, each set only when the renderer's state word changes the field.
    virtual void SetBlendEnabled(bool enabled) = 0;
    virtual void SetBlendFunc(BlendFactor dest) = 0;  // source is always the source alpha
    virtual void SetTextureFilter(TextureFilter filter) = 0;
    virtual void SetAddressing(AddressMode u, AddressMode v) = 0;
    virtual void SetDepthTest(bool enabled) = 0;
    virtual void SetLighting(bool enabled) = 0;
    virtual void SetAntialias(bool enabled) = 0;
    virtual void SetTransform(TransformKind kind, const Matrix4& matrix) = 0;

    // Textures live on the device; 0 is "no texture" (vertex colour only).
    virtual uint32_t CreateTexture(uint32_t width, uint32_t height, const uint8_t* rgba) = 0;
    // A texture whose every texel is white, given by its alpha bytes alone (one a texel, rows
    // packed): it samples as white with that alpha. A device that can keep one channel does;
    // this one makes the white RGBA texture.
    virtual uint32_t CreateAlphaTexture(uint32_t width, uint32_t height, const uint8_t* alpha);
    virtual void DestroyTexture(uint32_t handle) = 0;
    virtual void BindTexture(uint32_t handle) = 0;
    virtual bool SupportsAnisotropy() const = 0;
    // The largest side of a texture the device makes; 0 while unknown. Any thread may ask.
    virtual uint32_t MaxTextureSide() const { return 0; }

    // Render targets: a texture of the given size that draws go into while it is bound. Its
    // texture binds like any other (rows top-down: v = 0 is the top of what was drawn, the
    // projection's y = +1) and goes with the target, never through DestroyTexture. Binding 0
    // returns to the back buffer and its whole viewport; false for an unknown target (the
    // binding stays). Destroying the bound target returns to the back buffer.
    virtual RenderTargetHandles CreateRenderTarget(uint32_t width, uint32_t height) = 0;
    virtual bool SetRenderTarget(uint32_t target) = 0;
    virtual void DestroyRenderTarget(uint32_t target) = 0;
};

}  // namespace Platform
}  // namespace QRV
