#include "engine/platform/null_device.h"

#include <algorithm>

namespace QRV::Platform {
namespace {

uint32_t VerticesPerPrimitive(PrimitiveType type) {
    switch (type) {
        case PrimitiveType::Points: return 1;
        case PrimitiveType::Lines: return 2;
        case PrimitiveType::Triangles: return 3;
    }
    return 3;
}

}  // namespace

NullRenderDevice::NullRenderDevice() = default;

void NullRenderDevice::SetBackBufferSize(int32_t width, int32_t height) {
    backBufferWidth = width;
    backBufferHeight = height;
}

std::vector<const DeviceCall*> NullRenderDevice::CallsOf(CallKind kind) const {
    std::vector<const DeviceCall*> result;
    for (const DeviceCall& call : calls) {
        if (call.kind == kind) result.push_back(&call);
    }
    return result;
}

std::vector<const DeviceCall*> NullRenderDevice::Draws() const {
    std::vector<const DeviceCall*> result;
    for (const DeviceCall& call : calls) {
        if (call.kind == CallKind::DrawPrimitive || call.kind == CallKind::DrawIndexedPrimitive) {
            result.push_back(&call);
        }
    }
    return result;
}

void NullRenderDevice::ClearRecord() {
    calls.clear();
    counts.fill(0);
}

const std::vector<uint8_t>& NullRenderDevice::TexturePixels(uint32_t handle) const {
    static const std::vector<uint8_t> none;
    auto it = textures.find(handle);
    return it == textures.end() ? none : it->second.pixels;
}

DeviceCall* NullRenderDevice::Record(CallKind kind) {
    ++counts[static_cast<size_t>(kind)];
    if (recording != Recording::Full) return nullptr;
    calls.emplace_back();
    calls.back().kind = kind;
    return &calls.back();
}

bool NullRenderDevice::Create(const PresentParams& params) {
    if (DeviceCall* call = Record(CallKind::Create)) call->params = params;
    return true;
}

bool NullRenderDevice::Reset(const PresentParams& params) {
    if (DeviceCall* call = Record(CallKind::Reset)) call->params = params;
    if (!targets.empty()) return false;
    needsReset = false;
    inScene = false;
    return true;
}

DeviceStatus NullRenderDevice::TestCooperativeLevel() {
    if (isLost) return DeviceStatus::Lost;
    if (needsReset) return DeviceStatus::NeedsReset;
    return DeviceStatus::Ok;
}

void NullRenderDevice::GetBackBufferSize(int32_t& width, int32_t& height) const {
    width = backBufferWidth;
    height = backBufferHeight;
}

bool NullRenderDevice::BeginScene() {
    Record(CallKind::BeginScene);
    if (failBeginScene || inScene) return false;
    inScene = true;
    return true;
}

bool NullRenderDevice::Clear(uint32_t argb) {
    if (DeviceCall* call = Record(CallKind::Clear)) call->color = argb;
    return !failClear;
}

void NullRenderDevice::EndScene() {
    Record(CallKind::EndScene);
    inScene = false;
}

void NullRenderDevice::Present() { Record(CallKind::Present); }

JS_VERTEX* NullRenderDevice::LockVertices(uint32_t first, uint32_t count, LockMode mode) {
    if (DeviceCall* call = Record(CallKind::LockVertices)) {
        call->first = first;
        call->count = count;
        call->lockMode = mode;
    }
    const uint32_t end = first + count;
    if (vertexBuffer.size() < end) vertexBuffer.resize(end);
    vertexEnd = mode == LockMode::Discard ? end : std::max(vertexEnd, end);
    highestVertex = std::max(highestVertex, end);
    return vertexBuffer.data() + first;
}

void NullRenderDevice::UnlockVertices() { Record(CallKind::UnlockVertices); }

uint16_t* NullRenderDevice::LockIndices(uint32_t first, uint32_t count, LockMode mode) {
    if (DeviceCall* call = Record(CallKind::LockIndices)) {
        call->first = first;
        call->count = count;
        call->lockMode = mode;
    }
    const uint32_t end = first + count;
    if (indexBuffer.size() < end) indexBuffer.resize(end);
    highestIndex = std::max(highestIndex, end);
    return indexBuffer.data() + first;
}

void NullRenderDevice::UnlockIndices() { Record(CallKind::UnlockIndices); }

void NullRenderDevice::DrawPrimitive(PrimitiveType type, uint32_t primitiveCount) {
    DeviceCall* call = Record(CallKind::DrawPrimitive);
    if (call == nullptr) return;
    call->primitive = type;
    call->primitiveCount = primitiveCount;
    call->state = state;
    const size_t used = std::min<size_t>(size_t{primitiveCount} * VerticesPerPrimitive(type), vertexEnd);
    call->vertices.assign(vertexBuffer.begin(), vertexBuffer.begin() + static_cast<ptrdiff_t>(used));
}

void NullRenderDevice::DrawIndexedPrimitive(PrimitiveType type, uint32_t vertexCount, uint32_t primitiveCount) {
    DeviceCall* call = Record(CallKind::DrawIndexedPrimitive);
    if (call == nullptr) return;
    call->primitive = type;
    call->primitiveCount = primitiveCount;
    call->vertexCount = vertexCount;
    call->state = state;
    const size_t vertices = std::min<size_t>(vertexCount, vertexBuffer.size());
    const size_t indices = std::min<size_t>(size_t{primitiveCount} * VerticesPerPrimitive(type), indexBuffer.size());
    call->vertices.assign(vertexBuffer.begin(), vertexBuffer.begin() + static_cast<ptrdiff_t>(vertices));
    call->indices.assign(indexBuffer.begin(), indexBuffer.begin() + static_cast<ptrdiff_t>(indices));
}

void NullRenderDevice::SetBlendEnabled(bool enabled) {
    state.blend = enabled;
    if (DeviceCall* call = Record(CallKind::SetBlendEnabled)) call->enabled = enabled;
}

void NullRenderDevice::SetBlendFunc(BlendFactor dest) {
    state.dest = dest;
    if (DeviceCall* call = Record(CallKind::SetBlendFunc)) call->dest = dest;
}

void NullRenderDevice::SetTextureFilter(TextureFilter filter) {
    state.filter = filter;
    if (DeviceCall* call = Record(CallKind::SetTextureFilter)) call->filter = filter;
}

void NullRenderDevice::SetAddressing(AddressMode u, AddressMode v) {
    state.addressU = u;
    state.addressV = v;
    if (DeviceCall* call = Record(CallKind::SetAddressing)) {
        call->addressU = u;
        call->addressV = v;
    }
}

void NullRenderDevice::SetDepthTest(bool enabled) {
    state.depthTest = enabled;
    if (DeviceCall* call = Record(CallKind::SetDepthTest)) call->enabled = enabled;
}

void NullRenderDevice::SetLighting(bool enabled) {
    state.lighting = enabled;
    if (DeviceCall* call = Record(CallKind::SetLighting)) call->enabled = enabled;
}

void NullRenderDevice::SetAntialias(bool enabled) {
    state.antialias = enabled;
    if (DeviceCall* call = Record(CallKind::SetAntialias)) call->enabled = enabled;
}

void NullRenderDevice::SetTransform(TransformKind kind, const Matrix4& matrix) {
    switch (kind) {
        case TransformKind::World: state.world = matrix; break;
        case TransformKind::View: state.view = matrix; break;
        case TransformKind::Projection: state.projection = matrix; break;
    }
    if (DeviceCall* call = Record(CallKind::SetTransform)) {
        call->transform = kind;
        call->matrix = matrix;
    }
}

uint32_t NullRenderDevice::CreateTexture(uint32_t width, uint32_t height, const uint8_t* rgba) {
    const uint32_t handle = nextTexture++;
    TextureData& data = textures[handle];
    data.width = width;
    data.height = height;
    if (rgba != nullptr) data.pixels.assign(rgba, rgba + size_t{width} * height * 4);
    if (DeviceCall* call = Record(CallKind::CreateTexture)) {
        call->handle = handle;
        call->width = width;
        call->height = height;
    }
    return handle;
}

uint32_t NullRenderDevice::CreateAlphaTexture(uint32_t width, uint32_t height, const uint8_t* alpha) {
    const uint32_t handle = IRenderDevice::CreateAlphaTexture(width, height, alpha);
    if (!calls.empty() && calls.back().kind == CallKind::CreateTexture && calls.back().handle == handle)
        calls.back().channels = 1;
    return handle;
}

void NullRenderDevice::DestroyTexture(uint32_t handle) {
    if (DeviceCall* call = Record(CallKind::DestroyTexture)) call->handle = handle;
    for (const auto& [target, texture] : targets) {
        if (texture == handle) return;  // goes with its target
    }
    textures.erase(handle);
    if (state.texture == handle) state.texture = 0;
}

void NullRenderDevice::BindTexture(uint32_t handle) {
    if (DeviceCall* call = Record(CallKind::BindTexture)) call->handle = handle;
    state.texture = handle;
}

uint32_t NullRenderDevice::TargetTexture(uint32_t handle) const {
    auto it = targets.find(handle);
    return it == targets.end() ? 0 : it->second;
}

RenderTargetHandles NullRenderDevice::CreateRenderTarget(uint32_t width, uint32_t height) {
    RenderTargetHandles made;
    if (!failRenderTargets && width > 0 && height > 0) {
        made.target = nextTarget++;
        made.texture = nextTexture++;
        TextureData& data = textures[made.texture];
        data.width = width;
        data.height = height;
        targets[made.target] = made.texture;
    }
    if (DeviceCall* call = Record(CallKind::CreateRenderTarget)) {
        call->handle = made.target;
        call->targetTexture = made.texture;
        call->width = width;
        call->height = height;
    }
    return made;
}

bool NullRenderDevice::SetRenderTarget(uint32_t target) {
    const bool known = target == 0 || targets.count(target) != 0;
    if (known) state.target = target;
    if (DeviceCall* call = Record(CallKind::SetRenderTarget)) {
        call->handle = target;
        call->succeeded = known;
    }
    return known;
}

void NullRenderDevice::DestroyRenderTarget(uint32_t target) {
    if (DeviceCall* call = Record(CallKind::DestroyRenderTarget)) call->handle = target;
    auto it = targets.find(target);
    if (it == targets.end()) return;
    textures.erase(it->second);
    if (state.texture == it->second) state.texture = 0;
    if (state.target == target) state.target = 0;
    targets.erase(it);
}

}  // namespace QRV::Platform
