#include "AudioFiles.h"

#include "OutputFile.h"
#include "Synth.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// RIFF's numbers are little-endian.
void PutLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}
void PutLe16(std::string& out, uint32_t value) {
    PutLe(out, value, 2);
}
void PutLe32(std::string& out, uint32_t value) {
    PutLe(out, value, 4);
}

// A RIFF chunk: its four-letter id, the size of its body, the body. Every body
// here has an even size, so no chunk needs RIFF's pad byte.
std::string RiffChunk(const char* id, const std::string& body) {
    std::string chunk = id;
    PutLe32(chunk, static_cast<uint32_t>(body.size()));
    return chunk + body;
}

// The sound effects' format: 16-bit mono PCM.
const uint32_t kWavPcmFormat = 1;
const uint32_t kWavChannels = 1;
const uint32_t kWavBitsPerSample = 16;
const uint32_t kWavFrameBytes = kWavChannels * kWavBitsPerSample / 8;
// 16-bit full scale, the same both ways so that the waveform stays symmetric
const long kWavFullScale = 32767;

const int kVorbisChannels = 2;
const uint32_t kOggSerial = 0x5A1B0001;  // fixed, so the file is the same on every run

}  // namespace

bool WriteWav(const std::string& path, const std::vector<double>& samples) {
    std::string format;
    PutLe16(format, kWavPcmFormat);
    PutLe16(format, kWavChannels);
    PutLe32(format, kSampleRate);
    PutLe32(format, kSampleRate * kWavFrameBytes);  // bytes a second
    PutLe16(format, kWavFrameBytes);
    PutLe16(format, kWavBitsPerSample);
    std::string data;
    data.reserve(samples.size() * kWavFrameBytes);
    for (double s : samples) {
        const long v = std::lround(std::max(-1.0, std::min(1.0, s)) * kWavFullScale);
        PutLe16(data, static_cast<uint32_t>(static_cast<int16_t>(
                          std::max(-kWavFullScale, std::min(kWavFullScale, v)))));
    }
    return WriteOutputFile(
        path, RiffChunk("RIFF", "WAVE" + RiffChunk("fmt ", format) + RiffChunk("data", data)));
}

std::string MakeId3v1Block(const Id3v1Tag& tag) {
    std::string block(kId3v1TagSize, '\0');
    memcpy(&block[0], kId3v1Marker, kId3v1MarkerSize);
    auto put = [&](Id3v1Field field, const std::string& text) {
        memcpy(&block[field.offset], text.data(), std::min(field.width, text.size()));
    };
    put(kId3v1Title, tag.title);
    put(kId3v1Artist, tag.artist);
    put(kId3v1Album, tag.album);
    put(kId3v1Year, tag.year);
    put(kId3v1Comment, tag.comment);
    block[kId3v1GenreOffset] = static_cast<char>(tag.genre);
    return block;
}

std::string EncodeOggVorbis(const std::vector<float>& left, const std::vector<float>& right,
                            double quality, const Id3v1Tag& tag) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, kVorbisChannels, kSampleRate, static_cast<float>(quality)) !=
        0) {
        vorbis_info_clear(&vi);
        fprintf(stderr, "zibo-assets: the Vorbis encoder refused its settings\n");
        return "";
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "TITLE", tag.title.c_str());
    vorbis_comment_add_tag(&vc, "ARTIST", tag.artist.c_str());
    vorbis_comment_add_tag(&vc, "ALBUM", tag.album.c_str());
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, static_cast<int>(kOggSerial));

    std::string out;
    auto takePage = [&](const ogg_page& page) {
        out.append(reinterpret_cast<const char*>(page.header), page.header_len);
        out.append(reinterpret_cast<const char*>(page.body), page.body_len);
    };
    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&os, &page) != 0) {
        takePage(page);
    }

    const size_t frames = std::min(left.size(), right.size());
    const size_t kFramesPerBuffer = 4096;  // handed to the encoder at a time
    size_t done = 0;
    bool ended = false;
    while (!ended) {
        const size_t n = std::min(kFramesPerBuffer, frames - done);
        if (n == 0) {
            vorbis_analysis_wrote(&vd, 0);
        } else {
            float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
            std::copy(left.begin() + done, left.begin() + done + n, buffer[0]);
            std::copy(right.begin() + done, right.begin() + done + n, buffer[1]);
            vorbis_analysis_wrote(&vd, static_cast<int>(n));
            done += n;
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet) != 0) {
                ogg_stream_packetin(&os, &packet);
                while (ogg_stream_pageout(&os, &page) != 0) {
                    takePage(page);
                    if (ogg_page_eos(&page)) {
                        ended = true;
                    }
                }
            }
        }
        if (n == 0) {
            // everything has been handed over; flush what is left
            while (ogg_stream_flush(&os, &page) != 0) {
                takePage(page);
            }
            ended = true;
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

bool WriteOggVorbis(const std::string& path, const std::vector<float>& left,
                    const std::vector<float>& right, double quality, const Id3v1Tag& tag) {
    const std::string stream = EncodeOggVorbis(left, right, quality, tag);
    return !stream.empty() && WriteOutputFile(path, stream + MakeId3v1Block(tag));
}
