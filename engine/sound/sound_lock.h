#pragma once
// The sound lock: one process-wide recursive lock over the sound list and every OpenAL call that
// names a sound's source or buffers. Recursive because Update runs under it and calls Play and
// Stop, which take it again.

#include <atomic>
#include <cstdint>
#include <mutex>

namespace QRV {

std::recursive_mutex& SoundLock();

// Scoped hold of the sound lock: tries first, then waits.
class JC_SOUND_LOCK {
public:
    JC_SOUND_LOCK();
    ~JC_SOUND_LOCK();
    JC_SOUND_LOCK(const JC_SOUND_LOCK&) = delete;
    JC_SOUND_LOCK& operator=(const JC_SOUND_LOCK&) = delete;
};

// Most OpenAL sources the sounds may hold at once.
constexpr int32_t kMaxSoundSources = 16;

// Live sources held by sounds: raised on alGenSources, lowered on alDeleteSources, changed only
// under the sound lock (atomic so that it can be read without it).
extern std::atomic<int32_t> g_soundSourcesInUse;

}  // namespace QRV
