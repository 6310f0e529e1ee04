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

// Reads the record's bytes (a zip member or a directory file, plain or qrvlzo) into a new buffer
// of size + 1 whose last byte is 0: kind 1, loaded. Replaces earlier raw bytes; a record that
// holds a typed object is left alone (-108).
// 1 read, -1 the repository path does not exist, -108 cannot open (or no such member),
// -109 short read, corrupt data or a declared size beyond the limits.
int LoadResource(const JC_PATHS* paths, JS_RESOURCE* record);

// Frees the raw bytes of a record whose typed load is done with them (or failed): kind 0, unloaded.
void DropBytes(JS_RESOURCE* record);
// True when the record holds a typed object of another kind than wanted.
bool HoldsOtherKind(const JS_RESOURCE* record, int32_t wanted);

// The typed loaders (documents here; textures and sounds in their own folders) return the object
// at once when it is already loaded as that kind, and null when the record holds another kind.
// They do not count references.
pugi::xml_document* GetResourceXml(JS_RESOURCE* record);

// Looks the key up, loads the document when needed and counts one reference; null when absent
// or unparsable (the file is then reported: engine/resources/unreadable_report.h, unless the
// caller says it reports the failure itself).
enum class UnreadableReport { kReport, kCallerReports };
pugi::xml_document* AcquireXmlResource(const std::string& key,
                                       UnreadableReport report = UnreadableReport::kReport);

// One reference less on the record that holds the object; true when it fell below 1. False for an
// object no record holds.
bool ReleaseRecordOf(const void* object);
bool ReleaseXml(const pugi::xml_document* document);
// Release by object of any kind (the cbReleaseResource entry): textures and documents lose one
// reference, other kinds nothing. 0.
int ReleaseResourceHandle(uintptr_t object);

}  // namespace QRV
