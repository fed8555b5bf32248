#include "PngWriter.h"

#include <zlib.h>

#include <cstdio>

namespace {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0xFFFFFFFFu) {
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return crc;
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    PutU32(out, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutU32(out, Crc32(body.data(), body.size()) ^ 0xFFFFFFFFu);
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& raw) {
    uLongf size = compressBound(raw.size());
    std::vector<uint8_t> out(size);
    if (compress2(out.data(), &size, raw.data(), raw.size(), Z_BEST_SPEED) != Z_OK) {
        return {};
    }
    out.resize(size);
    return out;
}

bool WritePng(const std::string& path, int width, int height, uint8_t colourType,
              int bytesPerPixel, const std::vector<uint8_t>& pixelBytes,
              const std::vector<std::vector<uint8_t>>& extraChunks,
              const std::vector<const char*>& extraTypes) {
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> header;
    PutU32(header, width);
    PutU32(header, height);
    header.push_back(8);
    header.push_back(colourType);
    header.push_back(0);
    header.push_back(0);
    header.push_back(0);
    PutChunk(png, "IHDR", header);
    for (size_t i = 0; i < extraChunks.size(); ++i) {
        PutChunk(png, extraTypes[i], extraChunks[i]);
    }
    std::vector<uint8_t> raw;
    const size_t rowBytes = static_cast<size_t>(width) * bytesPerPixel;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // filter: none
        raw.insert(raw.end(), pixelBytes.begin() + y * rowBytes,
                   pixelBytes.begin() + (y + 1) * rowBytes);
    }
    PutChunk(png, "IDAT", Deflate(raw));
    PutChunk(png, "IEND", {});
    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool ok = fwrite(png.data(), 1, png.size(), file) == png.size();
    return fclose(file) == 0 && ok;
}

}  // namespace

bool WritePngRgba(const std::string& path, int width, int height,
                  const std::vector<Rgba>& pixels) {
    std::vector<uint8_t> bytes;
    for (const Rgba& p : pixels) {
        bytes.insert(bytes.end(), {p.r, p.g, p.b, p.a});
    }
    return WritePng(path, width, height, 6, 4, bytes, {}, {});
}

bool WritePngRgb(const std::string& path, int width, int height, const std::vector<Rgba>& pixels) {
    std::vector<uint8_t> bytes;
    for (const Rgba& p : pixels) {
        bytes.insert(bytes.end(), {p.r, p.g, p.b});
    }
    return WritePng(path, width, height, 2, 3, bytes, {}, {});
}

bool WritePngPalette(const std::string& path, int width, int height,
                     const std::vector<uint8_t>& indices, const std::vector<Rgba>& palette,
                     int transparentIndex) {
    std::vector<uint8_t> plte;
    std::vector<uint8_t> trns;
    for (size_t i = 0; i < palette.size(); ++i) {
        plte.insert(plte.end(), {palette[i].r, palette[i].g, palette[i].b});
        trns.push_back(static_cast<int>(i) == transparentIndex ? 0 : 255);
    }
    return WritePng(path, width, height, 3, 1, indices, {plte, trns}, {"PLTE", "tRNS"});
}

bool WriteSolidPng(const std::string& path, int width, int height, Rgba colour) {
    return WritePngRgba(path, width, height,
                        std::vector<Rgba>(static_cast<size_t>(width) * height, colour));
}
