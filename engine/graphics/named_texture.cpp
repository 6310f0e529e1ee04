#include "engine/graphics/named_texture.h"

#include "engine/graphics/render.h"
#include "engine/graphics/texture_resource.h"
#include "engine/resources/repository_manager.h"
#include "engine/resources/resource_loaders.h"
#include "engine/resources/unreadable_report.h"

namespace QRV {

JS_TEXTURE* AcquireNamedTexture(const std::string& key) {
    if (g_render == nullptr) return nullptr;
    JS_RESOURCE* record = g_repositoryManager != nullptr ? g_repositoryManager->GetResource(key) : nullptr;
    if (record == nullptr) {
        if (g_repositoryManager != nullptr) ReportUnreadableResource(key);
        return g_render->defaultTexture;
    }
    JS_TEXTURE* texture = GetResourceTexture(record);
    // A record of another kind, or one that cannot be decoded, is not this texture's user.
    if (texture == nullptr || texture == g_render->defaultTexture) {
        if (texture == g_render->defaultTexture) ReportUnreadableResource(key);
        return g_render->defaultTexture;
    }
    ++record->refCount;
    return texture;
}

void ReleaseNamedTexture(JS_TEXTURE* texture) {
    if (!IsRealTexture(texture)) return;
    ReleaseTexture(texture);
}

bool IsRealTexture(const JS_TEXTURE* texture) {
    return texture != nullptr && (g_render == nullptr || texture != &g_render->noTexture);
}

JS_TEXTURE* NoTexture() { return g_render != nullptr ? &g_render->noTexture : nullptr; }

}  // namespace QRV
