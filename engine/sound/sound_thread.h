#pragma once
// The sound thread: refills streamed sounds every 10 ms until asked to stop.

#include <cstdint>

namespace QRV {

struct JS_THREAD;

// Runs until self->stopRequested; each 10 ms it updates every sound under the sound lock when the
// sound manager has a device and at least one sound. Returns 0.
int SoundStreamThread(JS_THREAD* self, uintptr_t argument);

}  // namespace QRV
