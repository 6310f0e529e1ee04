#include "engine/resources/resource_loaders.h"

#include <pugixml.hpp>

#include <filesystem>
#include <memory>
#include <new>
#include <system_error>

#include "engine/core/result_codes.h"
#include "engine/resources/paths.h"
#include "engine/resources/qrvlzo_reader.h"
#include "engine/resources/repository_manager.h"
#include "engine/resources/unreadable_report.h"
#include "engine/resources/zip_reader.h"

namespace QRV {

void DropBytes(JS_RESOURCE* record) {
    if (record->kind == kResourceBytes) delete[] static_cast<uint8_t*>(record->object);
    record->object = nullptr;
    record->kind = kResourceNone;
    record->loaded = 0;
}

bool HoldsOtherKind(const JS_RESOURCE* record, int32_t wanted) {
    return record->loaded != 0 && record->kind != wanted && record->kind != kResourceBytes;
}

namespace {

int ReadDirectoryFile(const std::string& path, uint8_t** bytes, uint32_t* size) {
    JC_QRVLZO_FILE file;
    if (!file.Open(path)) return RESULT::Missing;
    const size_t length = file.Size();
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[length + 1]);
    if (buffer == nullptr || !file.Read(buffer.get())) return RESULT::ShortRead;
    buffer[length] = 0;
    *bytes = buffer.release();
    *size = static_cast<uint32_t>(length);
    return RESULT::Ok;
}

}  // namespace

int LoadResource(const JC_PATHS* paths, JS_RESOURCE* record) {
    if (record == nullptr) return RESULT::Missing;
    if (record->loaded != 0) {
        // Raw bytes already read stay; a typed object is not overwritten.
        return record->kind == kResourceBytes ? RESULT::Ok : RESULT::Missing;
    }
    if (paths == nullptr) paths = JC_PATHS::Instance();

    namespace fs = std::filesystem;
    const std::string source = paths->resourcesDir + record->path;
    std::error_code error;
    const fs::file_status status = fs::status(source, error);
    uint8_t* bytes = nullptr;
    uint32_t size = 0;
    int result;
    if (fs::is_regular_file(status)) {
        result = ReadZipMember(source, record->name, record->password, &bytes, &size);
    } else if (fs::is_directory(status)) {
        result = ReadDirectoryFile(source + "/" + record->name, &bytes, &size);
    } else {
        return RESULT::Failed;
    }
    if (result != 1) return result;
    record->object = bytes;
    record->size = size;
    record->kind = kResourceBytes;
    record->loaded = 1;
    return RESULT::Ok;
}

pugi::xml_document* GetResourceXml(JS_RESOURCE* record) {
    if (record == nullptr) return nullptr;
    if (record->loaded != 0 && record->kind == kResourceXml) return static_cast<pugi::xml_document*>(record->object);
    if (HoldsOtherKind(record, kResourceXml)) return nullptr;
    if (LoadResource(nullptr, record) != 1) return nullptr;

    auto* document = new pugi::xml_document();
    const pugi::xml_parse_result parsed = document->load_buffer(record->object, record->size);
    DropBytes(record);
    if (!parsed) {
        delete document;
        return nullptr;
    }
    record->object = document;
    record->kind = kResourceXml;
    record->loaded = 1;
    record->refCount = 0;
    return document;
}

pugi::xml_document* AcquireXmlResource(const std::string& key, UnreadableReport report) {
    if (g_repositoryManager == nullptr) return nullptr;
    JS_RESOURCE* record = g_repositoryManager->GetResource(key);
    pugi::xml_document* document = record != nullptr ? GetResourceXml(record) : nullptr;
    if (document == nullptr) {
        // A record holding another kind is no unreadable file.
        if (report == UnreadableReport::kReport && (record == nullptr || !HoldsOtherKind(record, kResourceXml)))
            ReportUnreadableResource(key);
        return nullptr;
    }
    ++record->refCount;
    return document;
}

bool ReleaseRecordOf(const void* object) {
    if (object == nullptr || g_repositoryManager == nullptr) return false;
    JS_RESOURCE* record = g_repositoryManager->FindByObject(object);
    if (record == nullptr) return false;
    --record->refCount;
    if (record->refCount >= 1) return false;
    ++g_repositoryManager->releasedCount;
    return true;
}

bool ReleaseXml(const pugi::xml_document* document) { return ReleaseRecordOf(document); }

int ReleaseResourceHandle(uintptr_t object) {
    if (g_repositoryManager == nullptr) return 0;
    const JS_RESOURCE* record = g_repositoryManager->FindByObject(reinterpret_cast<const void*>(object));
    if (record == nullptr) return 0;
    // Textures and documents are counted by their users; other kinds are not.
    if (record->kind == kResourceTexture || record->kind == kResourceXml) ReleaseRecordOf(record->object);
    return 0;
}

}  // namespace QRV
