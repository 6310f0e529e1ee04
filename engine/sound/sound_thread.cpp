#include "engine/sound/sound_thread.h"

#include <chrono>
#include <thread>

#include "engine/platform/thread.h"
#include "engine/sound/sound_manager.h"

namespace QRV {

int SoundStreamThread(JS_THREAD* self, uintptr_t argument) {
    // The argument may name a manager of its own; 0 means the engine's.
    auto* manager = argument != 0 ? reinterpret_cast<JC_SOUND_MANAGER*>(argument) : g_soundManager;
    while (!self->stopRequested.load()) {
        if (manager != nullptr) manager->UpdateSounds();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
}

}  // namespace QRV
