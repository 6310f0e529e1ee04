#pragma once
// The renderer: batches every quad and triangle list into one dynamic buffer pair, turns the
// render-state word into device states only when it changes, and owns the textures and the render
// targets.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/core/matrix4.h"
#include "engine/graphics/camera.h"
#include "engine/graphics/render_target.h"
#include "engine/graphics/texture.h"
#include "engine/graphics/world_rows.h"
#include "engine/platform/render_device.h"
#include "engine/platform/unchanged_frame_filter.h"

namespace QRV {

// Render-state word fields.
namespace RS {
constexpr uint32_t Opaque = 0x1;
constexpr uint32_t AlphaBlend = 0x2;
constexpr uint32_t Additive = 0x4;
constexpr uint32_t FilterMask = 0xF0;
constexpr uint32_t FilterShift = 4;
constexpr uint32_t DepthTest = 0x200;
constexpr uint32_t Textured = 0x400;
constexpr uint32_t Lighting = 0x800;
constexpr uint32_t PrimitiveMask = 0x7000;
constexpr uint32_t PrimitiveShift = 12;
constexpr uint32_t AddressMask = 0x18000;
constexpr uint32_t AddressShift = 15;
constexpr uint32_t Camera = 0x20000;
constexpr uint32_t Antialias = 0x40000;
// Two words are the same state when they agree on these bits.
constexpr uint32_t CompareMask = 0x3FFFF;
}  // namespace RS

// A particle as the renderer reads it: the first five words are the point, then the next link.
struct JS_POINT_SPRITE {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    float size = 0.0f;
    uint32_t color = 0;
    JS_POINT_SPRITE* next = nullptr;
};

// An upright textured rectangle in local coordinates (z 0), drawn as the quad of corners
// (left, top), (right, top), (right, bottom), (left, bottom) with the texels (u0, v0), (u1, v0),
// (u1, v1), (u0, v1).
struct JS_RECT_QUAD {
    float left, top, right, bottom;
    float u0, v0, u1, v1;
};

class JC_RENDER {
public:
    explicit JC_RENDER(std::unique_ptr<Platform::IRenderDevice> device);
    ~JC_RENDER();

    // 1, or -1 when the device or the default texture cannot be made.
    int CreateDevice(void* window, float nearPlane, float farPlane);
    void SetDisplayMode(uint32_t width, uint32_t height, uint8_t fullscreen, uint8_t stretch);

    // 1 drawing may start; -1 lost, already in a frame or clear failed; 0 scene failed; -110 the
    // device was rebuilt and this frame is skipped.
    int BeginFrame();
    // 0, or -1 when no frame is open.
    int EndFrame();

    void DrawTriangles(const JS_VERTEX* vertices, JS_TEXTURE* texture, uint32_t state, uint32_t vertexCount,
                       const uint16_t* indices, uint32_t indexCount);
    // Exactly DrawTriangles(vertices, texture, state, 4, kQuadIndices, 6), the call of every quad
    // and sprite, without the work a general list needs (whole primitives, index checks).
    void DrawQuad(const JS_VERTEX* vertices, JS_TEXTURE* texture, uint32_t state);
    // DrawQuad under the world matrix whose rows are given (the caller has just made them and
    // loaded them too): they arrive in registers, not read back from the matrix just written.
    void DrawQuadRows(const JS_VERTEX* vertices, JS_TEXTURE* texture, uint32_t state, JS_MATRIX_ROW row0,
                      JS_MATRIX_ROW row1, JS_MATRIX_ROW row2, JS_MATRIX_ROW row3);
    // The rectangles in one colour, exactly as DrawTriangles draws their corners (normal 0) with
    // the indices 0 1 2, 0 2 3 of each, in one draw call; a corner's products with the world
    // matrix are shared with the corners on the same edges.
    void DrawRects(const JS_RECT_QUAD* rects, uint32_t count, uint32_t argb, JS_TEXTURE* texture, uint32_t state);
    // Each particle becomes a screen-aligned quad of its size, drawn through the batch.
    void DrawPoints(const JS_POINT_SPRITE* first, JS_TEXTURE* texture, uint32_t state);

