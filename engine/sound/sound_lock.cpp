#include "engine/sound/sound_lock.h"

namespace QRV {

std::atomic<int32_t> g_soundSourcesInUse{0};

std::recursive_mutex& SoundLock() {
    static std::recursive_mutex lock;
    return lock;
}

JC_SOUND_LOCK::JC_SOUND_LOCK() {
    if (!SoundLock().try_lock()) SoundLock().lock();
}

JC_SOUND_LOCK::~JC_SOUND_LOCK() { SoundLock().unlock(); }

}  // namespace QRV
