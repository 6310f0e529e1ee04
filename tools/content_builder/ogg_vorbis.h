// Ogg Vorbis encoding of synthesised audio (libvorbisenc) and a decode check (libvorbisfile) so a
// broken or clipping file fails the build instead of reaching the game.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace ContentBuilder {

// Encodes interleaved float samples (-1..1) of any number of channels as Ogg Vorbis (the game
// plays mono and stereo only: the sound content keeps to those). The stream serial is fixed by
// the caller, so the same input always gives the same bytes.
std::vector<uint8_t> EncodeOggVorbis(std::span<const float> interleaved, int channels, int rate, float quality,
                                     uint32_t serial);

struct DecodedOgg {
    int channels = 0;
    long rate = 0;
    int64_t frames = 0;         // PCM frames reported by the stream (ov_pcm_total)
    int64_t decodedFrames = 0;  // frames actually decoded
    float peak = 0.0f;          // largest decoded magnitude, as a fraction of 16-bit full scale
};

// Decodes the whole file from memory as 16-bit PCM (as the game does). Throws on a stream that
// does not open or decode.
DecodedOgg DecodeOggVorbis(std::span<const uint8_t> bytes);

}  // namespace ContentBuilder
