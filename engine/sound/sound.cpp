#include "engine/sound/sound.h"

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "engine/core/result_codes.h"
#include "engine/sound/sound_lock.h"

namespace QRV {
namespace {

// A whole sound larger than this once decoded (in two channels, as OpenAL gets it) is refused: the
// length comes from the file.
constexpr int64_t kMaxWholeBytes = int64_t{256} * 1024 * 1024;
// Consecutive holes tolerated in one refill before the data counts as broken.
constexpr int kMaxHoles = 64;
// A deferred start whose remaining delay is below half the time source's millisecond has run out:
// the float rounding of many small steps stays below it.
constexpr float kDelayResolution = 0.0005f;

// The stream reads from the sound's bytes in memory, like a file.
size_t MemoryRead(void* destination, size_t size, size_t count, void* source) {
    auto* sound = static_cast<JC_SOUND*>(source);
    if (size == 0 || count == 0 || sound->readPos >= sound->dataSize) return 0;
    const size_t left = sound->dataSize - sound->readPos;
    const size_t wanted = count > left / size ? left : size * count;
    const size_t n = std::min(wanted, left);
    std::memcpy(destination, sound->data + sound->readPos, n);
    sound->readPos += n;
    return n;
}

int MemorySeek(void* source, ogg_int64_t offset, int origin) {
    auto* sound = static_cast<JC_SOUND*>(source);
    int64_t base = 0;
    switch (origin) {
        case SEEK_SET: base = 0; break;
        case SEEK_CUR: base = static_cast<int64_t>(sound->readPos); break;
        case SEEK_END: base = static_cast<int64_t>(sound->dataSize); break;
        default: return -1;
    }
    int64_t position = 0;
    // Positions before the start are refused as fseek does; past the end reads give 0 bytes.
    if (__builtin_add_overflow(base, static_cast<int64_t>(offset), &position) || position < 0) {
        return -1;
    }
    sound->readPos = static_cast<size_t>(position);
    return 0;
}

int MemoryClose(void*) { return 0; }

long MemoryTell(void* source) {
    const auto* sound = static_cast<const JC_SOUND*>(source);
    return static_cast<long>(sound->readPos);
}

const ov_callbacks kMemoryCallbacks = {MemoryRead, MemorySeek, MemoryClose, MemoryTell};

// Decodes up to capacity bytes of 16-bit little-endian signed PCM: the byte count (0 at the end of
// the stream) or a negative vorbisfile error. Holes (recoverable gaps) are skipped.
long Decode(OggVorbis_File* stream, char* out, long capacity) {
    long filled = 0;
    int holes = 0;
    while (filled < capacity) {
        int bitstream = 0;
        const long n = ov_read(stream, out + filled, static_cast<int>(capacity - filled), 0, 2, 1, &bitstream);
        if (n == OV_HOLE && ++holes <= kMaxHoles) continue;
        if (n < 0) return n;
        if (n == 0) break;
        filled += n;
    }
    return filled;
}

}  // namespace

JC_SOUND::JC_SOUND() = default;

JC_SOUND::~JC_SOUND() {
    {
        JC_SOUND_LOCK lock;
        if (context != nullptr) {
            Stop();
            DeleteBuffers();
        }
    }
    CloseStream();
}

void JC_SOUND::CloseStream() {
    if (streamOpen_) ov_clear(stream);
    streamOpen_ = false;
    delete stream;
    stream = nullptr;
    // Both pointed into the decoder.
    info = nullptr;
    comment = nullptr;
}

int JC_SOUND::Init(const void* bytes, uint32_t size, int bufferCount, bool decodeWhole) {
    bufferCountSetting = bufferCount;
    whole = decodeWhole ? 1 : 0;
    data = static_cast<const uint8_t*>(bytes);
    dataSize = size;
    readPos = 0;
    if (data == nullptr || dataSize == 0) return RESULT::StartFailed;

    stream = new OggVorbis_File();
    if (ov_open_callbacks(this, stream, nullptr, 0, kMemoryCallbacks) < 0) return RESULT::StartFailed;
    streamOpen_ = true;

    comment = ov_comment(stream, -1);
    info = ov_info(stream, -1);
    if (info == nullptr || info->rate <= 0) return RESULT::StartFailed;
    // Only one or two 16-bit channels map onto OpenAL's formats.
    if (info->channels == 1) {
        format = AL_FORMAT_MONO16;
    } else if (info->channels == 2) {
        format = AL_FORMAT_STEREO16;
    } else {
        return RESULT::StartFailed;
    }
    rate = static_cast<int32_t>(info->rate);
    playTime = 0.0f;
    playing = 0;
    delay = 0.0f;

    const ogg_int64_t samples = ov_pcm_total(stream, -1);
    if (samples <= 0) return RESULT::StartFailed;
    totalTime_ = ov_time_total(stream, -1);

    if (whole) {
        if (static_cast<int64_t>(samples) * 4 > kMaxWholeBytes) return RESULT::StartFailed;
        bufferBytes = static_cast<int32_t>(static_cast<int64_t>(samples) * info->channels * 2);
    } else {
        bufferBytes = kStreamBufferBytes;
    }
    decodeBuffer.assign(static_cast<size_t>(bufferBytes), 0);

    // The whole decode needs no lock: nobody else knows the sound yet.
    long decoded = 0;
    if (whole) {
        decoded = Decode(stream, decodeBuffer.data(), bufferBytes);
        if (decoded <= 0) return RESULT::StartFailed;
    }

    JC_SOUND_LOCK lock;
    context = alcGetCurrentContext();
    if (context == nullptr) return RESULT::StartFailed;
    if (whole) {
        alGetError();
        alGenBuffers(2, buffers);
        if (alGetError() != AL_NO_ERROR) {
            buffers[0] = buffers[1] = 0;
            return RESULT::StartFailed;
        }
        HandToOpenAL(buffers[0], decoded);
        if (alGetError() != AL_NO_ERROR) return RESULT::StartFailed;
        // The PCM now lives in OpenAL; the copies here and the decoder are not needed again.
        decodeBuffer.clear();
        decodeBuffer.shrink_to_fit();
        stereoBuffer_.clear();
        stereoBuffer_.shrink_to_fit();
        CloseStream();
    }
    return 1;
}

bool JC_SOUND::Play() {
    JC_SOUND_LOCK lock;
    if (context == nullptr) return false;
    if (playing) return true;
    // No free source: the sound stays stopped so that a later play can try again.
    if (g_soundSourcesInUse.load() >= kMaxSoundSources) return false;

    alGetError();
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) {
        source = 0;
        return false;
    }
    g_soundSourcesInUse.fetch_add(1);
    playing = 1;
    playTime = 0.0f;
    draining_ = false;
    alSourcef(source, AL_GAIN, gain_);
    // Centred on the listener.
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);

    if (whole) {
        alSourcei(source, AL_BUFFER, static_cast<ALint>(buffers[0]));
    } else {
        alGenBuffers(2, buffers);
        if (alGetError() != AL_NO_ERROR) {
            buffers[0] = buffers[1] = 0;
            Stop();
            return false;
        }
        // Both buffers hold audio before they are queued: OpenAL refuses empty buffers.
        for (ALuint buffer : buffers) {
            const long n = FillBuffer(buffer);
            if (n > 0) {
                alSourceQueueBuffers(source, 1, &buffer);
            } else if (n == 0 && buffer != buffers[0]) {
                draining_ = true;  // the whole stream fits in the first buffer
            } else {
                Stop();
                return false;
            }
        }
    }
    if (alGetError() != AL_NO_ERROR) {
        Stop();
        return false;
    }
    alSourcePlay(source);
    if (alGetError() != AL_NO_ERROR) Stop();
    return false;
}

