#include "engine/resources/resource.h"

#include <pugixml.hpp>

#include <utility>

#include "engine/platform/render.h"
#include "engine/sound/sound_manager.h"

namespace QRV {

JS_RESOURCE::JS_RESOURCE(std::string name, std::string path, std::string password)
    : name(std::move(name)), path(std::move(path)), password(std::move(password)) {}

JS_RESOURCE::~JS_RESOURCE() { FreeObject(); }

bool JS_RESOURCE::Unload() {
    if (refCount > 0) return false;
    if (loaded == 0) return true;
    FreeObject();
    return true;
}

void JS_RESOURCE::FreeObject() {
    switch (kind) {
    case kResourceBytes:
        delete[] static_cast<uint8_t*>(object);
        break;
    case kResourceTexture:
        // Once the renderer is gone its registry has freed every texture already.
        if (g_render != nullptr) g_render->ReleaseTexture(static_cast<JS_TEXTURE*>(object));
        break;
    case kResourceSound:
        // Once the sound manager is gone it has deleted its sounds already; the bytes stay ours.
        if (g_soundManager != nullptr) g_soundManager->ReleaseSound(static_cast<JC_SOUND*>(object));
        break;
    case kResourceXml:
        delete static_cast<pugi::xml_document*>(object);
        break;
    default:
        break;
    }
    delete[] soundBytes;
    soundBytes = nullptr;
    kind = kResourceNone;
    size = 0;
    object = nullptr;
    loaded = 0;
}

}  // namespace QRV