    // Textures may be requested from any thread.
    JS_TEXTURE* LoadTextureFile(const std::string& path);
    JS_TEXTURE* LoadTextureMemory(const void* bytes, size_t size);
    JS_TEXTURE* CreateBlankTexture(uint32_t width, uint32_t height);
    // 1 released; -1 for null, the default or no-texture record, or an unregistered record.
    int ReleaseTexture(JS_TEXTURE* texture);
    bool IsRegistered(const JS_TEXTURE* texture) const;
    // Main thread: makes the device textures of every record whose decoded pixels still wait (a
    // record is otherwise made at its first draw), so that textures decoded on a loader thread
    // are created while the loading screen runs. The number made; 0 off the main thread or
    // before the device exists.
    uint32_t UploadPendingTextures();

    // Render targets, main thread only. Null for a zero or oversized size, before the device
    // exists, off the main thread, or when the device cannot make one.
    JS_RENDER_TARGET* CreateRenderTarget(uint32_t width, uint32_t height);
    // Flushes the queued batch, then sends the draws that follow into the target (null: back to
    // the screen and its letterbox). In a target, a logical point (x, y) lands at its pixel
    // (x, y): the camera and projection are made for its size. Frames begin and end on the
    // screen. 1, or -1 with the binding unchanged for an unregistered target, one the device has
    // no surface for, or a call off the main thread.
    int SetRenderTarget(JS_RENDER_TARGET* target);
    // 1 released (the screen is bound again first when it was bound); -1 for null, an
    // unregistered target, or a call off the main thread.
    int ReleaseRenderTarget(JS_RENDER_TARGET* target);
    bool IsRegistered(const JS_RENDER_TARGET* target) const;

    // Frees the default texture, the cameras and both registries.
    void Release();

    // Flushes the queued batch (also done by state, texture and capacity changes).
    void Flush();

    Platform::IRenderDevice* Device() { return device.get(); }
    // A frame the same as the last presented one is then neither drawn nor presented (see
    // UnchangedFrameFilter). Set before any render target is made.
    void SetSkipUnchangedFrames(bool skip);
    // The filter while frames are skipped, else null.
    const Platform::UnchangedFrameFilter* FrameFilter() const { return frameFilter.get(); }

    // The whole placement of a logical point: current camera x view x projection (row vectors).
    Matrix4 CameraViewProjection() const;
    // Where a logical point lands in normalised device coordinates (x right, y up, z 0..1).
    void LogicalToNdc(float x, float y, float z, float& ndcX, float& ndcY, float& ndcZ) const;

    // counters, reset at each begin frame
    uint32_t drawCalls = 0;
    uint32_t batches = 0;
    uint32_t stateChanges = 0;

    uint32_t currentState = 0;
    JS_TEXTURE* currentTexture = nullptr;
    // The render target draws go into; null for the screen.
    JS_RENDER_TARGET* currentTarget = nullptr;
    uint32_t vertexCapacity = 8192;
    uint32_t indexCapacity = (8192 - 2) * 3;
    uint32_t pointCapacity = 4096;
    // 16 x 16, transparent: stands in for a texture that cannot be loaded.
    JS_TEXTURE* defaultTexture = nullptr;
    // 1 x 1, transparent, never registered: what unbound objects hold. Draws with it are skipped.
    JS_TEXTURE noTexture;
    int32_t ready = 1;
    void* window = nullptr;
    uint32_t clearColor = 0xFF444444;
    float nearPlane = 0.1f;
    float farPlane = 0.0f;
    // On a line of its own: every quad writes it and reads it back a row at a time.
    alignas(64) Matrix4 worldMatrix = Matrix4::Identity();
    Matrix4 projection = Matrix4::Identity();
    Matrix4 aspectFix = Matrix4::Identity();
    JC_CAMERA* currentCamera = nullptr;
    JC_CAMERA* secondaryCamera = nullptr;
    JC_CAMERA* primaryCamera = nullptr;
    uint32_t queuedVertices = 0;
    uint32_t queuedIndices = 0;
    uint8_t fullscreen = 0;
    uint8_t stretch = 0;
    uint32_t width = 1024;
    uint32_t height = 768;
    uint32_t backBufferWidth = 1024;
    uint32_t backBufferHeight = 768;