void JC_SOUND::Stop() {
    JC_SOUND_LOCK lock;
    if (context == nullptr || source == 0) return;
    Rewind();
    alSourceStop(source);
    DeleteSource();
    if (!whole) DeleteBuffers();
    playing = 0;
    alGetError();
}

bool JC_SOUND::IsPlaying() {
    JC_SOUND_LOCK lock;
    if (source == 0 || !playing) return false;
    ALint state = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

void JC_SOUND::Update(float elapsed) {
    JC_SOUND_LOCK lock;
    if (delay > 0.0f) {
        delay -= elapsed;
        if (delay <= kDelayResolution) {
            delay = 0.0f;
            Play();
        }
        return;
    }
    if (context == nullptr || source == 0 || !playing) return;

    ALint state = 0;
    if (whole) {
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING) {
            Stop();
            if (looping) Play();
        }
        return;
    }

    alGetError();
    if (draining_) {
        // The stream has ended: stop (and rewind) once the queued audio has played out.
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING) Stop();
        return;
    }

    // Every buffer played out since the last update is refilled: a late update (a busy machine)
    // may find both done.
    ALint processed = 0;
    alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
    for (; processed > 0 && !draining_; --processed) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source, 1, &buffer);
        long n = FillBuffer(buffer);
        if (n == 0 && looping) {
            Rewind();
            n = FillBuffer(buffer);
        }
        if (n > 0) {
            alSourceQueueBuffers(source, 1, &buffer);
        } else if (n == 0) {
            draining_ = true;
        } else {
            Stop();
            return;
        }
    }
    if (alGetError() != AL_NO_ERROR) {
        Stop();
        return;
    }
    // A source that ran dry before its refill stopped by itself: start it again.
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    if (state != AL_PLAYING) {
        ALint queued = 0;
        alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
        if (queued > 0) alSourcePlay(source);
        if (alGetError() != AL_NO_ERROR) {
            Stop();
            return;
        }
    }
    playTime += elapsed;
}

