#pragma once
// One named sound of a sound group, as the catalogue describes it.

#include <cstdint>
#include <string>

namespace QRV {
class JC_SOUND;
}

struct JCSoundEntry {
    std::string name;
    std::string path;      // resource key of the Ogg Vorbis file
    uint8_t looped = 0;    // kept with the entry; playback does not use it
    uint8_t streamed = 0;  // the catalogue's "streamed": true decodes the file whole
    int32_t cntBuffers = 0;
    QRV::JC_SOUND* sound = nullptr;  // belongs to its resource record; null until loaded
};
