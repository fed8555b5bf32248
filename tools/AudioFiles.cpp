#include "AudioFiles.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

void PutLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

bool WriteAll(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (f == nullptr) {
        fprintf(stderr, "zibo-assets: cannot write %s\n", path.c_str());
        return false;
    }
    const bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

const uint32_t kOggSerial = 0x5A1B0001;  // fixed, so the file is the same on every run

}  // namespace

bool WriteWav(const std::string& path, const std::vector<double>& samples) {
    const uint32_t rate = 44100, channels = 1, bits = 16;
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::string out;
    out += "RIFF";
    PutLe(out, 36 + dataBytes, 4);
    out += "WAVE";
    out += "fmt ";
    PutLe(out, 16, 4);
    PutLe(out, 1, 2);  // PCM
    PutLe(out, channels, 2);
    PutLe(out, rate, 4);
    PutLe(out, rate * channels * bits / 8, 4);
    PutLe(out, channels * bits / 8, 2);
    PutLe(out, bits, 2);
    out += "data";
    PutLe(out, dataBytes, 4);
    for (double s : samples) {
        const long v = std::lround(std::max(-1.0, std::min(1.0, s)) * 32767.0);
        PutLe(out,
              static_cast<uint32_t>(static_cast<int16_t>(std::max(-32767L, std::min(32767L, v)))),
              2);
    }
    return WriteAll(path, out);
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

bool WriteOggVorbis(const std::string& path, const std::vector<float>& left,
                    const std::vector<float>& right, double quality, const Id3v1Tag& tag) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, 2, 44100, static_cast<float>(quality)) != 0) {
        vorbis_info_clear(&vi);
        fprintf(stderr, "zibo-assets: the Vorbis encoder refused its settings\n");
        return false;
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
    const size_t chunk = 4096;
    size_t done = 0;
    bool ended = false;
    while (!ended) {
        const size_t n = std::min(chunk, frames - done);
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

    out += MakeId3v1Block(tag);
    return WriteAll(path, out);
}
