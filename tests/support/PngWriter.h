// Test images, written as PNG files by the asset generator's own writer.
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
// A width x height image of one colour.
bool WriteSolidPng(const std::string& path, int width, int height, Rgba colour);

#endif
