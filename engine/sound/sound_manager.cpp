#include "engine/sound/sound_manager.h"

#include <algorithm>

#include "engine/platform/time_source.h"

namespace QRV {

JC_SOUND_MANAGER* g_soundManager = nullptr;

JC_SOUND_MANAGER::~JC_SOUND_MANAGER() {
    CloseDevice();
    JC_SOUND_LOCK lock;
    for (JC_SOUND* sound : sounds) delete sound;
    sounds.clear();
}

int JC_SOUND_MANAGER::OpenDevice() {
    JC_SOUND_LOCK lock;
    if (device != nullptr) return 1;
    device = alcOpenDevice(nullptr);
    if (device == nullptr) return -1;
    context = alcCreateContext(device, nullptr);
    lastError = alcGetError(device);
    if (context == nullptr) {
        // A device without a context plays nothing: count it as no device.
        alcCloseDevice(device);
        device = nullptr;
        return -1;
    }
    alcMakeContextCurrent(context);
    alListenerfv(AL_POSITION, listenerPosition);
    alListenerfv(AL_VELOCITY, listenerVelocity);
    alListenerfv(AL_ORIENTATION, listenerOrientation);
    alDistanceModel(AL_NONE);
    lastError = alcGetError(device);
    return 1;
}

void JC_SOUND_MANAGER::CloseDevice() {
    JC_SOUND_LOCK lock;
    if (device == nullptr) return;
    // Sources and buffers belong to the context: drop them before it goes.
    for (JC_SOUND* sound : sounds) sound->DetachFromDevice();
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
    alcCloseDevice(device);
    context = nullptr;
    device = nullptr;
}

bool JC_SOUND_MANAGER::HasDevice() {
    JC_SOUND_LOCK lock;
    return device != nullptr;
}

JC_SOUND* JC_SOUND_MANAGER::CreateSound(const void* data, uint32_t size, int bufferCount, bool whole) {
    auto* sound = new JC_SOUND();
    if (sound->Init(data, size, bufferCount, whole) != 1) {
        delete sound;
        return nullptr;
    }
    JC_SOUND_LOCK lock;
    sounds.push_back(sound);
    return sound;
}

int JC_SOUND_MANAGER::ReleaseSound(JC_SOUND* sound) {
    JC_SOUND_LOCK lock;
    auto it = std::find(sounds.begin(), sounds.end(), sound);
    if (sound == nullptr || it == sounds.end()) return -1;
    sounds.erase(it);
    // The destructor stops a playing sound before its source and buffers go.
    delete sound;
    return 1;
}

size_t JC_SOUND_MANAGER::SoundCount() {
    JC_SOUND_LOCK lock;
    return sounds.size();
}

bool JC_SOUND_MANAGER::UpdateSounds() {
    JC_SOUND_LOCK lock;
    if (device == nullptr || sounds.empty()) {
        // Idle time is nobody's: the next tick with sounds counts from itself.
        ticked_ = false;
        return false;
    }
    // The thread sleeps about 10 ms between ticks, however long that really takes: sounds are
    // told the time that passed, not an assumed tick length.
    const uint32_t now = Platform::NowMs();
    const float elapsed = ticked_ ? static_cast<float>(now - lastTickMs_) / 1000.0f : 0.0f;
    lastTickMs_ = now;
    ticked_ = true;
    for (JC_SOUND* sound : sounds) sound->Update(elapsed);
    return true;
}

}  // namespace QRV
