#include "engine/graphics/render.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <iterator>
#include <numbers>

#include "engine/core/callback.h"
#include "engine/core/result_codes.h"
#include "engine/graphics/quad.h"
#include "engine/platform/image_decoder.h"
#include "engine/platform/main_thread.h"
#include "engine/platform/message_box.h"

namespace QRV {

JC_RENDER* g_render = nullptr;

namespace {

using Platform::AddressMode;
using Platform::BlendFactor;
using Platform::PrimitiveType;
using Platform::TextureFilter;
using Platform::TransformKind;

// What a rebuilt device starts with: alpha blending and the primary camera.
constexpr uint32_t kRestoredState = RS::Camera | RS::AlphaBlend;
// 16-bit indices can address no more vertices than this in one batch.
constexpr uint32_t kMaxBatchVertices = 65536;
constexpr uint32_t kDefaultTextureSide = 16;

bool SameState(uint32_t a, uint32_t b) { return ((a ^ b) & RS::CompareMask) == 0; }

uint32_t PrimitiveField(uint32_t state) { return (state & RS::PrimitiveMask) >> RS::PrimitiveShift; }

// Field 3 (point sprites) arrives here already expanded into quads, so only 0 and 1 are not
// triangle lists.
PrimitiveType PrimitiveOf(uint32_t state) {
    switch (PrimitiveField(state)) {
        case 0: return PrimitiveType::Points;
        case 1: return PrimitiveType::Lines;
        default: return PrimitiveType::Triangles;
    }
}

uint32_t VerticesPerPrimitive(uint32_t state) {
    switch (PrimitiveOf(state)) {
        case PrimitiveType::Points: return 1;
        case PrimitiveType::Lines: return 2;
        case PrimitiveType::Triangles: return 3;
    }
    return 3;
}

// Everything of a vertex after its position, copied unchanged.
struct VertexTail {
    float nx, ny, nz;
    uint32_t color;
    float u, v;
};
static_assert(sizeof(VertexTail) == sizeof(JS_VERTEX) - offsetof(JS_VERTEX, nx));

// The count cut down to whole primitives (constant divisors: this runs for every draw).
uint32_t WholePrimitives(uint32_t count, uint32_t state) {
    switch (PrimitiveOf(state)) {
        case PrimitiveType::Points: return count;
        case PrimitiveType::Lines: return count & ~1u;
        case PrimitiveType::Triangles: return count - count % 3;
    }
    return count;
}

// Opaque always wins over the blend bit (the stored word is never rewritten).
bool BlendOn(uint32_t state) { return (state & RS::AlphaBlend) != 0 && (state & RS::Opaque) == 0; }

TextureFilter FilterOf(uint32_t state, bool anisotropy) {
    switch ((state & RS::FilterMask) >> RS::FilterShift) {
        case 2: return TextureFilter::Linear;
        case 3: return anisotropy ? TextureFilter::Anisotropic : TextureFilter::Linear;
        default: return TextureFilter::Point;
    }
}

// Left-handed perspective for row vectors: x and y scaled by the field of view, z mapped to 0..1, w = z.
Matrix4 PerspectiveFovLH(float fovY, float aspect, float zn, float zf) {
    const float yScale = 1.0f / std::tan(fovY * 0.5f);
    Matrix4 p{};
    p.m[0][0] = yScale / aspect;
    p.m[1][1] = yScale;
    p.m[2][2] = zf / (zf - zn);
    p.m[2][3] = 1.0f;
    p.m[3][2] = -zn * zf / (zf - zn);
    return p;
}

}  // namespace

JC_RENDER::JC_RENDER(std::unique_ptr<Platform::IRenderDevice> renderDevice)
    : device(std::move(renderDevice)), sink(device.get()) {
    noTexture.width = 1;
    noTexture.height = 1;
    stagedVertices.resize(vertexCapacity);
    stagedIndices.resize(indexCapacity);
}

JC_RENDER::~JC_RENDER() { Release(); }

// ---------------------------------------------------------------------------------------------
// Device, mode and frame

void JC_RENDER::SetSkipUnchangedFrames(bool skip) {
    if (!device || skip == (frameFilter != nullptr)) return;
    if (skip) {
        frameFilter = std::make_unique<Platform::UnchangedFrameFilter>(device.get());
        sink = frameFilter.get();
    } else {
        sink = device.get();
        frameFilter.reset();
    }
}

int JC_RENDER::CreateDevice(void* windowHandle, float nearZ, float farZ) {
    window = windowHandle;
    nearPlane = nearZ;
    farPlane = farZ;
    if (!device) return -1;

    const bool modeIsDefault = width == 1024 && height == 768 && fullscreen == 0 && stretch == 0;
    if (!deviceCreated || !modeIsDefault) {
        width = 1024;
        height = 768;
        fullscreen = 0;
        stretch = 0;
        if (!Rebuild()) return -1;
    }

    if (defaultTexture == nullptr) {
        const size_t bytes = size_t{kDefaultTextureSide} * kDefaultTextureSide * 4;
        defaultTexture =
            RegisterTexture(kDefaultTextureSide, kDefaultTextureSide, Platform::PixelBuffer::Zeroed(bytes));
    }

    if (currentTarget != nullptr) SetRenderTarget(nullptr);
    Flush();
    currentCamera = primaryCamera;
    sink->SetTransform(TransformKind::Projection, projection);
    return 1;
}

void JC_RENDER::SetDisplayMode(uint32_t newWidth, uint32_t newHeight, uint8_t newFullscreen, uint8_t newStretch) {
    if (newWidth == width && newHeight == height && newFullscreen == fullscreen && newStretch == stretch) return;
    // A zero-sized logical screen has no projection.
    if (newWidth == 0 || newHeight == 0 || !device) return;
    width = newWidth;
    height = newHeight;
    fullscreen = newFullscreen;
    stretch = newStretch;
    Rebuild();
}

bool JC_RENDER::Rebuild() {
    Platform::PresentParams params;
    params.fullscreen = fullscreen != 0;
    params.backBufferWidth = static_cast<int32_t>(width);
    params.backBufferHeight = static_cast<int32_t>(height);
    if (fullscreen != 0 && stretch != 0) {
        // Stretched fullscreen covers the desktop: the device knows its size.
        int32_t desktopWidth = 0, desktopHeight = 0;
        sink->GetBackBufferSize(desktopWidth, desktopHeight);
        if (desktopWidth > 0 && desktopHeight > 0) {
            params.backBufferWidth = desktopWidth;
            params.backBufferHeight = desktopHeight;
        }
    }

    // Whatever was queued belonged to the old device.
    queuedVertices = 0;
    queuedIndices = 0;
    batchIndexed = false;

    if (!deviceCreated) {
        if (!sink->Create(params)) return false;
        deviceCreated = true;
    } else {
        // Targets do not survive a reset: their device objects go first and are made again after.
        ReleaseTargetSurfaces();
        if (!sink->Reset(params)) return false;
        for (JS_RENDER_TARGET* target : renderTargets) MakeTargetSurface(target);
    }

    // The size actually obtained (the drawable), which the letterbox is computed from.
    int32_t realWidth = 0, realHeight = 0;
    sink->GetBackBufferSize(realWidth, realHeight);
    backBufferWidth = static_cast<uint32_t>(realWidth > 0 ? realWidth : params.backBufferWidth);
    backBufferHeight = static_cast<uint32_t>(realHeight > 0 ? realHeight : params.backBufferHeight);

    // The device states that match the restored word, so that the first change is a true change.
    currentState = kRestoredState;
    sink->SetDepthTest(false);
    sink->SetLighting(false);
    sink->SetBlendEnabled(true);
    sink->SetBlendFunc(BlendFactor::InvSrcAlpha);
    sink->SetTextureFilter(TextureFilter::Point);
    sink->SetAddressing(AddressMode::Clamp, AddressMode::Clamp);
    sink->SetAntialias(false);
    sink->BindTexture(0);
    currentTexture = nullptr;

    // Yaw pi and roll pi: x stays, y and z flip (screen y grows downwards, the eye looks along +z).
    view = Matrix4::Scaling(1.0f, -1.0f, -1.0f);
    sink->SetTransform(TransformKind::View, view);

    UpdateProjection();
    CallHook(cbDeviceRestored);
    return true;
}

void JC_RENDER::UpdateProjection() {
    aspectFix = Matrix4::Identity();
    if (fullscreen != 0 && stretch != 0 && (backBufferWidth != width || backBufferHeight != height)) {
        const float rx = static_cast<float>(backBufferWidth) / static_cast<float>(width);
        const float ry = static_cast<float>(backBufferHeight) / static_cast<float>(height);
        if (rx > ry) aspectFix.m[0][0] = ry / rx;
        if (ry > rx) aspectFix.m[1][1] = rx / ry;
    }

    projection = Matrix4::Product(PerspectiveForSize(width, height), aspectFix);

    if (primaryCamera == nullptr) primaryCamera = new JC_CAMERA();
    if (secondaryCamera == nullptr) secondaryCamera = new JC_CAMERA();
    primaryCamera->SetForSize(static_cast<int32_t>(width), static_cast<int32_t>(height));
    secondaryCamera->SetForSize(static_cast<int32_t>(width), static_cast<int32_t>(height));
    currentCamera = CameraFor(currentState);

    sink->SetTransform(TransformKind::Projection, ActiveProjection());
}

Matrix4 JC_RENDER::PerspectiveForSize(uint32_t sizeWidth, uint32_t sizeHeight) const {
    const double tanEighth = std::tan(std::numbers::pi / 8.0);
    // W / H rather than (W + 1) / (H + 1), so that the logical corners land exactly on the corners.
    const float aspect = static_cast<float>(sizeWidth) / static_cast<float>(sizeHeight);
    const float zFar = farPlane > 0.0f
                           ? farPlane
                           : static_cast<float>((static_cast<double>(sizeHeight) + 1.0) * 0.5 / tanEighth * 2.0);
    const float zNear = nearPlane > 0.0f ? nearPlane : 0.1f;
    return PerspectiveFovLH(static_cast<float>(std::numbers::pi / 4.0), aspect, zNear, zFar);
}

JC_CAMERA* JC_RENDER::CameraFor(uint32_t state) {
    if (currentTarget != nullptr) return &targetCamera;
    return (state & RS::Camera) != 0 ? primaryCamera : secondaryCamera;
}

Matrix4 JC_RENDER::CameraViewProjection() const {
    const Matrix4 world = currentCamera != nullptr ? currentCamera->matrix : Matrix4::Identity();
    return Matrix4::Product(Matrix4::Product(world, view), ActiveProjection());
}

void JC_RENDER::LogicalToNdc(float x, float y, float z, float& ndcX, float& ndcY, float& ndcZ) const {
    const Matrix4 m = CameraViewProjection();
    const float cx = x * m.m[0][0] + y * m.m[1][0] + z * m.m[2][0] + m.m[3][0];
    const float cy = x * m.m[0][1] + y * m.m[1][1] + z * m.m[2][1] + m.m[3][1];
    const float cz = x * m.m[0][2] + y * m.m[1][2] + z * m.m[2][2] + m.m[3][2];
    const float cw = x * m.m[0][3] + y * m.m[1][3] + z * m.m[2][3] + m.m[3][3];
    const float w = cw != 0.0f ? cw : 1.0f;
    ndcX = cx / w;
    ndcY = cy / w;
    ndcZ = cz / w;
}

int JC_RENDER::BeginFrame() {
    if (!deviceCreated || ready != 1) return -1;
    DrainReleasedTextures();

    switch (sink->TestCooperativeLevel()) {
        case Platform::DeviceStatus::Lost: return -1;
        case Platform::DeviceStatus::NeedsReset: Rebuild(); return RESULT::DeviceReset;
        case Platform::DeviceStatus::Ok: break;
    }
    // A frame starts on the screen.
    if (currentTarget != nullptr) SetRenderTarget(nullptr);

    // A window system may settle the drawable's size only after the mode change: the letterbox
    // follows the size the device has now.
    int32_t drawableWidth = 0, drawableHeight = 0;
    sink->GetBackBufferSize(drawableWidth, drawableHeight);
    if (drawableWidth > 0 && drawableHeight > 0 &&
        (static_cast<uint32_t>(drawableWidth) != backBufferWidth ||
         static_cast<uint32_t>(drawableHeight) != backBufferHeight)) {
        backBufferWidth = static_cast<uint32_t>(drawableWidth);
        backBufferHeight = static_cast<uint32_t>(drawableHeight);
        UpdateProjection();
    }

    if (!sink->BeginScene()) return 0;
    if (!sink->Clear(clearColor)) {
        // Close the scene again, or every later frame would fail to open one.
        sink->EndScene();
        return -1;
    }
    ready = 0;
    firstDrawOfFrame = true;
    drawCalls = 0;
    batches = 0;
    stateChanges = 0;
    return 1;
}

int JC_RENDER::EndFrame() {
    if (ready != 0) return -1;
    Flush();
    if (currentTarget != nullptr) SetRenderTarget(nullptr);
    sink->EndScene();
    sink->Present();
    ready = 1;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Batching

int JC_RENDER::ApplyState(uint32_t state) {
    if (SameState(state, currentState)) return 0;
    ++stateChanges;
    const uint32_t old = currentState;
    const uint32_t changed = state ^ old;
    const bool anisotropy = sink->SupportsAnisotropy();

    if (BlendOn(state) != BlendOn(old)) sink->SetBlendEnabled(BlendOn(state));
    if ((changed & RS::Additive) != 0) {
        sink->SetBlendFunc((state & RS::Additive) != 0 ? BlendFactor::One : BlendFactor::InvSrcAlpha);
    }
    const TextureFilter filter = FilterOf(state, anisotropy);
    if (filter != FilterOf(old, anisotropy)) sink->SetTextureFilter(filter);
    if ((changed & RS::DepthTest) != 0) sink->SetDepthTest((state & RS::DepthTest) != 0);
    if ((changed & RS::Lighting) != 0) sink->SetLighting((state & RS::Lighting) != 0);

    const uint32_t address = (state & RS::AddressMask) >> RS::AddressShift;
    sink->SetAddressing((address & 1) != 0 ? AddressMode::Wrap : AddressMode::Clamp,
                          (address & 2) != 0 ? AddressMode::Wrap : AddressMode::Clamp);

    if ((changed & RS::Camera) != 0) {
        Flush();
        currentCamera = CameraFor(state);
        sink->SetTransform(TransformKind::Projection, ActiveProjection());
    }
    sink->SetAntialias((state & RS::Antialias) != 0);

    currentState = state;
    return 1;
}

void JC_RENDER::BindTexture(JS_TEXTURE* texture) {
    uint32_t handle = 0;
    if (texture != nullptr) {
        if (texture->deviceHandle == 0) {
            // First use: the pixels decoded on whatever thread become a device texture here.
            std::lock_guard<std::mutex> lock(textureLock);
            UploadLocked(texture);
        }
        handle = texture->deviceHandle;
    }
    sink->BindTexture(handle);
    currentTexture = texture;
}

bool JC_RENDER::StartBatch(uint32_t state, JS_TEXTURE* texture, uint32_t vertexCount, uint32_t indexCount,
                           bool indexed) {
    batchVertexLimit = std::min(vertexCapacity, kMaxBatchVertices);
    batchIndexLimit = indexCapacity;
    if (vertexCount > batchVertexLimit || indexCount > batchIndexLimit) return false;
    if (stagedVertices.size() < batchVertexLimit) stagedVertices.resize(batchVertexLimit);
    if (stagedIndices.size() < batchIndexLimit) stagedIndices.resize(batchIndexLimit);

    JS_TEXTURE* bound = (state & RS::Textured) != 0 ? texture : nullptr;
    // A target cannot be read while it is drawn into (binding it forgot it as the texture, so
    // such a draw always arrives here).
    if (currentTarget != nullptr && bound == &currentTarget->texture) return false;
    const bool stateChanged = !SameState(state, currentState);
    const bool textureChanged = bound != currentTexture;
    const bool full = queuedVertices + vertexCount > batchVertexLimit || queuedIndices + indexCount > batchIndexLimit;
    // One batch is drawn either with indices or without, never both.
    const bool kindChanged = queuedVertices > 0 && indexed != batchIndexed;

    if (stateChanged || textureChanged || full || kindChanged) {
        Flush();
        if (textureChanged) BindTexture(bound);
        ApplyState(state);
    }
    batchIndexed = indexed;
    return true;
}

inline bool JC_RENDER::PrepareBatch(uint32_t state, JS_TEXTURE* texture, uint32_t vertexCount, uint32_t indexCount,
                                    bool indexed) {
    // Without the textured bit nothing is bound, whatever record came with the draw.
    JS_TEXTURE* bound = (state & RS::Textured) != 0 ? texture : nullptr;
    // Room is measured by subtraction: the queued counts never exceed the limits, and a huge
    // count cannot wrap round.
    const bool joins =
        SameState(state, currentState) && bound == currentTexture && vertexCount <= batchVertexLimit - queuedVertices &&
        indexCount <= batchIndexLimit - queuedIndices && (queuedVertices == 0 || indexed == batchIndexed);
    if (!joins) return StartBatch(state, texture, vertexCount, indexCount, indexed);
    batchIndexed = indexed;
    return true;
}

inline bool JC_RENDER::QueueTriangles(const JS_VERTEX* vertices, JS_TEXTURE* texture, uint32_t state,
                                      uint32_t vertexCount, const uint16_t* indices, uint32_t indexCount) {
    if (!PrepareBatch(state, texture, vertexCount, indexCount, indexCount > 0)) return false;

    // An index past this draw's vertices would read another object's vertices (or beyond): such
    // a draw is written but not committed.
    uint16_t highest = 0;
    if (indexCount > 0) {
        const auto base = static_cast<uint16_t>(queuedVertices);
        uint16_t* outIndices = stagedIndices.data() + queuedIndices;
        for (uint32_t i = 0; i < indexCount; ++i) {
            const uint16_t index = indices[i];
            highest = std::max(highest, index);
            outIndices[i] = static_cast<uint16_t>(index + base);
        }
        if (highest >= vertexCount) return false;
    }

    // The matrix in locals and the position read before anything is written: the compiler must
    // assume the output may overlap the input, and would otherwise reload them for every store.
    const Matrix4& w = worldMatrix;
    const float m00 = w.m[0][0], m01 = w.m[0][1], m02 = w.m[0][2];
    const float m10 = w.m[1][0], m11 = w.m[1][1], m12 = w.m[1][2];
    const float m20 = w.m[2][0], m21 = w.m[2][1], m22 = w.m[2][2];
    const float m30 = w.m[3][0], m31 = w.m[3][1], m32 = w.m[3][2];
    JS_VERTEX* out = stagedVertices.data() + queuedVertices;
    for (uint32_t i = 0; i < vertexCount; ++i) {
        const JS_VERTEX& in = vertices[i];
        const float x = in.x, y = in.y, z = in.z;
        JS_VERTEX& o = out[i];
        std::memcpy(&o.nx, &in.nx, sizeof(VertexTail));
        o.x = x * m00 + y * m10 + z * m20 + m30;
        o.y = x * m01 + y * m11 + z * m21 + m31;
        o.z = x * m02 + y * m12 + z * m22 + m32;
    }

    queuedIndices += indexCount;
    queuedVertices += vertexCount;
    return true;
}

void JC_RENDER::DrawTriangles(const JS_VERTEX* vertices, JS_TEXTURE* texture, uint32_t state, uint32_t vertexCount,
                              const uint16_t* indices, uint32_t indexCount) {
    // A missing word draws nothing; neither does an object that holds no texture.
    if (state == 0 || texture == &noTexture) return;
    ++drawCalls;
    firstDrawOfFrame = false;
    if (vertices == nullptr || vertexCount == 0) return;
    if (indices == nullptr) indexCount = 0;

    // Whole primitives only: a partial one would shift every primitive queued after it.
    if (indexCount > 0) {
        indexCount = WholePrimitives(indexCount, state);
        // Too big for the buffers even when empty: dropped rather than overrun.
        if (indexCount > 0) QueueTriangles(vertices, texture, state, vertexCount, indices, indexCount);
        return;
    }

    vertexCount = WholePrimitives(vertexCount, state);
    // A plain list larger than the buffer goes in buffer-sized pieces of whole primitives.
    const uint32_t piece = WholePrimitives(std::min(vertexCapacity, kMaxBatchVertices), state);
    if (piece == 0) return;
    while (vertexCount > 0) {
        const uint32_t count = std::min(vertexCount, piece);
        if (!QueueTriangles(vertices, texture, state, count, nullptr, 0)) return;
        vertices += count;
        vertexCount -= count;
    }
}

void JC_RENDER::DrawQuad(const JS_VERTEX* vertices, JS_TEXTURE* texture, uint32_t state) {
    JS_MATRIX_ROWS rows;
    static_assert(sizeof(rows) == sizeof(worldMatrix.m));
    std::memcpy(&rows, worldMatrix.m, sizeof(rows));
    QueueQuad(vertices, texture, state, rows);
}

void JC_RENDER::DrawQuadRows(const JS_VERTEX* vertices, JS_TEXTURE* texture, uint32_t state, JS_MATRIX_ROW row0,
                             JS_MATRIX_ROW row1, JS_MATRIX_ROW row2, JS_MATRIX_ROW row3) {
    JS_MATRIX_ROWS rows;
    rows.row[0] = row0;
    rows.row[1] = row1;
    rows.row[2] = row2;
    rows.row[3] = row3;
    QueueQuad(vertices, texture, state, rows);
}

inline void JC_RENDER::QueueQuad(const JS_VERTEX* vertices, JS_TEXTURE* texture, uint32_t state,
                                 const JS_MATRIX_ROWS& rows) {
    if (state == 0 || texture == &noTexture) return;
    ++drawCalls;
    if (vertices == nullptr) return;
    if (firstDrawOfFrame) {
        firstDrawOfFrame = false;
        state = FirstDrawState(vertices, rows, (state & RS::Textured) != 0 ? texture : nullptr, state);
    }
    // Six indices are whole primitives of every kind, and none reaches past the fourth vertex.
    if (!PrepareBatch(state, texture, kQuadVertexCount, kQuadIndexCount, true)) return;
    const auto base = static_cast<uint16_t>(queuedVertices);
    uint16_t* outIndices = stagedIndices.data() + queuedIndices;
    for (uint32_t i = 0; i < kQuadIndexCount; ++i) outIndices[i] = static_cast<uint16_t>(kQuadIndices[i] + base);

    // QueueTriangles' placement, term for term: each output coordinate is
    // ((x m0j + y m1j) + z m2j) + m3j in that order, here for the three at once, one matrix row
    // per vector (the fourth lane is worked out and dropped).
    JS_VERTEX* out = stagedVertices.data() + queuedVertices;
#if defined(__GNUC__)
    const JS_MATRIX_ROW row0 = rows.row[0], row1 = rows.row[1], row2 = rows.row[2], row3 = rows.row[3];
    for (uint32_t i = 0; i < kQuadVertexCount; ++i) {
        const JS_VERTEX& in = vertices[i];
        const JS_MATRIX_ROW x = {in.x, in.x, in.x, in.x};
        const JS_MATRIX_ROW y = {in.y, in.y, in.y, in.y};
        const JS_MATRIX_ROW z = {in.z, in.z, in.z, in.z};
        const JS_MATRIX_ROW placed = x * row0 + y * row1 + z * row2 + row3;
        JS_VERTEX& o = out[i];
        // All four lanes over x, y, z and nx; the tail then writes nx and the rest.
        std::memcpy(&o.x, &placed, sizeof(JS_MATRIX_ROW));
        std::memcpy(&o.nx, &in.nx, sizeof(VertexTail));
    }
#else
    Matrix4 w;
    std::memcpy(w.m, &rows, sizeof(rows));
    const float m00 = w.m[0][0], m01 = w.m[0][1], m02 = w.m[0][2];
    const float m10 = w.m[1][0], m11 = w.m[1][1], m12 = w.m[1][2];
    const float m20 = w.m[2][0], m21 = w.m[2][1], m22 = w.m[2][2];
    const float m30 = w.m[3][0], m31 = w.m[3][1], m32 = w.m[3][2];
    for (uint32_t i = 0; i < kQuadVertexCount; ++i) {
        const JS_VERTEX& in = vertices[i];
        const float x = in.x, y = in.y, z = in.z;
        JS_VERTEX& o = out[i];
        std::memcpy(&o.nx, &in.nx, sizeof(VertexTail));
        o.x = x * m00 + y * m10 + z * m20 + m30;
        o.y = x * m01 + y * m11 + z * m21 + m31;
        o.z = x * m02 + y * m12 + z * m22 + m32;
    }
#endif
    queuedIndices += kQuadIndexCount;
    queuedVertices += kQuadVertexCount;
}

uint32_t JC_RENDER::FirstDrawState(const JS_VERTEX* vertices, const JS_MATRIX_ROWS& rows, const JS_TEXTURE* texture,
                                   uint32_t state) const {
    // An opaque picture blended over alpha gives its own colours: the background every frame starts
    // with is drawn without the blend's read of what is under it.
    if (!BlendOn(state) || (state & RS::Additive) != 0 || currentTarget != nullptr) return state;
    if (texture != nullptr && !texture->opaque) return state;
    Matrix4 w;
    std::memcpy(w.m, &rows, sizeof(rows));
    float left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;
    for (uint32_t i = 0; i < kQuadVertexCount; ++i) {
        const JS_VERTEX& v = vertices[i];
        if ((v.color >> 24) != 0xFF) return state;
        float x = 0.0f, y = 0.0f, z = 0.0f;
        w.TransformPoint(v.x, v.y, v.z, x, y, z);
        left = i == 0 ? x : std::min(left, x);
        right = i == 0 ? x : std::max(right, x);
        top = i == 0 ? y : std::min(top, y);
        bottom = i == 0 ? y : std::max(bottom, y);
    }
    // A background: the whole logical screen under it.
    const bool covers = left <= 0.0f && top <= 0.0f && right >= static_cast<float>(width) &&
                        bottom >= static_cast<float>(height);
    return covers ? state | RS::Opaque : state;
}

void JC_RENDER::DrawRects(const JS_RECT_QUAD* rects, uint32_t count, uint32_t argb, JS_TEXTURE* texture,
                          uint32_t state) {
    // What DrawTriangles does with four corners and six indices a rectangle.
    if (state == 0 || texture == &noTexture) return;
    ++drawCalls;
    firstDrawOfFrame = false;
    if (rects == nullptr || count == 0 || count > kMaxBatchVertices / 4) return;
    if (!PrepareBatch(state, texture, count * 4, count * 6, true)) return;

    uint16_t* outIndices = stagedIndices.data() + queuedIndices;
    for (uint32_t q = 0; q < count; ++q) {
        const auto first = static_cast<uint16_t>(queuedVertices + q * 4);
        const uint16_t quad[6] = {0, 1, 2, 0, 2, 3};
        for (int i = 0; i < 6; ++i) outIndices[q * 6 + i] = static_cast<uint16_t>(first + quad[i]);
    }

    // Each corner is placed as QueueTriangles places a vertex, x m00 + y m10 + z m20 + m30 and so
    // on, in that order and with z 0, so the result is the same to the bit.
    const Matrix4& w = worldMatrix;
    const float m00 = w.m[0][0], m01 = w.m[0][1], m02 = w.m[0][2];
    const float m10 = w.m[1][0], m11 = w.m[1][1], m12 = w.m[1][2];
    const float z0 = 0.0f * w.m[2][0], z1 = 0.0f * w.m[2][1], z2 = 0.0f * w.m[2][2];
    const float m30 = w.m[3][0], m31 = w.m[3][1], m32 = w.m[3][2];
    JS_VERTEX* out = stagedVertices.data() + queuedVertices;
    for (uint32_t q = 0; q < count; ++q, out += 4) {
        const JS_RECT_QUAD& r = rects[q];
        const float lx = r.left * m00, ly = r.left * m01, lz = r.left * m02;
        const float rx = r.right * m00, ry = r.right * m01, rz = r.right * m02;
        const float tx = r.top * m10, ty = r.top * m11, tz = r.top * m12;
        const float bx = r.bottom * m10, by = r.bottom * m11, bz = r.bottom * m12;
        out[0] = {lx + tx + z0 + m30, ly + ty + z1 + m31, lz + tz + z2 + m32, 0, 0, 0, argb, r.u0, r.v0};
        out[1] = {rx + tx + z0 + m30, ry + ty + z1 + m31, rz + tz + z2 + m32, 0, 0, 0, argb, r.u1, r.v0};
        out[2] = {rx + bx + z0 + m30, ry + by + z1 + m31, rz + bz + z2 + m32, 0, 0, 0, argb, r.u1, r.v1};
        out[3] = {lx + bx + z0 + m30, ly + by + z1 + m31, lz + bz + z2 + m32, 0, 0, 0, argb, r.u0, r.v1};
    }

    queuedIndices += count * 6;
    queuedVertices += count * 4;
}

void JC_RENDER::DrawPoints(const JS_POINT_SPRITE* first, JS_TEXTURE* texture, uint32_t state) {
    if (first == nullptr || state == 0 || texture == &noTexture) return;
    ++drawCalls;
    firstDrawOfFrame = false;
    // Each particle becomes a quad in the triangle batch; the sprite primitive marks such batches.
    state = (state & ~RS::PrimitiveMask) | (3u << RS::PrimitiveShift);

    const Matrix4 w = worldMatrix;
    for (const JS_POINT_SPRITE* p = first; p != nullptr; p = p->next) {
        // The first particle flushes whatever is queued under the earlier state and texture.
        if (!PrepareBatch(state, texture, 4, 6, true)) return;

        float cx, cy, cz;
        w.TransformPoint(p->x, p->y, p->z, cx, cy, cz);
        const float half = p->size * 0.5f;

        JS_VERTEX* v = stagedVertices.data() + queuedVertices;
        const float xs[4] = {cx - half, cx + half, cx + half, cx - half};
        const float ys[4] = {cy - half, cy - half, cy + half, cy + half};
        const float us[4] = {0.0f, 1.0f, 1.0f, 0.0f};
        const float vs[4] = {0.0f, 0.0f, 1.0f, 1.0f};
        for (int i = 0; i < 4; ++i) v[i] = JS_VERTEX{xs[i], ys[i], cz, 0.0f, 0.0f, 0.0f, p->color, us[i], vs[i]};

        const auto base = static_cast<uint16_t>(queuedVertices);
        uint16_t* idx = stagedIndices.data() + queuedIndices;
        const uint16_t quad[6] = {0, 1, 2, 0, 2, 3};
        for (int i = 0; i < 6; ++i) idx[i] = static_cast<uint16_t>(quad[i] + base);

        queuedVertices += 4;
        queuedIndices += 6;
    }
}

void JC_RENDER::Flush() {
    if (queuedVertices == 0) return;
    ++batches;

    const PrimitiveType type = PrimitiveOf(currentState);
    const uint32_t unit = VerticesPerPrimitive(currentState);
    sink->SetTransform(TransformKind::World, currentCamera != nullptr ? currentCamera->matrix : Matrix4::Identity());

    JS_VERTEX* vertexOut = sink->LockVertices(0, queuedVertices, Platform::LockMode::Discard);
    if (vertexOut != nullptr) {
        std::memcpy(vertexOut, stagedVertices.data(), size_t{queuedVertices} * sizeof(JS_VERTEX));
        sink->UnlockVertices();
        if (batchIndexed) {
            uint16_t* indexOut = sink->LockIndices(0, queuedIndices, Platform::LockMode::Discard);
            if (indexOut != nullptr) {
                std::memcpy(indexOut, stagedIndices.data(), size_t{queuedIndices} * sizeof(uint16_t));
                sink->UnlockIndices();
                sink->DrawIndexedPrimitive(type, queuedVertices, queuedIndices / unit);
            }
        } else {
            sink->DrawPrimitive(type, queuedVertices / unit);
        }
    }

    queuedVertices = 0;
    queuedIndices = 0;
    batchIndexed = false;
}

// ---------------------------------------------------------------------------------------------
// Textures

void JC_RENDER::UploadLocked(JS_TEXTURE* texture) {
    // Only registered records are uploaded, so every device texture has an owner that frees it.
    if (texture->deviceHandle != 0 || textures.count(texture) == 0) return;
    const size_t expected = size_t{texture->width} * texture->height * 4;
    if (expected == 0 || texture->pendingPixels.size() != expected) return;
    if (texture->whiteOnly) {
        std::vector<uint8_t> alpha(expected / 4);
        for (size_t i = 0; i < alpha.size(); ++i) alpha[i] = texture->pendingPixels[i * 4 + 3];
        texture->deviceHandle = sink->CreateAlphaTexture(texture->width, texture->height, alpha.data());
    } else {
        texture->deviceHandle = sink->CreateTexture(texture->width, texture->height, texture->pendingPixels.data());
    }
    if (texture->deviceHandle != 0) texture->pendingPixels.clear();
}

uint32_t JC_RENDER::UploadPendingTextures() {
    if (!deviceCreated || !device || !Platform::IsMainThread()) return 0;
    std::lock_guard<std::mutex> lock(textureLock);
    uint32_t made = 0;
    for (JS_TEXTURE* texture : uploadQueue) {
        if (texture->deviceHandle != 0) continue;
        UploadLocked(texture);
        if (texture->deviceHandle != 0) ++made;
    }
    uploadQueue.clear();
    return made;
}

JS_TEXTURE* JC_RENDER::RegisterTexture(uint32_t textureWidth, uint32_t textureHeight, Platform::PixelBuffer pixels) {
    auto* texture = new JS_TEXTURE();
    texture->width = textureWidth;
    texture->height = textureHeight;
    texture->opaque = !pixels.empty();
    texture->whiteOnly = !pixels.empty();
    for (size_t red = 0; red + 3 < pixels.size() && (texture->opaque || texture->whiteOnly); red += 4) {
        texture->opaque = texture->opaque && pixels[red + 3] == 0xFF;
        texture->whiteOnly = texture->whiteOnly && pixels[red] == 0xFF && pixels[red + 1] == 0xFF && pixels[red + 2] == 0xFF;
    }
    texture->pendingPixels = std::move(pixels);
    std::lock_guard<std::mutex> lock(textureLock);
    textures.insert(texture);
    if (!texture->pendingPixels.empty()) uploadQueue.push_back(texture);
    return texture;
}

JS_TEXTURE* JC_RENDER::LoadTextureMemory(const void* bytes, size_t size) {
    Platform::DecodedImage image;
    // The device's limit is known once it exists; until then the decoder's own limits hold.
    const uint32_t maxSide = device ? device->MaxTextureSide() : 0;
    if (Platform::DecodeImage(bytes, size, image, maxSide)) {
        return RegisterTexture(image.width, image.height, std::move(image.pixels));
    }
    if (defaultTexture != nullptr) return defaultTexture;
    Platform::ShowMessageBox("defaultTexture not exist!!!", "error", Platform::MessageBoxKind::Error);
    return RegisterTexture(0, 0, {});
}

JS_TEXTURE* JC_RENDER::LoadTextureFile(const std::string& path) {
    if (path.empty()) return defaultTexture;
    std::ifstream file(path, std::ios::binary);
    std::vector<char> bytes;
    if (file) bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return LoadTextureMemory(bytes.data(), bytes.size());
}

JS_TEXTURE* JC_RENDER::CreateBlankTexture(uint32_t textureWidth, uint32_t textureHeight) {
    if (textureWidth == 0 || textureHeight == 0 || textureWidth > Platform::kMaxImageSide ||
        textureHeight > Platform::kMaxImageSide) {
        return nullptr;
    }
    return RegisterTexture(textureWidth, textureHeight,
                           Platform::PixelBuffer::Zeroed(size_t{textureWidth} * textureHeight * 4));
}

bool JC_RENDER::IsRegistered(const JS_TEXTURE* texture) const {
    std::lock_guard<std::mutex> lock(textureLock);
    return textures.count(const_cast<JS_TEXTURE*>(texture)) != 0;
}

int JC_RENDER::ReleaseTexture(JS_TEXTURE* texture) {
    if (texture == nullptr || texture == defaultTexture || texture == &noTexture) return -1;
    {
        std::lock_guard<std::mutex> lock(textureLock);
        if (textures.erase(texture) == 0) return -1;
        std::erase(uploadQueue, texture);
        if (!Platform::IsMainThread()) {
            // The main thread may be drawing with it: it goes at the start of the next frame, and
            // until then its address cannot be handed to a new record.
            releasedRecords.push_back(texture);
            return 1;
        }
    }
    ForgetBinding(texture);
    {
        std::lock_guard<std::mutex> lock(textureLock);
        if (texture->deviceHandle != 0) deadHandles.push_back(texture->deviceHandle);
    }
    delete texture;
    return 1;
}

void JC_RENDER::ForgetBinding(JS_TEXTURE* texture) {
    if (texture != currentTexture || texture == nullptr) return;
    // Queued vertices still need it; after that nothing may point at it, or a new record at the
    // same address would be taken for the bound one.
    Flush();
    if (device) sink->BindTexture(0);
    currentTexture = nullptr;
}

void JC_RENDER::DrainReleasedTextures() {
    std::vector<JS_TEXTURE*> records;
    {
        std::lock_guard<std::mutex> lock(textureLock);
        if (releasedRecords.empty() && deadHandles.empty()) return;
        records.swap(releasedRecords);
    }
    for (JS_TEXTURE* texture : records) {
        ForgetBinding(texture);
        {
            std::lock_guard<std::mutex> lock(textureLock);
            if (texture->deviceHandle != 0) deadHandles.push_back(texture->deviceHandle);
        }
        delete texture;
    }
    std::vector<uint32_t> handles;
    {
        std::lock_guard<std::mutex> lock(textureLock);
        handles.swap(deadHandles);
    }
    for (uint32_t handle : handles) sink->DestroyTexture(handle);
}

void JC_RENDER::Release() {
    queuedVertices = 0;
    queuedIndices = 0;
    batchIndexed = false;
    currentTexture = nullptr;
    if (device) DrainReleasedTextures();
    if (device && deviceCreated) sink->BindTexture(0);

    std::unordered_set<JS_TEXTURE*> records;
    {
        std::lock_guard<std::mutex> lock(textureLock);
        records.swap(textures);
        uploadQueue.clear();
    }
    for (JS_TEXTURE* texture : records) {
        if (texture->deviceHandle != 0 && device) sink->DestroyTexture(texture->deviceHandle);
        delete texture;
    }
    defaultTexture = nullptr;

    if (device && deviceCreated) ReleaseTargetSurfaces();
    currentTarget = nullptr;
    for (JS_RENDER_TARGET* target : renderTargets) delete target;
    renderTargets.clear();

    delete primaryCamera;
    delete secondaryCamera;
    primaryCamera = nullptr;
    secondaryCamera = nullptr;
    currentCamera = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Render targets

bool JC_RENDER::MakeTargetSurface(JS_RENDER_TARGET* target) {
    const Platform::RenderTargetHandles made = sink->CreateRenderTarget(target->width, target->height);
    target->deviceHandle = made.target;
    target->texture.deviceHandle = made.target != 0 ? made.texture : 0;
    return made.target != 0;
}

void JC_RENDER::ReleaseTargetSurfaces() {
    // The device returns to the back buffer when the bound target goes.
    currentTarget = nullptr;
    for (JS_RENDER_TARGET* target : renderTargets) {
        ForgetBinding(&target->texture);
        if (target->deviceHandle != 0) sink->DestroyRenderTarget(target->deviceHandle);
        target->deviceHandle = 0;
        target->texture.deviceHandle = 0;
    }
}

JS_RENDER_TARGET* JC_RENDER::CreateRenderTarget(uint32_t targetWidth, uint32_t targetHeight) {
    if (targetWidth == 0 || targetHeight == 0 || targetWidth > Platform::kMaxImageSide ||
        targetHeight > Platform::kMaxImageSide || !device || !deviceCreated || !Platform::IsMainThread()) {
        return nullptr;
    }
    auto* target = new JS_RENDER_TARGET();
    target->width = targetWidth;
    target->height = targetHeight;
    target->texture.width = targetWidth;
    target->texture.height = targetHeight;
    if (!MakeTargetSurface(target)) {
        delete target;
        return nullptr;
    }
    renderTargets.insert(target);
    return target;
}

int JC_RENDER::SetRenderTarget(JS_RENDER_TARGET* target) {
    if (!device || !deviceCreated || !Platform::IsMainThread()) return -1;
    if (target != nullptr && (renderTargets.count(target) == 0 || target->deviceHandle == 0)) return -1;
    // What is queued belongs to the surface bound until now.
    Flush();
    if (target == currentTarget) return 1;
    if (!sink->SetRenderTarget(target != nullptr ? target->deviceHandle : 0)) return -1;
    currentTarget = target;
    if (target != nullptr) {
        ForgetBinding(&target->texture);
        targetCamera.SetForSize(static_cast<int32_t>(target->width), static_cast<int32_t>(target->height));
        targetProjection = PerspectiveForSize(target->width, target->height);
    }
    currentCamera = CameraFor(currentState);
    sink->SetTransform(TransformKind::Projection, ActiveProjection());
    return 1;
}

int JC_RENDER::ReleaseRenderTarget(JS_RENDER_TARGET* target) {
    if (target == nullptr || !Platform::IsMainThread() || renderTargets.count(target) == 0) return -1;
    // What was drawn into it is drawn before it goes.
    if (target == currentTarget) SetRenderTarget(nullptr);
    ForgetBinding(&target->texture);
    if (target->deviceHandle != 0 && device) sink->DestroyRenderTarget(target->deviceHandle);
    renderTargets.erase(target);
    delete target;
    return 1;
}

bool JC_RENDER::IsRegistered(const JS_RENDER_TARGET* target) const {
    return renderTargets.count(const_cast<JS_RENDER_TARGET*>(target)) != 0;
}

}  // namespace QRV