    // diag(1, -1, -1): y down on screen, looking along +z.
    Matrix4 view = Matrix4::Identity();

private:
    // Re-creates (or first creates) the device and restores every state; false when it failed.
    bool Rebuild();
    // The aspect fix, the projection and both cameras for the current mode.
    void UpdateProjection();
    // The perspective that makes a W x H plane at z = 0 fill the view of a camera set for W x H.
    Matrix4 PerspectiveForSize(uint32_t sizeWidth, uint32_t sizeHeight) const;
    // The camera a state word draws with: the target's while one is bound.
    JC_CAMERA* CameraFor(uint32_t state);
    // The projection in force: the target's while one is bound, else the screen's.
    const Matrix4& ActiveProjection() const { return currentTarget != nullptr ? targetProjection : projection; }
    // Makes the device's target and texture for a record; false when the device made none.
    bool MakeTargetSurface(JS_RENDER_TARGET* target);
    // Frees the device objects of every render target (before a reset, or for good).
    void ReleaseTargetSurfaces();
    // Applies a state word field by field; 0 when it is the same state, else 1.
    int ApplyState(uint32_t state);
    // Binds a texture record (uploading it on first use), or none for null.
    void BindTexture(JS_TEXTURE* texture);
    // Makes room for a draw of this many vertices and indices under this state and texture
    // (flushing, binding and applying the word as needed); false when it can never fit.
    bool PrepareBatch(uint32_t state, JS_TEXTURE* texture, uint32_t vertexCount, uint32_t indexCount, bool indexed);
    // The part of PrepareBatch that runs when the draw cannot simply join the batch.
    bool StartBatch(uint32_t state, JS_TEXTURE* texture, uint32_t vertexCount, uint32_t indexCount, bool indexed);
    // The word the first quad of a frame is drawn with: without blending when it is an opaque
    // background over the whole screen.
    uint32_t FirstDrawState(const JS_VERTEX* vertices, const JS_MATRIX_ROWS& rows, const JS_TEXTURE* texture,
                            uint32_t state) const;
    // DrawQuad's work under the matrix of these rows.
    void QueueQuad(const JS_VERTEX* vertices, JS_TEXTURE* texture, uint32_t state, const JS_MATRIX_ROWS& rows);
    // Appends one draw to the batch; false when it was dropped.
    bool QueueTriangles(const JS_VERTEX* vertices, JS_TEXTURE* texture, uint32_t state, uint32_t vertexCount,
                        const uint16_t* indices, uint32_t indexCount);
    // Creates the record's device texture from its pending pixels when it is registered and not yet
    // made; the texture lock is held.
    void UploadLocked(JS_TEXTURE* texture);
    // A decoded image (or a blank one) as a new registered record.
    JS_TEXTURE* RegisterTexture(uint32_t width, uint32_t height, Platform::PixelBuffer pixels);
    // Main thread: deletes records released elsewhere and the device textures of released records.
    void DrainReleasedTextures();
    // Main thread: stops using a record that is about to go (flushing what still needs it).
    void ForgetBinding(JS_TEXTURE* texture);

    bool deviceCreated = false;
    // No quad has been drawn yet in the open frame.
    bool firstDrawOfFrame = false;
    bool batchIndexed = false;
    // The capacities in force, taken from the public ones whenever a batch starts.
    uint32_t batchVertexLimit = 0;
    uint32_t batchIndexLimit = 0;
    // The batch, kept on the processor and handed to the device in one piece per flush.
    std::vector<JS_VERTEX> stagedVertices;
    std::vector<uint16_t> stagedIndices;

    // Guards the registry and the release queues: textures come and go on any thread.
    mutable std::mutex textureLock;
    std::unordered_set<JS_TEXTURE*> textures;
    // Records released off the main thread, deleted by the main thread at the next frame.
    std::vector<JS_TEXTURE*> releasedRecords;
    // Device textures to delete on the main thread.
    std::vector<uint32_t> deadHandles;
    // Records registered with pixels, in order, until UploadPendingTextures makes them.
    std::vector<JS_TEXTURE*> uploadQueue;

    // The render-target registry (main thread only), and the camera and projection of the bound target.
    std::unordered_set<JS_RENDER_TARGET*> renderTargets;
    JC_CAMERA targetCamera;
    Matrix4 targetProjection = Matrix4::Identity();

    std::unique_ptr<Platform::IRenderDevice> device;
    // The unchanged-frame filter in front of the device, when on.
    std::unique_ptr<Platform::UnchangedFrameFilter> frameFilter;
    // Where every call goes: the filter when on, else the device.
    Platform::IRenderDevice* sink = nullptr;
};

extern JC_RENDER* g_render;

}  // namespace QRV
