#pragma once
// One named resource record: where its bytes come from and, once loaded, the object made of them.

#include <cstdint>
#include <string>

namespace QRV {

// What a record's object is.
constexpr int32_t kResourceNone = 0;
constexpr int32_t kResourceBytes = 1;
constexpr int32_t kResourceTexture = 2;
constexpr int32_t kResourceSound = 3;
constexpr int32_t kResourceXml = 4;

// How the folder that owns a kind of object frees one (textures by the renderer, sounds by the
// sound manager). Registered by that folder's typed loader before it stores its first object, so
// the resource layer never needs to know those kinds. Safe to call from any thread.
using ResourceFreeFunction = void (*)(void* object);
void RegisterResourceKind(int32_t kind, ResourceFreeFunction freeObject);

struct JS_RESOURCE {
    JS_RESOURCE() = default;
    JS_RESOURCE(std::string name, std::string path, std::string password);
    // Frees whatever is still loaded, references or not.
    ~JS_RESOURCE();
    JS_RESOURCE(const JS_RESOURCE&) = delete;
    JS_RESOURCE& operator=(const JS_RESOURCE&) = delete;

    // False while referenced; otherwise frees the object and returns the record to kind 0.
    bool Unload();

    std::string name;        // file name, or member name inside a zip archive
    std::string path;        // repository name, "" for the main repository
    std::string password;    // zip member password, "" for directory files
    uint32_t size = 0;       // byte count of the raw bytes
    void* object = nullptr;  // bytes (uint8_t[size + 1]), JS_TEXTURE, JC_SOUND or pugi::xml_document
    int32_t refCount = 0;
    int32_t kind = kResourceNone;
    uint8_t loaded = 0;
    uint8_t removePending = 0;
    // The Ogg bytes a sound plays from (kind 3); the record frees them after the sound.
    uint8_t* soundBytes = nullptr;

private:
    void FreeObject();
};

}  // namespace QRV
