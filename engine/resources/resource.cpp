#include "engine/resources/resource.h"

#include <pugixml.hpp>

#include <array>
#include <atomic>
#include <utility>

namespace QRV {

namespace {

std::array<std::atomic<ResourceFreeFunction>, 8> g_kindFree{};

}  // namespace

void RegisterResourceKind(int32_t kind, ResourceFreeFunction freeObject) {
    if (kind < 0 || static_cast<size_t>(kind) >= g_kindFree.size()) return;
    g_kindFree[static_cast<size_t>(kind)].store(freeObject);
}

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
        case kResourceBytes: delete[] static_cast<uint8_t*>(object); break;
        case kResourceXml: delete static_cast<pugi::xml_document*>(object); break;
        default:
            if (kind >= 0 && static_cast<size_t>(kind) < g_kindFree.size()) {
                const ResourceFreeFunction freeObject = g_kindFree[static_cast<size_t>(kind)].load();
                if (freeObject != nullptr && object != nullptr) freeObject(object);
            }
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
