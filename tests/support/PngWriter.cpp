#include "PngWriter.h"

#include "Image.h"

bool WritePngRgba(const std::string& path, int width, int height, const std::vector<Rgba>& pixels) {
    Image image(width, height);
    for (int i = 0; i < width * height; ++i) {
        image.At(i % width, i / width) =
            Rgb(pixels[i].r, pixels[i].g, pixels[i].b, pixels[i].a / 255.0);
    }
    return image.SavePng(path, true);
}

bool WriteSolidPng(const std::string& path, int width, int height, Rgba colour) {
    return WritePngRgba(path, width, height,
                        std::vector<Rgba>(static_cast<size_t>(width) * height, colour));
}
