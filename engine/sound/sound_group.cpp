#include "engine/sound/sound_group.h"

#include "engine/resources/repository_manager.h"
#include "engine/resources/resource_loaders.h"
#include "engine/resources/unreadable_report.h"
#include "engine/sound/sound.h"
#include "engine/sound/sound_lock.h"
#include "engine/sound/sound_manager.h"
#include "engine/sound/sound_resource.h"

JCSoundGroup::~JCSoundGroup() {
    for (auto& [name, entry] : entries) delete entry;
}

void JCSoundGroup::AddEntry(JCSoundEntry* entry) {
    auto [it, inserted] = entries.try_emplace(entry->name, entry);
    if (!inserted) {
        if (current == it) current = entries.end();
        delete it->second;
        it->second = entry;
    }
}

JCSoundEntry* JCSoundGroup::FindSound(const std::string& name) const {
    auto it = entries.find(name);
    return it == entries.end() ? nullptr : it->second;
}

int JCSoundGroup::LoadSounds() {
    QRV::JC_REPOSITORY_MANAGER* manager = QRV::g_repositoryManager;
    if (manager == nullptr) return 1;
    for (auto& [name, entry] : entries) {
        if (entry->sound != nullptr) continue;
        QRV::JS_RESOURCE* record = manager->GetResource(entry->path);
        if (record == nullptr) {
            QRV::ReportUnreadableResource(entry->path);
            continue;
        }
        // The catalogue's "streamed" means decoded whole.
        QRV::JC_SOUND* sound = QRV::GetResourceSound(record, entry->cntBuffers, entry->streamed != 0);
        if (sound == nullptr) {
            // Without a sound manager no sound is made, readable or not.
            if (QRV::g_soundManager != nullptr) QRV::ReportUnreadableResource(entry->path);
            continue;
        }
        entry->sound = sound;
        ++record->refCount;
    }
    return 1;
}

int JCSoundGroup::ReleaseSounds() {
    QRV::JC_REPOSITORY_MANAGER* manager = QRV::g_repositoryManager;
    for (auto& [name, entry] : entries) {
        if (entry->sound == nullptr) continue;
        QRV::JS_RESOURCE* record = manager != nullptr ? manager->FindByObject(entry->sound) : nullptr;
        if (record != nullptr && --record->refCount < 1) ++manager->releasedCount;
        // The sweep may free the sound from here on: a later LoadSounds takes it again.
        entry->sound = nullptr;
    }
    return 1;
}

int JCSoundGroup::Start() {
    if (entries.empty()) return -1;
    current = entries.begin();
    if (current->second->sound != nullptr) PlayEntry(current->second);
    playing = 1;
    return 1;
}

int JCSoundGroup::PlayEntry(JCSoundEntry* entry) {
    if (entry == nullptr || entry->sound == nullptr) return -1;
    if (gain <= 0.0f) return 1;
    QRV::JC_SOUND_LOCK lock;
    // The gain goes on before the start so that the first samples are not at full level.
    entry->sound->SetGain(gain);
    entry->sound->Stop();
    entry->sound->Play();
    return 1;
}

void JCSoundGroup::ApplyGain() {
    for (auto& [name, entry] : entries) {
        if (entry->sound != nullptr) entry->sound->SetGain(gain);
    }
}
