#pragma once
// Reading a record's bytes and turning them into typed objects, and the reference counting of the
// callers. All of these work on the global repository manager.

#include <cstdint>
#include <string>

#include "engine/resources/resource.h"

namespace pugi {
class xml_document;
}

namespace QRV {

class JC_PATHS;
class JC_SOUND;
struct JS_TEXTURE;

// Reads the record's bytes (a zip member or a directory file, plain or qrvlzo) into a new buffer
// of size + 1 whose last byte is 0: kind 1, loaded. Replaces earlier raw bytes; a record that
// holds a typed object is left alone (-108).
// 1 read, -1 the repository path does not exist, -108 cannot open (or no such member),
// -109 short read, corrupt data or a declared size beyond the limits.
int LoadResource(const JC_PATHS* paths, JS_RESOURCE* record);

// The typed loaders return the object at once when it is already loaded as that kind, and null
// when the record holds another kind. They do not count references.
pugi::xml_document* GetResourceXml(JS_RESOURCE* record);
// The renderer's default texture when the bytes cannot be read or decoded; null without a
// renderer or on a kind mismatch.
JS_TEXTURE* GetResourceTexture(JS_RESOURCE* record);
// whole: decode the sound into one buffer instead of streaming it.
JC_SOUND* GetResourceSound(JS_RESOURCE* record, int bufferCount, bool whole);

// Looks the key up, loads the document when needed and counts one reference; null when absent
// or unparsable.
pugi::xml_document* AcquireXmlResource(const std::string& key);

// One reference less on the record of the object; true when it fell below 1.
bool ReleaseXml(const pugi::xml_document* document);
// As ReleaseXml; the renderer's default texture is ignored.
bool ReleaseTexture(const JS_TEXTURE* texture);
// Release by object of any kind (the cbReleaseResource entry): textures and documents lose one
// reference, other kinds nothing. 0.
int ReleaseResourceHandle(uintptr_t object);

}  // namespace QRV
