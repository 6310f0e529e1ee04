#include "engine/sound/sound_resource.h"

#include "engine/resources/resource_loaders.h"
#include "engine/sound/sound_manager.h"

namespace QRV {

namespace {

// Once the sound manager is gone it has deleted its sounds already; the bytes stay the record's.
void FreeSound(void* object) {
    if (g_soundManager != nullptr) g_soundManager->ReleaseSound(static_cast<JC_SOUND*>(object));
}

}  // namespace

JC_SOUND* GetResourceSound(JS_RESOURCE* record, int bufferCount, bool whole) {
    if (record == nullptr || g_soundManager == nullptr) return nullptr;
    if (record->loaded != 0 && record->kind == kResourceSound) return static_cast<JC_SOUND*>(record->object);
    if (HoldsOtherKind(record, kResourceSound)) return nullptr;
    if (LoadResource(nullptr, record) != 1) return nullptr;

    JC_SOUND* sound = g_soundManager->CreateSound(record->object, record->size, bufferCount, whole);
    if (sound == nullptr) {
        DropBytes(record);
        return nullptr;
    }
    RegisterResourceKind(kResourceSound, FreeSound);
    // The sound plays from the bytes; the record frees them after the sound is released.
    record->soundBytes = static_cast<uint8_t*>(record->object);
    record->object = sound;
    record->kind = kResourceSound;
    record->loaded = 1;
    return sound;
}

}  // namespace QRV
