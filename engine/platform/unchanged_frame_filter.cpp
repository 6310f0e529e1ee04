#include "engine/platform/unchanged_frame_filter.h"

#include <atomic>
#include <cstring>

namespace QRV::Platform {
namespace {

std::atomic<bool> g_fullFrameRequested{false};

constexpr size_t Words(size_t bytes) { return (bytes + sizeof(uint32_t) - 1) / sizeof(uint32_t); }

uint32_t Bits(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

}  // namespace

void RequestFullFrame() { g_fullFrameRequested.store(true); }

void UnchangedFrameFilter::Write(Op op, uint32_t a, uint32_t b, uint32_t c) {
    current.insert(current.end(), {static_cast<uint32_t>(op), a, b, c});
}

void* UnchangedFrameFilter::WriteData(Op op, uint32_t first, uint32_t count, LockMode mode, size_t size) {
    Write(op, first, count, static_cast<uint32_t>(mode));
    const size_t at = current.size();
    current.resize(at + Words(size_t{count} * size));
    return current.data() + at;
}

void UnchangedFrameFilter::PassThrough() {
    mustPresent = true;
    if (inScene) Replay();
}

bool UnchangedFrameFilter::Create(const PresentParams& params) {
    PassThrough();
    return device->Create(params);
}

bool UnchangedFrameFilter::Reset(const PresentParams& params) {
    PassThrough();
    return device->Reset(params);
}

bool UnchangedFrameFilter::BeginScene() {
    if (inScene) EndScene();  // a scene left open is closed as the device would see it
    if (!device->BeginScene()) return false;
    inScene = true;
    presentPending = false;
    current.clear();
    replayed = 0;
    return true;
}

bool UnchangedFrameFilter::Clear(uint32_t argb) {
    if (!Recording()) {
        mustPresent = true;
        return device->Clear(argb);
    }
    Write(Op::Clear, argb);
    return true;
}

void UnchangedFrameFilter::EndScene() {
    if (!inScene) {
        device->EndScene();
        return;
    }
    inScene = false;
    if (g_fullFrameRequested.exchange(false)) mustPresent = true;
    const bool same = !mustPresent && replayed == 0 && current == previous;
    if (!same) {
        Replay();
        previous.swap(current);
        mustPresent = false;
    }
    current.clear();
    replayed = 0;
    device->EndScene();
    presentPending = !same;
    lastPresented = !same;
    if (same) ++skipped;
}

void UnchangedFrameFilter::Present() {
    if (!presentPending) return;
    presentPending = false;
    ++presented;
    device->Present();
}

void UnchangedFrameFilter::Replay() {
    const uint32_t* at = current.data() + replayed;
    const uint32_t* end = current.data() + current.size();
    bool dropDraw = false;  // the device refused the buffer the next draw reads
    while (at < end) {
        const auto op = static_cast<Op>(at[0]);
        const uint32_t a = at[1], b = at[2], c = at[3];
        at += 4;
        switch (op) {
            case Op::Clear: device->Clear(a); break;
            case Op::Vertices: {
                JS_VERTEX* out = device->LockVertices(a, b, static_cast<LockMode>(c));
                if (out != nullptr) {
                    std::memcpy(out, at, size_t{b} * sizeof(JS_VERTEX));
                    device->UnlockVertices();
                } else {
                    dropDraw = true;
                }
                at += Words(size_t{b} * sizeof(JS_VERTEX));
                break;
            }
            case Op::Indices: {
                uint16_t* out = device->LockIndices(a, b, static_cast<LockMode>(c));
                if (out != nullptr) {
                    std::memcpy(out, at, size_t{b} * sizeof(uint16_t));
                    device->UnlockIndices();
                } else {
                    dropDraw = true;
                }
                at += Words(size_t{b} * sizeof(uint16_t));
                break;
            }
            case Op::Draw:
                if (!dropDraw) device->DrawPrimitive(static_cast<PrimitiveType>(a), b);
                dropDraw = false;
                break;
            case Op::DrawIndexed:
                if (!dropDraw) device->DrawIndexedPrimitive(static_cast<PrimitiveType>(a), b, c);
                dropDraw = false;
                break;
            case Op::Blend: device->SetBlendEnabled(a != 0); break;
            case Op::BlendFunc: device->SetBlendFunc(static_cast<BlendFactor>(a)); break;
            case Op::Filter: device->SetTextureFilter(static_cast<TextureFilter>(a)); break;
            case Op::Addressing: device->SetAddressing(static_cast<AddressMode>(a), static_cast<AddressMode>(b)); break;
            case Op::DepthTest: device->SetDepthTest(a != 0); break;
            case Op::Lighting: device->SetLighting(a != 0); break;
            case Op::Antialias: device->SetAntialias(a != 0); break;
            case Op::Transform: {
                Matrix4 matrix;
                std::memcpy(matrix.m, at, sizeof(matrix.m));
                at += Words(sizeof(matrix.m));
                device->SetTransform(static_cast<TransformKind>(a), matrix);
                break;
            }
            case Op::BindTexture: device->BindTexture(a); break;
            case Op::RenderTarget: device->SetRenderTarget(a); break;
        }
    }
    replayed = current.size();
}

JS_VERTEX* UnchangedFrameFilter::LockVertices(uint32_t first, uint32_t count, LockMode mode) {
    if (!Recording()) {
        mustPresent = true;
        return device->LockVertices(first, count, mode);
    }
    return static_cast<JS_VERTEX*>(WriteData(Op::Vertices, first, count, mode, sizeof(JS_VERTEX)));
}

void UnchangedFrameFilter::UnlockVertices() {
    if (!Recording()) device->UnlockVertices();
}

uint16_t* UnchangedFrameFilter::LockIndices(uint32_t first, uint32_t count, LockMode mode) {
    if (!Recording()) {
        mustPresent = true;
        return device->LockIndices(first, count, mode);
    }
    return static_cast<uint16_t*>(WriteData(Op::Indices, first, count, mode, sizeof(uint16_t)));
}

void UnchangedFrameFilter::UnlockIndices() {
    if (!Recording()) device->UnlockIndices();
}

void UnchangedFrameFilter::DrawPrimitive(PrimitiveType type, uint32_t primitiveCount) {
    if (!Recording()) {
        mustPresent = true;
        device->DrawPrimitive(type, primitiveCount);
        return;
    }
    Write(Op::Draw, static_cast<uint32_t>(type), primitiveCount);
}

void UnchangedFrameFilter::DrawIndexedPrimitive(PrimitiveType type, uint32_t vertexCount, uint32_t primitiveCount) {
    if (!Recording()) {
        mustPresent = true;
        device->DrawIndexedPrimitive(type, vertexCount, primitiveCount);
        return;
    }
    Write(Op::DrawIndexed, static_cast<uint32_t>(type), vertexCount, primitiveCount);
}

// A state set outside a scene reaches the device at once and makes the next scene present.
#define QRV_FILTER_STATE(call, op, ...)      \
    if (!Recording()) {                      \
        mustPresent = true;                  \
        device->call;                        \
        return;                              \
    }                                        \
    Write(op, __VA_ARGS__)

void UnchangedFrameFilter::SetBlendEnabled(bool enabled) {
    QRV_FILTER_STATE(SetBlendEnabled(enabled), Op::Blend, enabled ? 1u : 0u);
}
void UnchangedFrameFilter::SetBlendFunc(BlendFactor dest) {
    QRV_FILTER_STATE(SetBlendFunc(dest), Op::BlendFunc, static_cast<uint32_t>(dest));
}
void UnchangedFrameFilter::SetTextureFilter(TextureFilter filter) {
    QRV_FILTER_STATE(SetTextureFilter(filter), Op::Filter, static_cast<uint32_t>(filter));
}
void UnchangedFrameFilter::SetAddressing(AddressMode u, AddressMode v) {
    QRV_FILTER_STATE(SetAddressing(u, v), Op::Addressing, static_cast<uint32_t>(u), static_cast<uint32_t>(v));
}
void UnchangedFrameFilter::SetDepthTest(bool enabled) {
    QRV_FILTER_STATE(SetDepthTest(enabled), Op::DepthTest, enabled ? 1u : 0u);
}
void UnchangedFrameFilter::SetLighting(bool enabled) {
    QRV_FILTER_STATE(SetLighting(enabled), Op::Lighting, enabled ? 1u : 0u);
}
void UnchangedFrameFilter::SetAntialias(bool enabled) {
    QRV_FILTER_STATE(SetAntialias(enabled), Op::Antialias, enabled ? 1u : 0u);
}
void UnchangedFrameFilter::BindTexture(uint32_t handle) { QRV_FILTER_STATE(BindTexture(handle), Op::BindTexture, handle); }

#undef QRV_FILTER_STATE

void UnchangedFrameFilter::SetTransform(TransformKind kind, const Matrix4& matrix) {
    if (!Recording()) {
        mustPresent = true;
        device->SetTransform(kind, matrix);
        return;
    }
    Write(Op::Transform, static_cast<uint32_t>(kind));
    for (const auto& row : matrix.m) {
        for (float value : row) current.push_back(Bits(value));
    }
}

uint32_t UnchangedFrameFilter::CreateTexture(uint32_t width, uint32_t height, const uint8_t* rgba) {
    PassThrough();
    return device->CreateTexture(width, height, rgba);
}

uint32_t UnchangedFrameFilter::CreateAlphaTexture(uint32_t width, uint32_t height, const uint8_t* alpha) {
    PassThrough();
    return device->CreateAlphaTexture(width, height, alpha);
}

void UnchangedFrameFilter::DestroyTexture(uint32_t handle) {
    PassThrough();
    device->DestroyTexture(handle);
}

RenderTargetHandles UnchangedFrameFilter::CreateRenderTarget(uint32_t width, uint32_t height) {
    PassThrough();
    const RenderTargetHandles made = device->CreateRenderTarget(width, height);
    if (made.target != 0) targets.insert(made.target);
    return made;
}

bool UnchangedFrameFilter::SetRenderTarget(uint32_t target) {
    if (!Recording()) {
        mustPresent = true;
        return device->SetRenderTarget(target);
    }
    // Targets are known here: only the device's answer for one made through the filter is needed.
    if (target != 0 && targets.count(target) == 0) return false;
    Write(Op::RenderTarget, target);
    return true;
}

void UnchangedFrameFilter::DestroyRenderTarget(uint32_t target) {
    PassThrough();
    targets.erase(target);
    device->DestroyRenderTarget(target);
}

}  // namespace QRV::Platform
