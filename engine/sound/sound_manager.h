#pragma once
// The sound manager: the OpenAL device and context, the listener and the list of live sounds.

#include <AL/al.h>
#include <AL/alc.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/sound/sound.h"
#include "engine/sound/sound_lock.h"

namespace QRV {

class JC_SOUND_MANAGER {
public:
    JC_SOUND_MANAGER() = default;
    // Closes the device when still open and deletes the sounds still in the list.
    ~JC_SOUND_MANAGER();
    JC_SOUND_MANAGER(const JC_SOUND_MANAGER&) = delete;
    JC_SOUND_MANAGER& operator=(const JC_SOUND_MANAGER&) = delete;

    // Opens the default device, makes a context current and sets the listener: 1, or -1 when no
    // device (or no context) could be had.
    int OpenDevice();
    // Detaches every sound from OpenAL, makes no context current, destroys the context and closes
    // the device. The sounds stay in the list (their owners still release them).
    void CloseDevice();
    bool HasDevice();

    // A new sound over the bytes (which must outlive it), or null (bad data, no device).
    JC_SOUND* CreateSound(const void* data, uint32_t size, int bufferCount, bool whole);
    // Stops and destroys the sound: 1, or -1 when it is not in the list.
    int ReleaseSound(JC_SOUND* sound);

    size_t SoundCount();
    // One tick of every sound in list order, under the sound lock, each told the time since the
    // previous tick by the time source; false when there is no device or no sound.
    bool UpdateSounds();

    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    // The game places no sound in space: the listener stands at the origin facing -z with +y up,
    // and every source sits on it (relative, at offset 0) with no distance attenuation.
    float listenerPosition[3] = {0.0f, 0.0f, 0.0f};
    float listenerVelocity[3] = {0.0f, 0.0f, 0.0f};
    float listenerOrientation[6] = {0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f};
    ALCenum lastError = ALC_NO_ERROR;
    std::vector<JC_SOUND*> sounds;

private:
    // The time source's milliseconds at the previous tick that updated sounds, when there was one.
    uint32_t lastTickMs_ = 0;
    bool ticked_ = false;
};

extern JC_SOUND_MANAGER* g_soundManager;

}  // namespace QRV
