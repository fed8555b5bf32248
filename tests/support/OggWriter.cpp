#include "OggWriter.h"

#include "TestWindow.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

const double kTwoPi = 6.283185307179586;
const int kRate = 44100;
const int kChannels = 2;
const float kQuality = 0.4f;
const int kFramesPerWrite = 1024;

void AppendPage(std::string& out, const ogg_page& page) {
    out.append(reinterpret_cast<const char*>(page.header), page.header_len);
    out.append(reinterpret_cast<const char*>(page.body), page.body_len);
}

void AppendField(std::string& out, const std::string& text, size_t width) {
    std::string field = text.substr(0, width);
    field.resize(width, '\0');
    out += field;
}

}  // namespace

std::string MakeToneOgg(double frequency, double seconds, float level) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, kChannels, kRate, kQuality) != 0) {
        vorbis_info_clear(&info);
        return std::string();
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);

    std::string out;
    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) {
        AppendPage(out, page);
    }

    // Each analysed block becomes packets, and full packets become pages.
    auto drainEncoder = [&]() {
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    AppendPage(out, page);
                }
            }
        }
    };
    const long totalFrames = static_cast<long>(seconds * kRate);
    for (long written = 0; written < totalFrames;) {
        const long count = std::min<long>(kFramesPerWrite, totalFrames - written);
        float** buffer = vorbis_analysis_buffer(&dsp, count);
        for (long i = 0; i < count; ++i) {
            const double phase = kTwoPi * frequency * static_cast<double>(written + i) / kRate;
            for (int c = 0; c < kChannels; ++c) {
                buffer[c][i] = level * static_cast<float>(sin(phase));
            }
        }
        vorbis_analysis_wrote(&dsp, count);
        written += count;
        drainEncoder();
    }
    vorbis_analysis_wrote(&dsp, 0);  // marks the end of the stream
    drainEncoder();
    while (ogg_stream_flush(&stream, &page) != 0) {
        AppendPage(out, page);
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

bool WriteToneOgg(const std::string& path, double frequency, double seconds, float level) {
    const std::string ogg = MakeToneOgg(frequency, seconds, level);
    return !ogg.empty() && WriteFileBytes(path, ogg);
}

std::string MakeId3v1Block(const std::string& title, const std::string& artist,
                           const std::string& album, const std::string& year,
                           const std::string& comment, unsigned char genre) {
    std::string block = "TAG";
    AppendField(block, title, 30);
    AppendField(block, artist, 30);
    AppendField(block, album, 30);
    AppendField(block, year, 4);
    AppendField(block, comment, 30);
    block.push_back(static_cast<char>(genre));
    return block;
}
