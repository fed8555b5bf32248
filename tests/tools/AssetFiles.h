// Helpers for the asset tests: where the build put the generated files, and
// reading them back as the game would (SDL_image) or byte by byte.
#ifndef ZIBO_TESTS_TOOLS_ASSET_FILES_H
#define ZIBO_TESTS_TOOLS_ASSET_FILES_H

#include "PngWriter.h"

#include <cstdint>
#include <string>
#include <vector>

// The directory holding "sprites" and "sfx" as the build generated them.
inline std::string BuiltAssetDir() {
    return ZIBO_BUILD_DIR;
}
inline std::string BuiltAsset(const std::string& relative) {
    return BuiltAssetDir() + "/" + relative;
}

// The asset manifest's files, in the game's load order.
std::vector<std::string> CatalogueImages();
std::vector<std::string> CatalogueSamples();
// Every file of the catalogue: images, font pair, samples and the music.
std::vector<std::string> AllCatalogueFiles();

#define ZIBO_FONT(image, definition)      \
    const char* const kFontImage = image; \
    const char* const kFontDefinition = definition;
#define ZIBO_MUSIC(file, track, artist, title) \
    const char* const kMusicTrack = file;      \
    const char* const kMusicArtist = artist;   \
    const char* const kMusicTitle = title;
#include "AssetManifest.def"

// An image loaded with IMG_Load and converted to RGBA bytes the way the
// sprite store converts it; width 0 when it cannot be loaded.
struct LoadedImage {
    int width = 0, height = 0;
    std::vector<Rgba> pixels;
    const Rgba& At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
LoadedImage LoadImageRgba(const std::string& path);

// A PCM WAV file's format and samples (first channel).
struct WavInfo {
    bool ok = false;
    int format = 0, channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;  // all channels interleaved
    size_t Frames() const { return channels > 0 ? samples.size() / channels : 0; }
};
WavInfo ReadWav(const std::string& path);

// The last granule position of an Ogg stream: the number of PCM frames.
int64_t LastOggGranule(const std::string& bytes);

#endif
