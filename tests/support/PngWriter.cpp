#include "PngWriter.h"

#include <png.h>

#include <cstdio>

namespace {
// Writes rows of bytes in the given colour type through libpng; palette
// images bring their palette and transparency entries.
bool WritePng(const std::string& path, int width, int height, int colourType, int bytesPerPixel,
              const std::vector<uint8_t>& bytes, const std::vector<png_color>& palette = {},
              const std::vector<png_byte>& paletteAlpha = {}) {
    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool written = false;
    // libpng reports its errors by jumping back here.
    if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, width, height, 8, colourType, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        if (!palette.empty()) {
            png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
            png_set_tRNS(png, info, paletteAlpha.data(), static_cast<int>(paletteAlpha.size()),
                         nullptr);
        }
        png_write_info(png, info);
        for (int y = 0; y < height; ++y) {
            png_write_row(png, &bytes[static_cast<size_t>(y) * width * bytesPerPixel]);
        }
        png_write_end(png, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    return fclose(file) == 0 && written;
}
}  // namespace

bool WritePngRgba(const std::string& path, int width, int height, const std::vector<Rgba>& pixels) {
    std::vector<uint8_t> bytes;
    for (const Rgba& p : pixels) {
        bytes.insert(bytes.end(), {p.r, p.g, p.b, p.a});
    }
    return WritePng(path, width, height, PNG_COLOR_TYPE_RGBA, 4, bytes);
}

bool WritePngRgb(const std::string& path, int width, int height, const std::vector<Rgba>& pixels) {
    std::vector<uint8_t> bytes;
    for (const Rgba& p : pixels) {
        bytes.insert(bytes.end(), {p.r, p.g, p.b});
    }
    return WritePng(path, width, height, PNG_COLOR_TYPE_RGB, 3, bytes);
}

bool WritePngPalette(const std::string& path, int width, int height,
                     const std::vector<uint8_t>& indices, const std::vector<Rgba>& palette,
                     int transparentIndex) {
    std::vector<png_color> colours;
    std::vector<png_byte> alpha;
    for (size_t i = 0; i < palette.size(); ++i) {
        colours.push_back({palette[i].r, palette[i].g, palette[i].b});
        alpha.push_back(static_cast<int>(i) == transparentIndex ? 0 : 255);
    }
    return WritePng(path, width, height, PNG_COLOR_TYPE_PALETTE, 1, indices, colours, alpha);
}

bool WriteSolidPng(const std::string& path, int width, int height, Rgba colour) {
    return WritePngRgba(path, width, height,
                        std::vector<Rgba>(static_cast<size_t>(width) * height, colour));
}
