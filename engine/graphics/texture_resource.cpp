#include "engine/graphics/texture_resource.h"

#include "engine/graphics/render.h"
#include "engine/resources/resource_loaders.h"

namespace QRV {

namespace {

// Once the renderer is gone its registry has freed every texture already.
void FreeTexture(void* object) {
    if (g_render != nullptr) g_render->ReleaseTexture(static_cast<JS_TEXTURE*>(object));
}

}  // namespace

JS_TEXTURE* GetResourceTexture(JS_RESOURCE* record) {
    if (g_render == nullptr) return nullptr;
    if (record == nullptr) return g_render->defaultTexture;
    if (record->loaded != 0 && record->kind == kResourceTexture) return static_cast<JS_TEXTURE*>(record->object);
    if (HoldsOtherKind(record, kResourceTexture)) return nullptr;
    if (LoadResource(nullptr, record) != 1) return g_render->defaultTexture;

    JS_TEXTURE* texture = g_render->LoadTextureMemory(record->object, record->size);
    DropBytes(record);
    // A texture that could not be decoded stays unloaded, so a later use tries again.
    if (texture == nullptr || texture == g_render->defaultTexture) return g_render->defaultTexture;
    RegisterResourceKind(kResourceTexture, FreeTexture);
    record->object = texture;
    record->kind = kResourceTexture;
    record->loaded = 1;
    return texture;
}

bool ReleaseTexture(const JS_TEXTURE* texture) {
    if (texture == nullptr || (g_render != nullptr && texture == g_render->defaultTexture)) return false;
    return ReleaseRecordOf(texture);
}

}  // namespace QRV
