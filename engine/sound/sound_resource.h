#pragma once
// Sounds made from resource records.

#include "engine/resources/resource.h"

namespace QRV {

class JC_SOUND;

// The record's sound: the object at once when it is loaded as a sound, null when the record holds
// another kind, there is no sound manager or the bytes are no playable Ogg Vorbis. whole: decode
// the sound into one buffer instead of streaming it. Counts no reference.
JC_SOUND* GetResourceSound(JS_RESOURCE* record, int bufferCount, bool whole);

}  // namespace QRV
