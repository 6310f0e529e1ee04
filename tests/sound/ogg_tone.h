#pragma once
// Test data: sine tones encoded as Ogg Vorbis in memory with libvorbisenc.

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace QRV::Test {

// `seconds` of a sine at `frequency` Hz and `amplitude` (0..1) on every channel. Empty on failure.
inline std::vector<uint8_t> EncodeToneOgg(int channels, int rate, double seconds,
                                          double frequency = 440.0, float amplitude = 0.5f) {
    std::vector<uint8_t> out;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.3f) != 0) {
        vorbis_info_clear(&info);
        return out;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);

    auto append = [&out](const ogg_page& page) {
        out.insert(out.end(), page.header, page.header + page.header_len);
        out.insert(out.end(), page.body, page.body + page.body_len);
    };

    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) append(page);

    const long total = std::lround(seconds * rate);
    const double step = 2.0 * 3.14159265358979323846 * frequency / rate;
    long written = 0;
    bool ended = false;
    while (!ended) {
        const long chunk = std::min<long>(1024, total - written);
        if (chunk > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(chunk));
            for (long i = 0; i < chunk; ++i) {
                const float sample = amplitude * static_cast<float>(std::sin(step * static_cast<double>(written + i)));
                for (int c = 0; c < channels; ++c) buffer[c][i] = sample;
            }
            vorbis_analysis_wrote(&dsp, static_cast<int>(chunk));
            written += chunk;
        } else {
            vorbis_analysis_wrote(&dsp, 0);  // end of stream
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    append(page);
                    if (ogg_page_eos(&page)) ended = true;
                }
            }
        }
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

}  // namespace QRV::Test
