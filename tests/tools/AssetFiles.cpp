#include "AssetFiles.h"

#include "RgbaTexture.h"

#include <SDL_image.h>

#include <cstring>

Picture LoadImageRgba(const std::string& path) {
    Picture result;
    SDL_Surface* image = IMG_Load(path.c_str());
    SDL_Surface* rgba = image != nullptr ? CreateRgbaCopy(image) : nullptr;
    if (rgba != nullptr) {
        result.width = rgba->w;
        result.height = rgba->h;
        result.pixels.resize(static_cast<size_t>(rgba->w) * rgba->h);
        for (int y = 0; y < rgba->h; ++y) {
            memcpy(&result.pixels[static_cast<size_t>(y) * rgba->w],
                   static_cast<const uint8_t*>(rgba->pixels) + y * rgba->pitch, rgba->w * 4);
        }
        SDL_FreeSurface(rgba);
    }
    SDL_FreeSurface(image);
    return result;
}
