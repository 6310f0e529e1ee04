#include "tools/content_builder/ogg_vorbis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include <vorbis/codec.h>
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

namespace ContentBuilder {
namespace {

void AppendPage(std::vector<uint8_t>& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

struct MemorySource {
    std::span<const uint8_t> bytes;
    size_t pos = 0;
};

size_t ReadMemory(void* dst, size_t size, size_t count, void* source) {
    auto* m = static_cast<MemorySource*>(source);
    const size_t n = std::min(size * count, m->bytes.size() - std::min(m->pos, m->bytes.size()));
    if (n > 0) std::memcpy(dst, m->bytes.data() + m->pos, n);
    m->pos += n;
    return size == 0 ? 0 : n / size;
}

int SeekMemory(void* source, ogg_int64_t offset, int whence) {
    auto* m = static_cast<MemorySource*>(source);
    ogg_int64_t base = 0;
    if (whence == SEEK_CUR) base = static_cast<ogg_int64_t>(m->pos);
    else if (whence == SEEK_END) base = static_cast<ogg_int64_t>(m->bytes.size());
    else if (whence != SEEK_SET) return -1;
    if (base + offset < 0) return -1;
    m->pos = static_cast<size_t>(base + offset);
    return 0;
}

long TellMemory(void* source) { return static_cast<long>(static_cast<MemorySource*>(source)->pos); }

}  // namespace

std::vector<uint8_t> EncodeOggVorbis(std::span<const float> interleaved, int channels, int rate, float quality,
                                     uint32_t serial) {
    if (channels < 1) throw std::invalid_argument("a sound needs at least one channel");
    if (interleaved.size() % static_cast<size_t>(channels) != 0) throw std::invalid_argument("ragged sample data");
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
        vorbis_info_clear(&info);
        throw std::runtime_error("vorbis encoder rejected the settings");
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, static_cast<int>(serial & 0x7FFFFFFF));

    std::vector<uint8_t> out;
    ogg_page page;
    ogg_packet packet;
    {
        ogg_packet header, headerComment, headerCode;
        vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
        ogg_stream_packetin(&stream, &header);
        ogg_stream_packetin(&stream, &headerComment);
        ogg_stream_packetin(&stream, &headerCode);
        // The audio starts on a fresh page, as the Vorbis format requires after the header packets.
        while (ogg_stream_flush(&stream, &page) != 0) AppendPage(out, page);
    }

    auto drain = [&] {
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) AppendPage(out, page);
            }
        }
    };

    const size_t frames = interleaved.size() / static_cast<size_t>(channels);
    constexpr size_t kChunk = 4096;
    for (size_t done = 0; done < frames; done += kChunk) {
        const size_t n = std::min(kChunk, frames - done);
        float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
        for (size_t i = 0; i < n; ++i)
            for (int c = 0; c < channels; ++c) buffer[c][i] = interleaved[(done + i) * channels + c];
        vorbis_analysis_wrote(&dsp, static_cast<int>(n));
        drain();
    }
    vorbis_analysis_wrote(&dsp, 0);
    drain();
    while (ogg_stream_flush(&stream, &page) != 0) AppendPage(out, page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

DecodedOgg DecodeOggVorbis(std::span<const uint8_t> bytes) {
    MemorySource source{bytes, 0};
    OggVorbis_File file;
    const ov_callbacks callbacks{ReadMemory, SeekMemory, nullptr, TellMemory};
    if (ov_open_callbacks(&source, &file, nullptr, 0, callbacks) != 0)
        throw std::runtime_error("not an Ogg Vorbis stream");
    DecodedOgg result;
    const vorbis_info* info = ov_info(&file, -1);
    result.channels = info->channels;
    result.rate = info->rate;
    result.frames = ov_pcm_total(&file, -1);
    char buffer[8192];
    int section = 0;
    int peak = 0;
    int64_t samples = 0;
    for (;;) {
        const long n = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &section);
        if (n == 0) break;
        if (n < 0) {
            ov_clear(&file);
            throw std::runtime_error("Ogg Vorbis stream does not decode");
        }
        for (long i = 0; i + 1 < n; i += 2) {
            const auto lo = static_cast<uint8_t>(buffer[i]), hi = static_cast<uint8_t>(buffer[i + 1]);
            const auto v = static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8)));
            peak = std::max(peak, std::abs(static_cast<int>(v)));
        }
        samples += n / 2;
    }
    result.decodedFrames = result.channels > 0 ? samples / result.channels : 0;
    result.peak = static_cast<float>(peak) / 32767.0f;
    ov_clear(&file);
    return result;
}

}  // namespace ContentBuilder
