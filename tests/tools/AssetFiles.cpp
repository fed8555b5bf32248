#include "AssetFiles.h"

#include "RgbaTexture.h"
#include "TestWindow.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>

std::vector<std::string> CatalogueImages() {
    std::vector<std::string> files;
#define ZIBO_IMAGE(file, width, height, field, art) files.push_back(file);
#include "AssetManifest.def"
    return files;
}

std::vector<std::string> CatalogueSamples() {
    std::vector<std::string> files;
#define ZIBO_SAMPLE(file, field, sound) files.push_back(file);
#include "AssetManifest.def"
    return files;
}

std::vector<std::string> AllCatalogueFiles() {
    std::vector<std::string> files = CatalogueImages();
    files.push_back(kFontImage);
    files.push_back(kFontDefinition);
    const std::vector<std::string> samples = CatalogueSamples();
    files.insert(files.end(), samples.begin(), samples.end());
    files.push_back(kMusicTrack);
    return files;
}

LoadedImage LoadImageRgba(const std::string& path) {
    LoadedImage result;
    SDL_Surface* image = IMG_Load(path.c_str());
    if (image == nullptr) {
        return result;
    }
    SDL_Surface* rgba = CreateRgbaCopy(image);
    SDL_FreeSurface(image);
    if (rgba == nullptr) {
        return result;
    }
    result.width = rgba->w;
    result.height = rgba->h;
    result.pixels.resize(static_cast<size_t>(rgba->w) * rgba->h);
    SDL_LockSurface(rgba);
    for (int y = 0; y < rgba->h; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(rgba->pixels) + y * rgba->pitch;
        for (int x = 0; x < rgba->w; ++x) {
            result.pixels[static_cast<size_t>(y) * rgba->w + x] =
                Rgba{row[x * 4], row[x * 4 + 1], row[x * 4 + 2], row[x * 4 + 3]};
        }
    }
    SDL_UnlockSurface(rgba);
    SDL_FreeSurface(rgba);
    return result;
}

namespace {
uint32_t Le(const std::string& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | static_cast<uint8_t>(b[at + i]);
    }
    return v;
}
}  // namespace

WavInfo ReadWav(const std::string& path) {
    WavInfo info;
    const std::string b = ReadFileBytes(path);
    if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) {
        return info;
    }
    size_t at = 12;
    bool haveFormat = false;
    while (at + 8 <= b.size()) {
        const std::string id = b.substr(at, 4);
        const uint32_t size = Le(b, at + 4, 4);
        const size_t body = at + 8;
        if (body + size > b.size()) {
            return info;
        }
        if (id == "fmt ") {
            info.format = static_cast<int>(Le(b, body, 2));
            info.channels = static_cast<int>(Le(b, body + 2, 2));
            info.rate = static_cast<int>(Le(b, body + 4, 4));
            info.bits = static_cast<int>(Le(b, body + 14, 2));
            haveFormat = true;
        } else if (id == "data" && haveFormat && info.bits == 16) {
            info.samples.resize(size / 2);
            memcpy(info.samples.data(), b.data() + body, info.samples.size() * 2);
            info.ok = true;
        }
        at = body + size + (size & 1);
    }
    return info;
}

int64_t LastOggGranule(const std::string& bytes) {
    for (size_t at = bytes.size() >= 4 ? bytes.size() - 4 : 0; at > 0; --at) {
        if (bytes.compare(at, 4, "OggS") == 0 && at + 14 <= bytes.size()) {
            int64_t g = 0;
            for (int i = 7; i >= 0; --i) {
                g = (g << 8) | static_cast<uint8_t>(bytes[at + 6 + i]);
            }
            return g;
        }
    }
    return -1;
}