void JC_SOUND::SetGain(float value) {
    JC_SOUND_LOCK lock;
    gain_ = std::clamp(value, 0.0f, 1.0f);
    if (context != nullptr && source != 0) alSourcef(source, AL_GAIN, gain_);
}

float JC_SOUND::Gain() {
    JC_SOUND_LOCK lock;
    return gain_;
}

double JC_SOUND::TotalTime() const { return totalTime_; }

ALuint JC_SOUND::Source() {
    JC_SOUND_LOCK lock;
    return source;
}

void JC_SOUND::DetachFromDevice() {
    JC_SOUND_LOCK lock;
    if (context == nullptr) return;
    Stop();
    DeleteBuffers();
    context = nullptr;
}

long JC_SOUND::FillBuffer(ALuint buffer) {
    const long n = Decode(stream, decodeBuffer.data(), bufferBytes);
    if (n <= 0) return n;
    HandToOpenAL(buffer, n);
    return n;
}

void JC_SOUND::HandToOpenAL(ALuint buffer, long bytes) {
    if (format != AL_FORMAT_MONO16) {
        alBufferData(buffer, format, decodeBuffer.data(), static_cast<ALsizei>(bytes), rate);
        return;
    }
    // OpenAL pans a mono source by its renderer's own law, several dB below a stereo source of the
    // same samples (4.5 dB with OpenAL Soft 1.19). As two equal channels a mono sound plays
    // centred and exactly as loud as stereo.
    const size_t samples = static_cast<size_t>(bytes) / 2;
    stereoBuffer_.resize(samples * 4);
    for (size_t i = 0; i < samples; ++i) {
        std::memcpy(&stereoBuffer_[i * 4], &decodeBuffer[i * 2], 2);
        std::memcpy(&stereoBuffer_[i * 4 + 2], &decodeBuffer[i * 2], 2);
    }
    alBufferData(buffer, AL_FORMAT_STEREO16, stereoBuffer_.data(), static_cast<ALsizei>(samples * 4), rate);
}

void JC_SOUND::Rewind() {
    if (streamOpen_) ov_pcm_seek(stream, 0);
    draining_ = false;
}

void JC_SOUND::DeleteSource() {
    if (source == 0) return;
    alDeleteSources(1, &source);
    source = 0;
    // Never below zero, whatever the order of stops and releases.
    int32_t inUse = g_soundSourcesInUse.load();
    while (inUse > 0 && !g_soundSourcesInUse.compare_exchange_weak(inUse, inUse - 1)) {}
}

void JC_SOUND::DeleteBuffers() {
    for (ALuint& buffer : buffers) {
        if (buffer != 0) alDeleteBuffers(1, &buffer);
        buffer = 0;
    }
}

}  // namespace QRV
