// Test images written with libpng, in exactly the pixel formats the tests
// need, palette images with a transparent entry among them.
#ifndef ZIBO_TESTS_PNG_WRITER_H
#define ZIBO_TESTS_PNG_WRITER_H

#include <cstdint>
#include <string>
#include <vector>

struct Rgba {
    uint8_t r, g, b, a;
};

// Pixels row by row from the top, width * height entries.
bool WritePngRgba(const std::string& path, int width, int height, const std::vector<Rgba>& pixels);
// Alpha of the pixels is dropped: a PNG without an alpha channel.
bool WritePngRgb(const std::string& path, int width, int height, const std::vector<Rgba>& pixels);
// Palette image; palette entry transparentIndex is marked fully transparent.
bool WritePngPalette(const std::string& path, int width, int height,
                     const std::vector<uint8_t>& indices, const std::vector<Rgba>& palette,
                     int transparentIndex);
// A width x height image of one colour.
bool WriteSolidPng(const std::string& path, int width, int height, Rgba colour);

#endif
