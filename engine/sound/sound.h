#pragma once
// One sound: Ogg Vorbis bytes in memory, decoded whole into one OpenAL buffer or streamed through
// two buffers that the sound thread refills.

#include <AL/al.h>
#include <AL/alc.h>

#include <cstddef>
#include <cstdint>
#include <vector>

struct OggVorbis_File;
struct vorbis_comment;
struct vorbis_info;

namespace QRV {

class JC_SOUND {
public:
    // Size of each streaming buffer in bytes.
    static constexpr int32_t kStreamBufferBytes = 48000;

    JC_SOUND();
    // Stops the sound and frees its stream, decoding buffer and OpenAL objects. The Ogg bytes are
    // not freed: they belong to whoever handed them in (the resource record).
    ~JC_SOUND();
    JC_SOUND(const JC_SOUND&) = delete;
    JC_SOUND& operator=(const JC_SOUND&) = delete;

    // Opens the stream over the bytes (which must outlive the sound); 1, or -112 when the data is
    // not a mono or stereo Ogg Vorbis stream of known length.
    int Init(const void* bytes, uint32_t size, int bufferCount, bool decodeWhole);

    // Starts the sound from where its stream stands. True when it was already playing, else false;
    // a sound that finds no free source (or no device) stays stopped, so a later play retries.
    bool Play();
    // Stops, deletes the source (and the streaming buffers) and rewinds the stream.
    void Stop();
    // A source exists, the sound is marked playing and the source state is AL_PLAYING.
    bool IsPlaying();
    // One tick of the sound thread; `elapsed` is the seconds since its previous tick. A deferred
    // start counts down by it.
    void Update(float elapsed);

    // OpenAL gain 0..1 (clamped), applied to the source now and to every source made later.
    void SetGain(float gain);
    float Gain();
    // Length of the stream in seconds.
    double TotalTime() const;
    // The source name, 0 when none.
    ALuint Source();

    // Stops the sound and deletes every OpenAL object it holds, then forgets its context, so that
    // the device can be closed while the sound object lives on (plays then do nothing).
    void DetachFromDevice();

    int32_t bufferBytes = 0;
    OggVorbis_File* stream = nullptr;
    int32_t bufferCountSetting = 1;
    std::vector<char> decodeBuffer;
    float playTime = 0.0f;
    vorbis_comment* comment = nullptr;
    vorbis_info* info = nullptr;
    // The memory source of the stream.
    const uint8_t* data = nullptr;
    size_t dataSize = 0;
    size_t readPos = 0;
    // The stream's layout; OpenAL is handed mono as two equal channels.
    ALenum format = 0;
    ALuint source = 0;
    ALuint buffers[2] = {0, 0};
    int32_t rate = 0;
    uint8_t whole = 0;
    uint8_t playing = 0;
    uint8_t looping = 0;
    float delay = 0.0f;
    ALCcontext* context = nullptr;

private:
    // Decodes into the decoding buffer and hands it to the buffer: bytes (0 at the end of the
    // stream), or a negative vorbisfile error.
    long FillBuffer(ALuint buffer);
    // Hands the first `bytes` of the decoding buffer to the OpenAL buffer, always as stereo.
    void HandToOpenAL(ALuint buffer, long bytes);
    void Rewind();
    // Frees the decoder (a whole sound's once its samples are in OpenAL).
    void CloseStream();
    void DeleteSource();
    void DeleteBuffers();

    std::vector<char> stereoBuffer_;  // mono PCM with each sample doubled
    float gain_ = 1.0f;
    bool draining_ = false;
    bool streamOpen_ = false;
    double totalTime_ = 0.0;
};

}  // namespace QRV
